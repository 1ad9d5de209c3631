#!/usr/bin/env bash
# Builds the Debian package scrplayer_<version>_<arch>.deb with CPack's DEB
# generator from the build in build/ (or $SCR_BUILD_DIR; configured and
# built first when needed, with any arguments given here) and prints the
# package's path as the last line of its output.
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD_DIR=${SCR_BUILD_DIR:-build}
# The package carries the Flash player: it must be there before the build.
./scripts/install-ruffle.sh
if [ ! -f "$BUILD_DIR/CMakeCache.txt" ] || [ $# -gt 0 ]; then
  cmake -S . -B "$BUILD_DIR" -G Ninja "$@"
fi
cmake --build "$BUILD_DIR" -j "$(nproc)"
OUT="$BUILD_DIR/package"
rm -f "$OUT"/scrplayer_*.deb
cpack --config "$BUILD_DIR/CPackConfig.cmake" -B "$(realpath "$BUILD_DIR")/package" >&2
debs=("$OUT"/scrplayer_*.deb)
[ -f "${debs[0]}" ] || { echo "package-deb.sh: CPack made no package" >&2; exit 1; }
realpath "${debs[0]}"
