#!/usr/bin/env bash
# Builds the benchmarks and prints their figures on a demo data directory of
# one million contacts (made once in build/bench-data, or $VISTREL_BENCH_DATA).
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/setup.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)" --target bench vistrel-cli
data="${VISTREL_BENCH_DATA:-$PWD/build/bench-data/m1}"
if [ ! -f "$data/tallis.db" ]; then
  echo "Creating $data (1,000,000 contacts) ..."
  build/bin/vistrel-cli init --data "$data" --demo --contacts 1000000
fi
for b in build/bench/bench_*; do
  echo "== $(basename "$b")"
  "$b" "$data"
done
