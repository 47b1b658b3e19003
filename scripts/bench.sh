#!/usr/bin/env bash
# Builds the benchmarks and prints their figures on two demo data directories
# of one million contacts each, made once under build/bench-data (or
# $VISTREL_BENCH_DATA): m1 spreads them over three databases, one1m puts them
# all in one.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/setup.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)" --target bench vistrel-cli
base="${VISTREL_BENCH_DATA:-$PWD/build/bench-data}"
data="$base/m1"
one="$base/one1m"
if [ ! -f "$data/tallis.db" ]; then
  echo "Creating $data (1,000,000 contacts in three databases) ..."
  build/bin/vistrel-cli init --data "$data" --demo --contacts 1000000
fi
if [ ! -f "$one/tallis.db" ]; then
  echo "Creating $one (1,000,000 contacts in one database) ..."
  build/bin/vistrel-cli init --data "$one" --demo --contacts 1000000 --one-database
fi
echo "== bench_contact_walk (the engine's walk over the largest database beside the bare SQLite scan)"
build/bench/bench_contact_walk "$data"
echo "== bench_tally (State and Zip Code tallies and counts over one database of 1,000,000 beside the scan)"
build/bench/bench_tally "$one"
echo "== analyse --by state --count beside sqlite3 answering the same question (wall time of each command, median of 5)"
db="$(sqlite3 "$one/tallis.db" "SELECT DB FROM contact LIMIT 1")"
median() {
  local times=()
  for _ in 1 2 3 4 5; do
    local start end
    start=$(date +%s.%N)
    "$@" >/dev/null
    end=$(date +%s.%N)
    times+=("$(echo "$end - $start" | bc)")
  done
  printf '%s\n' "${times[@]}" | sort -n | sed -n 3p
}
cli=$(median build/bin/vistrel-cli analyse --data "$one" --database "$db" --by state --count)
sql=$(median sqlite3 "$one/tallis.db" "SELECT upper(State), count(*) FROM contact WHERE DB = '$db' COLLATE NOCASE GROUP BY 1")
echo "vistrel-cli analyse --by state --count  ${cli} s"
echo "sqlite3 ... GROUP BY 1                  ${sql} s"
echo "ratio cli/sqlite3 $(echo "scale=2; $cli / $sql" | bc)"
echo "== bench_filter (a saved filter's count beside SQLite's SELECT count(*), and the State tally with it)"
build/bench/bench_filter "$one"
echo "== bench_value_list"
build/bench/bench_value_list
if [ -x build/bench/gui_bench_count ]; then
  echo "== gui_bench_count (Count in the window beside the headless count)"
  # The offscreen platform warns at every raise() of the progress window.
  export QT_LOGGING_RULES="default.warning=false"
  QT_QPA_PLATFORM=offscreen build/bench/gui_bench_count "$data" state zip
  echo "== gui_bench_filter_count (Count in the filter list beside the headless count)"
  QT_QPA_PLATFORM=offscreen build/bench/gui_bench_filter_count "$one"
  echo "== gui_bench_sortable_grid"
  QT_QPA_PLATFORM=offscreen build/bench/gui_bench_sortable_grid
fi
echo "== mirror (1,000,000 contacts with their events from Paradox files, beside the CSV import and init --demo)"
# The Paradox files are exported from one1m once; the copy is made afresh.
tallis="$base/one1m-paradox"
if [ ! -f "$tallis/CONTACT.DB" ]; then
  echo "Exporting $one to Paradox files in $tallis (several minutes) ..."
  build/bin/vistrel-cli export-paradox --data "$one" --to "$tallis" >/dev/null
fi
rm -rf "$base/mirror1m"
TIMEFORMAT="mirror: %R s wall, %U s user, %S s sys"
time build/bin/vistrel-cli mirror --data "$base/mirror1m" --from "$tallis"
TIMEFORMAT="mirror when nothing changed: %R s wall"
time build/bin/vistrel-cli mirror --data "$base/mirror1m" --from "$tallis" >/dev/null
csv="$base/one1m-contacts.csv"
if [ ! -f "$csv" ]; then
  sqlite3 -csv -header "$one/tallis.db" "SELECT FirstName,LastName,Dear,Salut,Title,Company,Addr1,City,State,Zip,\
Country,Phone1,PhDesc1,EMail1,Category,User1 FROM contact" > "$csv"
fi
rm -rf "$base/import1m"
build/bin/vistrel-cli init --data "$base/import1m" >/dev/null
TIMEFORMAT="import of the same 1,000,000 contacts from CSV: %R s wall, %U s user, %S s sys"
time build/bin/vistrel-cli import --data "$base/import1m" --database Sales "$csv"
rm -rf "$base/demo1m"
TIMEFORMAT="init --demo of 1,000,000 contacts with their events: %R s wall, %U s user, %S s sys"
time build/bin/vistrel-cli init --data "$base/demo1m" --demo --contacts 1000000 --one-database >/dev/null 2>&1
