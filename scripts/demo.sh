#!/usr/bin/env bash
# Installs what is needed, builds the player and shows the demo.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
./scripts/build.sh
BIN=${SCR_BUILD_DIR:-build}/bin
if [ -f "$BIN/demo.scr" ]; then
  "$BIN/scrtool" info "$BIN/demo.scr"
else
  SCRPLAYER_PRINT_MODE=1 "$BIN/scrplayer" /s
fi
