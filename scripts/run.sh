#!/usr/bin/env bash
# Installs what is missing, builds, makes a demo Tallis data directory (once)
# and runs the main job on it: the windowed program when a display exists,
# otherwise the State analysis from the command line with its map written to
# a PNG file.
set -euo pipefail
cd "$(dirname "$0")/.."

./scripts/setup.sh --run
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)" --target vistrel vistrel-cli

demo="$PWD/demo"
if [ ! -f "$demo/tallis.db" ]; then
  echo "Creating demo data in $demo ..."
  build/bin/vistrel-cli init --data "$demo" --demo
fi

# The program finds the shared network control directory through NETDIR.INI
# in its own folder, as Tallis installations have it.
if [ ! -f build/bin/NETDIR.INI ]; then
  mkdir -p "$demo/net"
  printf '[Options]\r\nNetDir=%s\r\n' "$demo/net" > build/bin/NETDIR.INI
fi

if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  echo "Starting Vistrel on the demo data (user DEM, no password)."
  VISTREL_TALDB="$demo" exec build/bin/vistrel DEM
fi

mkdir -p out
build/bin/vistrel-cli analyse --data "$demo" --database Sales --by state --count \
  --map out/state-map.png
