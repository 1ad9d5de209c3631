#!/usr/bin/env bash
# Installs the build (build/ or $SCR_BUILD_DIR) as a user would and checks
# that it works from there:
#   1. per user: `cmake --install --prefix $HOME/.local` with a new temporary
#      HOME and nothing added to PATH;
#   2. under any prefix: a temporary folder whose bin/ is on PATH;
# each time a screen saver packed into another temporary folder plays its
# Flash movie with the installed engine (scripts/check-flash-playback.sh).
# Also checks that the install holds what a user needs and honours DESTDIR.
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD_DIR=$(realpath "${SCR_BUILD_DIR:-build}")
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
fail() { echo "test-install: $*" >&2; exit 1; }

# What every install holds, relative to its prefix.
EXPECTED=(
  bin/scrplayer bin/scrtool lib/scrplayer/scrplayer-flash.so
  share/scrplayer/ruffle/ruffle.js share/scrplayer/ruffle/LICENSE_MIT
  share/applications/scrplayer.desktop share/applications/scrplayer_configure.desktop
  share/applications/scrplayer_install.desktop share/applications/scrplayer_flash.desktop
  share/mime/packages/scrplayer.xml
  share/icons/hicolor/scalable/apps/scrplayer.svg
  share/man/man1/scrplayer.1.gz share/man/man1/scrtool.1.gz
  share/bash-completion/completions/scrtool
  share/doc/scrplayer/README.md share/doc/scrplayer/flash.md share/doc/scrplayer/copyright
)
check_contents() {
  local root=$1
  for file in "${EXPECTED[@]}"; do
    [ -f "$root/$file" ] || fail "$root/$file is missing"
  done
  ls "$root"/share/scrplayer/ruffle/*.wasm >/dev/null || fail "the Ruffle modules are missing in $root"
  desktop-file-validate "$root"/share/applications/scrplayer*.desktop || fail "invalid desktop entries"
}

echo "test-install: staged install (DESTDIR)"
DESTDIR="$WORK/stage" cmake --install "$BUILD_DIR" --prefix /opt/scrplayer >/dev/null
check_contents "$WORK/stage/opt/scrplayer"
[ ! -e "$WORK/stage/opt/scrplayer/share/mime/mime.cache" ] || fail "a staged install wrote the MIME cache"

echo "test-install: per-user install into a temporary HOME"
HOME_DIR="$WORK/home"
mkdir -m 700 "$HOME_DIR"
(
  export HOME=$HOME_DIR
  unset XDG_DATA_HOME XDG_DATA_DIRS SCRPLAYER_FLASH_PLUGIN SCRPLAYER_RUFFLE_DIR
  cmake --install "$BUILD_DIR" --prefix "$HOME/.local" >/dev/null
  check_contents "$HOME/.local"
  "$HOME/.local/bin/scrtool" --version
  # The file manager's view: a .scr file has the type, and opening it plays
  # it through the installed scrtool, which need not be on PATH.
  grep -qx "Exec=\"$HOME/.local/bin/scrtool\" play %f /s" "$HOME/.local/share/applications/scrplayer.desktop" ||
    fail "the desktop entry does not run the installed scrtool"
  if command -v gio >/dev/null; then
    cp "$BUILD_DIR/bin/scrplayer" "$WORK/any.scr"
    # Outputs are captured before matching: with pipefail, a reader that stops
    # early would fail the pipeline through the writer's SIGPIPE.
    content_type=$(gio info -a standard::content-type "$WORK/any.scr")
    grep -q 'application/x-scrplayer-screensaver' <<<"$content_type" || fail "a .scr file is not recognised"
    handlers=$(gio mime application/x-scrplayer-screensaver)
    head -n 1 <<<"$handlers" | grep -q 'scrplayer\.desktop' || fail "opening a .scr file does not play it: $handlers"
    # A Flash movie is offered Play as one more program for it, never made
    # its default by the install: no mimeapps.list is written.
    handlers=$(gio mime application/vnd.adobe.flash.movie)
    grep -q 'scrplayer_flash\.desktop' <<<"$handlers" || fail "a Flash movie is not offered Play: $handlers"
    [ -z "$(find "$HOME" -name mimeapps.list)" ] || fail "the install wrote a default application"
  fi
  # Completion of commands, of a command's options and of the play modes.
  bash -c 'source /usr/share/bash-completion/bash_completion && source "$1" || exit 1
    complete_words() { COMP_WORDS=("$@"); COMP_CWORD=$(($# - 1)); COMP_LINE="$*"; COMP_POINT=${#COMP_LINE};
      _scrtool; echo "${COMPREPLY[*]}"; }
    [ "$(complete_words scrtool p)" = "pack play" ] && [ "$(complete_words scrtool info --j)" = "--json" ] &&
      [ "$(complete_words scrtool play x.scr /)" = "/s /p /c" ]' _ \
    "$HOME/.local/share/bash-completion/completions/scrtool" || fail "bash completion of scrtool does not work"
  scripts/check-flash-playback.sh "$HOME/.local/bin" "$HOME/.local/lib/scrplayer/scrplayer-flash.so"
  # Where the installer wizard puts its copy.
  scripts/check-flash-playback.sh "$HOME/.local/bin" "$HOME/.local/lib/scrplayer/scrplayer-flash.so" \
    "$HOME/.local/share/scrplayer/system"
)

echo "test-install: install under another prefix, found through PATH"
PREFIX="$WORK/prefix"
cmake --install "$BUILD_DIR" --prefix "$PREFIX" >/dev/null
(
  export HOME="$WORK/other-home"
  mkdir -m 700 "$HOME"
  unset XDG_DATA_HOME XDG_DATA_DIRS SCRPLAYER_FLASH_PLUGIN SCRPLAYER_RUFFLE_DIR
  export PATH="$PREFIX/bin:$PATH"
  scripts/check-flash-playback.sh "$PREFIX/bin" "$PREFIX/lib/scrplayer/scrplayer-flash.so"
)

echo "test-install: a plugin other users can write is skipped"
chmod g+w "$PREFIX/lib/scrplayer"
(
  export HOME="$WORK/other-home" PATH="$PREFIX/bin:$PATH"
  unset XDG_DATA_HOME XDG_DATA_DIRS SCRPLAYER_FLASH_PLUGIN SCRPLAYER_RUFFLE_DIR
  if scripts/check-flash-playback.sh "$PREFIX/bin" "$PREFIX/lib/scrplayer/scrplayer-flash.so" 2>"$WORK/err.txt"; then
    fail "the plugin in a group-writable folder was loaded"
  fi
  grep -q "skipped $PREFIX/lib/scrplayer/scrplayer-flash.so: $PREFIX/lib/scrplayer is writable by its group" \
    "$WORK/err.txt" || { cat "$WORK/err.txt" >&2; fail "no message about the skipped plugin"; }
)
echo "test-install: passed"
