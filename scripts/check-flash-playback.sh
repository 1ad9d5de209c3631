#!/usr/bin/env bash
# Checks that installed programs play Flash from a packed screen saver that
# lies far from them: packs tests/data/jpexs-morphshape.swf with
# BIN_DIR/scrtool into a new temporary folder, plays it full screen there on
# a private Xvfb for a few seconds, and checks that the player loaded the
# engine plugin expected (from /proc/PID/maps) and reported the movie's
# frames in SCRPLAYER_STATS.
#   check-flash-playback.sh BIN_DIR EXPECTED_PLUGIN [FOLDER]
# FOLDER (default: a new temporary folder) is where the packed file is put.
# The environment passes through (HOME, PATH, XDG_* decide where the player
# looks). Exit status 0 when the movie played.
set -euo pipefail
SOURCE_DIR=$(cd "$(dirname "$0")/.." && pwd)
BIN_DIR=$1
EXPECTED_PLUGIN=$2
MOVIE=$SOURCE_DIR/tests/data/jpexs-morphshape.swf
SECONDS_TO_PLAY=${SCR_CHECK_SECONDS:-10}

WORK=$(mktemp -d)
XVFB=
SHOW=
cleanup() {
  if [ -n "$SHOW" ]; then kill "$SHOW" 2>/dev/null || true; wait "$SHOW" 2>/dev/null || true; fi
  if [ -n "$XVFB" ]; then kill "$XVFB" 2>/dev/null || true; wait "$XVFB" 2>/dev/null || true; fi
  rm -rf "$WORK"
  rm -f "${PACKED:-}"
}
trap cleanup EXIT
fail() { echo "check-flash-playback: $*" >&2; exit 1; }

mkdir -m 700 "$WORK/runtime" "$WORK/source"
FOLDER=${3:-$WORK/elsewhere}
mkdir -p "$FOLDER"
PACKED=$FOLDER/flash-check-$$.scr
cp "$MOVIE" "$WORK/source/movie.swf"
cat >"$WORK/source/manifest.json" <<JSON
{ "name": "Installed Flash Check", "default_display_seconds": 30,
  "items": [ { "file": "movie.swf", "kind": "flash", "display_seconds": -30 } ] }
JSON
"$BIN_DIR/scrtool" pack "$WORK/source/manifest.json" -o "$PACKED" >/dev/null

# Xvfb picks a free display itself and writes its number to the pipe.
exec {DISPLAY_FD}<> <(:)
Xvfb -displayfd "$DISPLAY_FD" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
XVFB=$!
read -r -t 20 -u "$DISPLAY_FD" number || fail "Xvfb did not start"
exec {DISPLAY_FD}>&-

DISPLAY=":$number" QT_QPA_PLATFORM=xcb XDG_RUNTIME_DIR="$WORK/runtime" TMPDIR="$WORK" \
  XDG_CONFIG_HOME="$WORK/config" SCRPLAYER_STATS="$WORK/stats.txt" \
  "$PACKED" /s 2>"$WORK/stderr.txt" &
SHOW=$!
sleep "$SECONDS_TO_PLAY"
loaded=$(grep -o '/[^ ]*scrplayer-flash\.so' "/proc/$SHOW/maps" 2>/dev/null | sort -u || true)
DISPLAY=":$number" xdotool key a || true
for _ in $(seq 1 50); do kill -0 "$SHOW" 2>/dev/null || break; sleep 0.1; done
kill "$SHOW" 2>/dev/null || true
wait "$SHOW" 2>/dev/null || true
SHOW=

stats=$(cat "$WORK/stats.txt" 2>/dev/null || true)
echo "check-flash-playback: plugin loaded: ${loaded:-none}; stats: $(echo "$stats" | grep flash || echo none)"
if [ "$loaded" != "$(realpath "$EXPECTED_PLUGIN")" ]; then
  cat "$WORK/stderr.txt" >&2
  fail "expected the player to load $EXPECTED_PLUGIN"
fi
# The movie's 10 frames, which only Ruffle, having loaded it, can tell.
if ! echo "$stats" | grep -Eq '^flash frames=10 last=[0-9]+ playing=[01]$'; then
  cat "$WORK/stderr.txt" >&2
  fail "the show did not report the movie's frames"
fi
