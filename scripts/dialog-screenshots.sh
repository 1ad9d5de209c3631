#!/usr/bin/env bash
# Renders the skinned frame and the message form offscreen and saves their
# pictures into docs/ (docs/skinned-frame.png, docs/skinned-frame-states.png, docs/message-form.png,
# docs/message-icons.png, docs/installer-wizard.png), so the look can be judged without running the program.
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD_DIR=${SCR_BUILD_DIR:-build}
cmake --build "$BUILD_DIR" --target test_dialogs test_installer
export QT_QPA_PLATFORM=offscreen
export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$(mktemp -d)}
chmod 700 "$XDG_RUNTIME_DIR"
SCR_SCREENSHOT_DIR="$PWD/docs" "$BUILD_DIR/bin/test_dialogs" \
  --gtest_filter='SkinnedFrame.DrawsItsPicturesAtTheirPlaces:SkinnedFrame.TitleBarStates:MessageForm.Screenshot'
SCR_SCREENSHOT_DIR="$PWD/docs" "$BUILD_DIR/bin/test_installer" --gtest_filter='InstallerWizard.Screenshot'
ls -l docs/installer-wizard.png docs/skinned-frame.png docs/skinned-frame-states.png docs/message-form.png docs/message-icons.png
