#!/usr/bin/env bash
# An installation into another prefix works from any folder: the installed
# vistrel-cli reads the data files installed beside it, not those of the
# build tree nor anything in the current folder, and says so when they are
# missing.
#
#   installed_cli_test.sh BUILD_DIR [PREFIX]
# Without PREFIX the build is installed into a scratch folder first; with it
# the installation found there is checked (the package check passes the
# unpacked package's usr).
set -euo pipefail
build=$(cd "$1" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prefix=${2:-}
if [[ -z $prefix ]]; then
  prefix=$work/prefix
  cmake --install "$build" --prefix "$prefix" >/dev/null
fi
cli=$prefix/bin/vistrel-cli

# A current folder that looks like an installation with broken data.
mkdir -p "$work/cwd/bin" "$work/cwd/share/vistrel/maps"
echo "zip,city,state,latitude,longitude" >"$work/cwd/share/vistrel/zipcodes.csv"
cd "$work/cwd/bin"

"$cli" --version | grep -qx "vistrel-cli [0-9.]*"
if [[ -x $prefix/bin/vistrel ]]; then "$prefix/bin/vistrel" --version | grep -qx "vistrel [0-9.]*"; fi
"$cli" locate 90210 | grep -q ",California$"
"$cli" init --data "$work/demo" --demo --contacts 500 >/dev/null 2>&1
"$cli" analyse --data "$work/demo" --database Sales --by zip --count >"$work/installed.txt"
"$build/bin/vistrel-cli" analyse --data "$work/demo" --database Sales --by zip --count >"$work/built.txt"
cmp "$work/installed.txt" "$work/built.txt"
"$cli" analyse --data "$work/demo" --database Sales --by state --count --map "$work/map.png" >/dev/null 2>&1
[[ -s $work/map.png ]]

# Without its data folder the installed tool stops and names the folder.
mv "$prefix/share/vistrel" "$prefix/share/vistrel.away"
status=0
"$cli" locate 90210 >/dev/null 2>"$work/err.txt" || status=$?
mv "$prefix/share/vistrel.away" "$prefix/share/vistrel"
[[ $status -eq 1 ]] && grep -qF "$prefix/share/vistrel" "$work/err.txt"
echo "the installed vistrel-cli works from another folder on the data installed beside it"
