#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test twice: once in a normal
# build and once under AddressSanitizer and UndefinedBehaviorSanitizer, where
# any sanitizer report fails the run. The seed corpora of the fuzz targets are
# replayed in both. In between, the Debian package is built and checked.
#
#   scripts/test.sh             the whole suite (what CI runs)
#   scripts/test.sh --fuzz N    also runs each libFuzzer target for N inputs
set -euo pipefail
cd "$(dirname "$0")/.."

fuzz_runs=0
while [ $# -gt 0 ]; do
  case "$1" in
    --fuzz) fuzz_runs="$2"; shift 2 ;;
    *) echo "usage: scripts/test.sh [--fuzz RUNS]" >&2; exit 2 ;;
  esac
done

if [ "$fuzz_runs" -gt 0 ]; then ./scripts/setup.sh --fuzz; else ./scripts/setup.sh; fi
jobs=$(nproc)

echo "== build"
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$jobs"
echo "== tests"
ctest --test-dir build --output-on-failure -j"$jobs" --timeout 600

# A Release build of the two programs only, packed and checked as a user
# would install it.
./scripts/package.sh --check

echo "== build with sanitizers"
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DVISTREL_SANITIZE=ON -DVISTREL_BENCH=OFF >/dev/null
cmake --build build-asan -j"$jobs"
echo "== tests with sanitizers"
export ASAN_OPTIONS="abort_on_error=1:detect_leaks=1:strict_string_checks=1"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
export LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp:print_suppressions=0"
ctest --test-dir build-asan --output-on-failure -j"$jobs" --timeout 900

if [ "$fuzz_runs" -gt 0 ]; then
  echo "== fuzzing ($fuzz_runs inputs per target)"
  CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DVISTREL_SANITIZE=ON -DVISTREL_FUZZ=ON -DVISTREL_GUI=OFF -DVISTREL_TESTS=ON \
    -DVISTREL_BENCH=OFF >/dev/null
  cmake --build build-fuzz -j"$jobs" --target fuzz_all
  for target in build-fuzz/fuzz/fuzz_*; do
    name=$(basename "$target"); short=${name#fuzz_}
    work=$(mktemp -d)
    cp tests/fuzz/corpus/"$short"/* "$work"/ 2>/dev/null || true
    echo "-- $name"
    "$target" -runs="$fuzz_runs" -max_len=512 -timeout=10 "$work" 2>&1 | tail -n 3
    rm -rf "$work"
  done
fi
echo "== all tests passed"
