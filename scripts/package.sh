#!/usr/bin/env bash
# Builds the Debian package of Vistrel: a Release build of the two programs
# and their libraries (no tests, no benchmarks) in build-package/, with
# Debian's hardening flags, packed by CPack into
# dist/vistrel_<version>_<arch>.deb. The version is the project's (the top
# CMakeLists.txt); the dependencies are computed by dpkg-shlibdeps.
#
#   scripts/package.sh           builds the package
#   scripts/package.sh --check   also checks it: lintian without errors, the
#                                desktop entry and the AppStream metadata
#                                valid, its dependencies installable, and the
#                                programs working from another folder once
#                                unpacked into a scratch root. With
#                                VISTREL_CI=1 (set by .ci/run) it is also
#                                installed with apt-get and run from /usr.
set -euo pipefail
cd "$(dirname "$0")/.."

check=0
case "${1:-}" in
  "") ;;
  --check) check=1 ;;
  *) echo "usage: scripts/package.sh [--check]" >&2; exit 2 ;;
esac

./scripts/setup.sh
build=build-package
# Dates in the package (change log, metadata) are the last commit's, so the
# same commit gives the same files.
if [ -z "${SOURCE_DATE_EPOCH:-}" ] && git rev-parse --git-dir >/dev/null 2>&1; then
  SOURCE_DATE_EPOCH=$(git log -1 --format=%ct)
  export SOURCE_DATE_EPOCH
fi
# Debian's compiler and linker flags (stack protector, fortified functions,
# read-only relocations), without debug information: the package ships
# stripped programs.
export DEB_BUILD_MAINT_OPTIONS="hardening=+all"
export DEB_CFLAGS_MAINT_STRIP="-g" DEB_CXXFLAGS_MAINT_STRIP="-g"
cppflags=$(dpkg-buildflags --get CPPFLAGS)
# GCC 12 at -O3 warns of overlapping copies inside std::string's operator+
# that cannot happen (GCC bug 105329).
quiet="-Wno-restrict"
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DVISTREL_TESTS=OFF -DVISTREL_BENCH=OFF \
  -DCMAKE_INSTALL_PREFIX=/usr -DCMAKE_INSTALL_SYSCONFDIR=/etc \
  -DCMAKE_C_FLAGS="$(dpkg-buildflags --get CFLAGS) $cppflags" \
  -DCMAKE_CXX_FLAGS="$(dpkg-buildflags --get CXXFLAGS) $cppflags $quiet" \
  -DCMAKE_EXE_LINKER_FLAGS="$(dpkg-buildflags --get LDFLAGS)" >/dev/null
echo "== package build (Release)"
cmake --build "$build" -j"$(nproc)"
rm -rf "$build/cpack"
(cd "$build" && cpack -G DEB -B "$PWD/cpack" >/dev/null)
mkdir -p dist
deb=$(ls "$build"/cpack/vistrel_*.deb)
mv "$deb" dist/
deb=dist/$(basename "$deb")
echo "Built $deb"
[ "$check" -eq 1 ] || exit 0

echo "== package check"
# Errors fail the check; the warnings and notes that remain are printed.
lintian --fail-on error --display-info "$deb"
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
dpkg-deb -x "$deb" "$root"
desktop-file-validate "$root/usr/share/applications/vistrel.desktop"
appstreamcli validate --no-net "$root"/usr/share/metainfo/*.metainfo.xml
apt-get install --simulate -qq "$PWD/$deb" >/dev/null
bash packaging/installed_cli_test.sh "$build" "$root/usr"

if [ "${VISTREL_CI:-}" = 1 ]; then
  sudo=""
  if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "$PWD/$deb" >/dev/null
  demo=$(mktemp -d)
  (
    cd "$demo"
    vistrel --version
    vistrel-cli init --data demo --demo --contacts 2000 >/dev/null 2>&1
    vistrel-cli analyse --data demo --database Sales --by state --count | tail -n 2
    bash -c 'source /usr/share/bash-completion/completions/vistrel-cli && complete -p vistrel-cli' >/dev/null
  )
  rm -rf "$demo"
  echo "Installed $deb with apt-get and ran it from /usr"
fi
echo "== package checked"
