# Thin wrapper over the CMake presets. `make run` and `make test` are the two
# commands of the README.

.PHONY: run test deps build-release build-dev asan fuzz bridge clean format

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

# Builds and runs every test.
test: build-dev
	ctest --preset dev

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
