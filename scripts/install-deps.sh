#!/usr/bin/env bash
# Installs every Debian package the build, the demo and the tests need.
# Idempotent: packages already present are left as they are.
set -euo pipefail

PACKAGES=(
  # build
  build-essential cmake ninja-build pkg-config git
  clang libclang-rt-14-dev clang-format
  # libraries
  qt6-base-dev qt6-base-dev-tools qt6-multimedia-dev libqt6opengl6-dev
  libjpeg62-turbo-dev nlohmann-json3-dev zlib1g-dev liblzma-dev
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  # run time: audio back end, fonts
  gstreamer1.0-plugins-base gstreamer1.0-plugins-good
  # scrtool render: GStreamer's headers, the H.264 encoder (x264), and the
  # tools its tests read the videos back with (gst-launch-1.0, gst-discoverer-1.0)
  libgstreamer1.0-dev libgstreamer-plugins-base1.0-dev gstreamer1.0-plugins-ugly
  gstreamer1.0-tools gstreamer1.0-plugins-base-apps
  # Flash host (Ruffle in a web view); MIDI music (synthesizer plus General MIDI sound font)
  qt6-webengine-dev gstreamer1.0-plugins-bad timgm6mb-soundfont
  fonts-liberation2 fonts-dejavu-core
  # end-to-end tests and demo assets
  xvfb xdotool x11-utils python3 libxcb1-dev libjpeg-turbo-progs lame
  # Wayland: Qt's Wayland platform, and a compositor for the tests (headless,
  # with its screenshot tool)
  qt6-wayland weston
  # the idle watcher (scrtool saver): the Wayland client library and the
  # protocol files its code is generated from; the compositors its tests run
  # headless (sway with its screenshot and typing tools, KWin, mutter) and the
  # session bus they run in
  libwayland-dev wayland-protocols plasma-wayland-protocols
  sway grim wtype kwin-wayland mutter dbus dbus-bin
  # several monitors: Xorg with its dummy driver, laid out by xrandr
  xserver-xorg-core xserver-xorg-video-dummy x11-xserver-utils
  # the Debian package (CPack finds binaries with file, dependencies with
  # dpkg-shlibdeps) and its checks; desktop caches for per-user installs
  dpkg-dev file lintian desktop-file-utils shared-mime-info bash-completion
  # dialog skin pictures, drawn at build time
  python3-pil
  # screen-saver hosts the installer hands over to, run by the tests (the
  # second host's menu library lists its themes for them)
  xscreensaver mate-screensaver python3-gi gir1.2-matemenu-2.0
  # wallpaper: desktop settings (GIO), their schemas for the tests, the X root window
  libglib2.0-dev gsettings-desktop-schemas libxcb1-dev
)

if [ "$(id -u)" -ne 0 ]; then
  SUDO=sudo
else
  SUDO=
fi

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

# npm installs the pinned Ruffle player (scripts/install-ruffle.sh). A Node.js
# that brings its own npm is kept; otherwise Debian's pair is installed.
if ! command -v npm >/dev/null 2>&1; then
  missing+=(nodejs npm)
fi

if [ ${#missing[@]} -gt 0 ]; then
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update
  $SUDO apt-get install -y --no-install-recommends "${missing[@]}"
fi

# The Flash player the show embeds (pinned npm package, not committed).
"$(dirname "$0")/install-ruffle.sh"
