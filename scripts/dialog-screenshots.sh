#!/usr/bin/env bash
# Renders the skinned frame and the message form offscreen and saves their
# pictures into docs/ (docs/skinned-frame.png, docs/skinned-frame-states.png, docs/message-form.png,
# docs/message-icons.png, docs/installer-wizard.png, docs/config-*.png for the
# pages of the demo's configuration dialog), so the look can be judged without
# running the program.
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD_DIR=${SCR_BUILD_DIR:-build}
cmake --build "$BUILD_DIR" --target test_dialogs test_installer demo
export QT_QPA_PLATFORM=offscreen
export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$(mktemp -d)}
chmod 700 "$XDG_RUNTIME_DIR"
SCR_SCREENSHOT_DIR="$PWD/docs" "$BUILD_DIR/bin/test_dialogs" \
  --gtest_filter='SkinnedDialog.DrawsItsPicturesAtTheirPlaces:SkinnedDialog.TitleBarStates:MessageDialog.Screenshot'
SCR_SCREENSHOT_DIR="$PWD/docs" "$BUILD_DIR/bin/test_installer" --gtest_filter='InstallerWizardTest.Screenshot'
# The demo is designed for 1280 x 800: a screen of that size shows its
# pictures in the preview as the show would.
screens=$(mktemp)
trap 'rm -f "$screens"' EXIT
echo '{"screens":[{"name":"Primary","x":0,"y":0,"width":1280,"height":800,"logicalDpi":96,"dpr":1}]}' >"$screens"
SCR_SCREENSHOT_DIR="$PWD/docs" QT_QPA_PLATFORM="offscreen:configfile=$screens" "$BUILD_DIR/bin/test_dialogs" \
  --gtest_filter='ConfigDialogTest.DemoPackageFillsEveryPage'
ls -l docs/config-general.png docs/config-pictures.png docs/config-movie.png docs/config-music.png \
  docs/config-license.png
ls -l docs/installer-wizard.png docs/skinned-frame.png docs/skinned-frame-states.png docs/message-form.png docs/message-icons.png
