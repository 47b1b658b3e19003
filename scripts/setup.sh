#!/usr/bin/env bash
# Installs the Debian packages Vistrel needs to build, test and run. Quick when
# everything is already there; uses sudo when not run as root.
#
#   scripts/setup.sh          to build and test
#   scripts/setup.sh --run    also what the run script may need
#   scripts/setup.sh --fuzz   also clang for the libFuzzer targets
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  libsqlite3-dev sqlite3
  # Reads and writes the host's Paradox tables (mirror, export-paradox).
  pxlib-dev
  libgtest-dev
  qt6-base-dev libgl-dev
  fontconfig fonts-dejavu-core
  # The HTML and GeoJSON report tests: Node runs them, Chromium opens the page.
  nodejs chromium
  # The Debian package and its checks (scripts/package.sh).
  dpkg-dev file lintian desktop-file-utils appstream
)
case "${1:-}" in
  --run) packages+=(xvfb xauth) ;;
  # libFuzzer comes with clang's runtime libraries.
  --fuzz) packages+=(clang libclang-rt-14-dev) ;;
esac

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  case "$status" in
    *"ok installed"*) ;;
    *) missing+=("$p") ;;
  esac
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
