#!/usr/bin/env bash
# Installs what is needed, builds the player and shows the demo screen saver
# full screen (build/bin/demo.scr /s). A key, a click or moving the mouse
# ends it; the arrow keys, Space, Page Up/Down and Backspace step through it.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
./scripts/build.sh
BIN=${SCR_BUILD_DIR:-build}/bin
DEMO="$BIN/demo.scr"
if [ ! -f "$DEMO" ]; then
  echo "demo.sh: $DEMO was not built" >&2
  exit 1
fi

if [ -n "${DISPLAY:-}" ]; then
  exec "$DEMO" /s
fi

# No display: play the show on a private virtual X server for a while, report
# what it played, and end it with a key press as a user would.
SECONDS_TO_PLAY=${SCR_DEMO_SECONDS:-20}
for n in $(seq 90 190); do
  if [ ! -e "/tmp/.X$n-lock" ] && [ ! -e "/tmp/.X11-unix/X$n" ]; then break; fi
done
echo "demo.sh: no DISPLAY is set; starting a virtual X server (Xvfb :$n, 1920 x 1080) and"
echo "         playing $DEMO /s there for $SECONDS_TO_PLAY seconds."
echo "         Run this script from a desktop session to watch the show."
Xvfb ":$n" -screen 0 1920x1080x24 -nolisten tcp >/dev/null 2>&1 &
XVFB=$!
WORK=$(mktemp -d)
cleanup() { kill "$XVFB" 2>/dev/null || true; wait "$XVFB" 2>/dev/null || true; rm -rf "$WORK"; }
trap cleanup EXIT
for _ in $(seq 1 100); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done
mkdir -m 700 "$WORK/runtime"
DISPLAY=":$n" XDG_RUNTIME_DIR="$WORK/runtime" SCRPLAYER_STATS="$WORK/stats.txt" "$DEMO" /s 2>/dev/null &
SHOW=$!
sleep "$SECONDS_TO_PLAY"
DISPLAY=":$n" xdotool key a
wait "$SHOW" && status=0 || status=$?
echo "demo.sh: the show ended with status $status after a key press; what it played:"
cat "$WORK/stats.txt" 2>/dev/null || echo "(nothing)"
