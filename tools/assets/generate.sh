#!/usr/bin/env bash
# Rebuilds every generated file of assets/ from the public data packages
# pinned in package.json. Rerunning reproduces the files byte for byte.
#
#   tools/assets/generate.sh            writes into assets/
#   tools/assets/generate.sh OUT_DIR    writes into OUT_DIR instead
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
out="${1:-$here/../../assets}"
mkdir -p "$out"
out="$(cd "$out" && pwd)"

if [ ! -d "$here/node_modules/us-atlas" ]; then
  (cd "$here" && npm install --no-audit --no-fund)
fi
cd "$here"
node zipcodes.js "$out"
node usmaps.js "$out"
node worldmap.js "$out"
node areacodes.js "$out"
node shapes.js "$out"
node filterglyphs.js "$out"
