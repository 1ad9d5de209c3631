#!/usr/bin/env bash
# Builds the Debian package (scripts/package-deb.sh), checks what it holds,
# its dependencies and lintian's verdict (no errors). As root, on a machine
# where scrplayer is not installed yet, also installs it with apt-get, plays
# a packed screen saver's Flash movie with the installed programs, removes
# it and checks that nothing of it is left.
set -euo pipefail
cd "$(dirname "$0")/.."
fail() { echo "test-deb: $*" >&2; exit 1; }

DEB=$(./scripts/package-deb.sh | tail -n 1)
echo "test-deb: $DEB"
case $(basename "$DEB") in
  scrplayer_*_"$(dpkg --print-architecture)".deb) ;;
  *) fail "unexpected package name $(basename "$DEB")" ;;
esac

CONTENTS=$(dpkg-deb -c "$DEB" | awk '{print $1, $2, $NF}')
for file in ./usr/bin/scrplayer ./usr/bin/scrtool ./usr/lib/scrplayer/scrplayer-flash.so \
  ./usr/share/scrplayer/ruffle/ruffle.js ./usr/share/applications/scrplayer.desktop \
  ./usr/share/mime/packages/scrplayer.xml ./usr/share/icons/hicolor/scalable/apps/scrplayer.svg \
  ./usr/share/man/man1/scrplayer.1.gz ./usr/share/man/man1/scrtool.1.gz \
  ./usr/share/bash-completion/completions/scrtool ./usr/share/doc/scrplayer/copyright \
  ./usr/share/doc/scrplayer/changelog.gz; do
  grep -q " $file\$" <<<"$CONTENTS" || fail "$file is not in the package"
done
# Everything belongs to root and nobody else may write it.
if echo "$CONTENTS" | awk '$2 != "root/root" || $1 ~ /^.....w|^........w/' | grep .; then
  fail "files not owned by root or writable by others"
fi
if echo "$CONTENTS" | grep -E 'mime\.cache|/mime/application/|\.map$'; then
  fail "generated caches or source maps in the package"
fi

DEPENDS=$(dpkg-deb -f "$DEB" Depends)
echo "test-deb: Depends: $DEPENDS"
for package in libqt6widgets6 libqt6webenginewidgets6 libjpeg62-turbo gstreamer1.0-plugins-good \
  timgm6mb-soundfont fonts-dejavu-core; do
  grep -q "\b$package\b" <<<"$DEPENDS" || fail "the package does not depend on $package"
done

echo "test-deb: lintian"
LINTIAN=$(lintian --tag-display-limit 0 "$DEB" 2>&1 || true)
echo "$LINTIAN"
if grep -q '^E: ' <<<"$LINTIAN"; then fail "lintian reports errors"; fi

if [ "$(id -u)" -ne 0 ]; then
  echo "test-deb: not root: installing the package is left out"
  exit 0
fi
if dpkg-query -W -f='${Status}' scrplayer 2>/dev/null | grep -q 'install ok installed'; then
  echo "test-deb: scrplayer is installed on this machine already: installing the package is left out"
  exit 0
fi
FILES=$(dpkg-deb -c "$DEB" | awk '$1 !~ /^d/ {print substr($NF, 2)}')
remove() { DEBIAN_FRONTEND=noninteractive apt-get remove -y scrplayer >/dev/null 2>&1 || true; }
trap remove EXIT
echo "test-deb: apt-get install $DEB"
DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "$DEB" >/dev/null
/usr/bin/scrtool --version
if command -v man >/dev/null; then man -w scrtool >/dev/null || fail "man cannot find scrtool(1)"; fi
# A new user's view: no PATH entry or data folder points anywhere special.
(
  export HOME
  HOME=$(mktemp -d)
  trap 'rm -rf "$HOME"' EXIT
  unset XDG_DATA_HOME XDG_DATA_DIRS SCRPLAYER_FLASH_PLUGIN SCRPLAYER_RUFFLE_DIR
  scripts/check-flash-playback.sh /usr/bin /usr/lib/scrplayer/scrplayer-flash.so
)
if command -v update-mime-database >/dev/null; then
  grep -q 'application/x-scrplayer-screensaver' /usr/share/mime/globs2 || fail "the MIME type was not registered"
fi
grep -qx 'Exec="/usr/bin/scrtool" play %f /s' /usr/share/applications/scrplayer.desktop ||
  fail "the desktop entry does not run /usr/bin/scrtool"
echo "test-deb: apt-get remove scrplayer"
DEBIAN_FRONTEND=noninteractive apt-get remove -y scrplayer >/dev/null
trap - EXIT
left=$(for f in $FILES; do [ -e "$f" ] && echo "$f"; done; for d in /usr/lib/scrplayer /usr/share/scrplayer /usr/share/doc/scrplayer; do [ -e "$d" ] && echo "$d"; done; true)
[ -z "$left" ] || fail "left behind after removal: $left"
if dpkg-query -W -f='${Status}' scrplayer 2>/dev/null | grep -qv 'not-installed'; then
  fail "dpkg still lists scrplayer: $(dpkg-query -W -f='${Status}' scrplayer)"
fi
if [ -f /usr/share/mime/globs2 ] && grep -q 'application/x-scrplayer-screensaver' /usr/share/mime/globs2; then
  fail "the MIME type is still registered"
fi
echo "test-deb: passed"
