#!/usr/bin/env bash
# Runs every fuzz target of a fuzz build for a while over its seed corpus.
#   tools/run-fuzz.sh [BUILD_DIR] [SECONDS_PER_TARGET] [TARGET...]
# The seeds of fuzz/corpus/<target> are copied to a scratch folder under the
# build folder, so the checked-in corpus never changes; inputs the fuzzer
# finds stay in the scratch folder. A crash, a leak or a timeout stops the
# run with status 1 and leaves the input as BUILD_DIR/fuzz-artifacts/<target>-*.
# Further libFuzzer flags can be given in FUZZ_FLAGS (e.g. "-runs=1000000").
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/fuzz}
seconds=${2:-20}
shift $(( $# < 2 ? $# : 2 ))

if [ $# -gt 0 ]; then
  targets=("$@")
else
  mapfile -t targets < "$build/fuzz/fuzzers.txt"
fi

scratch="$build/fuzz-scratch"
artifacts="$build/fuzz-artifacts"
mkdir -p "$artifacts"
# A small quarantine: the day loads free tens of megabytes per input, and
# with the default quarantine every input touches fresh pages.
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1:quarantine_size_mb=32}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"

for target in "${targets[@]}"; do
  binary="$build/fuzz/${target}_fuzzer"
  if [ ! -x "$binary" ]; then
    echo "no fuzz target $binary (build the fuzz preset first)" >&2
    exit 1
  fi
  corpus="$scratch/$target"
  rm -rf "$corpus"
  mkdir -p "$corpus"
  cp fuzz/corpus/"$target"/* "$corpus"/
  dictionary=()
  [ -f "fuzz/dict/$target.dict" ] && dictionary=("-dict=fuzz/dict/$target.dict")
  echo "== $target: ${seconds} s over $(ls "$corpus" | wc -l) seeds"
  # -rss_limit_mb: a day load holds its tables (about 60 MB) and the files
  # of the in-memory home; 2 GB leaves room for inputs that grow them.
  if ! "$binary" "$corpus" "${dictionary[@]}" -max_total_time="$seconds" -timeout=10 \
      -rss_limit_mb=2048 -max_len=65536 -print_final_stats=1 \
      -artifact_prefix="$artifacts/$target-" ${FUZZ_FLAGS:-} \
      > "$build/fuzz-$target.log" 2>&1; then
    tail -n 60 "$build/fuzz-$target.log" >&2
    echo "fuzz target $target failed; input in $artifacts" >&2
    exit 1
  fi
  grep -E '^stat::number_of_executed_units|^stat::peak_rss_mb' "$build/fuzz-$target.log" |
    sed 's/^/   /'
done
