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
echo "== bench_contact_walk (the engine's walk beside the bare SQLite scan)"
build/bench/bench_contact_walk "$data"
echo "== bench_tally (State and Zip Code tallies and counts beside the scan)"
build/bench/bench_tally "$data"
echo "== bench_value_list"
build/bench/bench_value_list
if [ -x build/bench/gui_bench_count ]; then
  echo "== gui_bench_count (Count in the window beside the headless count)"
  QT_QPA_PLATFORM=offscreen build/bench/gui_bench_count "$data" state zip
  echo "== gui_bench_sortable_grid"
  QT_QPA_PLATFORM=offscreen build/bench/gui_bench_sortable_grid
fi
