# Thin wrapper over the CMake presets. `make run` and `make test` are the two
# commands of the README.

.PHONY: run test test-dev deps build-release build-dev asan fuzz bridge package package-check clean format

deps:
	@bash tools/install-deps.sh

build-release: deps
	cmake --preset release
	cmake --build --preset release

build-dev: deps
	cmake --preset dev
	cmake --build --preset dev

# Builds the program and runs it on the bundled sample data.
run: build-release
	@bash tools/demo.sh build/release

# Builds and runs every test, on the optimised build that `make run` and the
# Debian package use (the debug build's assertions run under `make asan`).
test: build-release
	ctest --preset release

# The same tests on the unoptimised debug build.
test-dev: build-dev
	ctest --preset dev

# The Debian package orvalle_<version>_amd64.deb in build/release, from the
# optimised build (nothing is rebuilt after `make test`).
package: build-release
	cmake --build --preset release --target package

# Installs the package (as root) and checks it: both programs, lintian,
# appstreamcli, desktop-file-validate.
package-check: package
	@bash tools/install-deps.sh package
	bash tools/check-package.sh build/release

# The same tests under AddressSanitizer and UndefinedBehaviorSanitizer.
asan: deps
	cmake --preset asan
	cmake --build --preset asan
	ctest --preset asan

# Builds the libFuzzer targets of the file readers with clang and runs each
# for FUZZ_SECONDS (default 20) over its seed corpus (fuzz/corpus).
FUZZ_SECONDS ?= 20
fuzz: deps
	cmake --preset fuzz
	cmake --build --preset fuzz
	bash tools/run-fuzz.sh build/fuzz $(FUZZ_SECONDS)

# Cross-builds the JV-Link bridge and its stand-in component for 32-bit
# Windows, then runs their round trip under Wine when Wine can be installed.
bridge:
	@bash tools/install-deps.sh bridge
	-@bash tools/install-wine.sh
	cmake --preset bridge
	cmake --build --preset bridge
	bash tools/bridge-round-trip.sh build/bridge

format:
	find src tests tools bench fuzz -name '*.cpp' -o -name '*.h' | xargs clang-format -i

clean:
	rm -rf build
