#!/usr/bin/env bash
# Installs what is needed, builds everything and runs every test:
# the format check, the check that no mutable static state creeps in, the unit and end-to-end tests (CTest) built with warnings
# as errors, a short run of each fuzz target, and one pass of the tests under
# the address and undefined-behaviour sanitizers.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
./scripts/check-format.sh
python3 scripts/check-statics.py --self-test
python3 scripts/check-statics.py
./scripts/build.sh -DSCR_BUILD_TESTS=ON -DSCR_WERROR=ON
export QT_QPA_PLATFORM=offscreen
export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$(mktemp -d)}
chmod 700 "$XDG_RUNTIME_DIR"
ctest --test-dir "${SCR_BUILD_DIR:-build}" --output-on-failure -j "$(nproc)"
# The software as users install it: cmake --install, then the Debian package.
./scripts/test-install.sh
./scripts/test-deb.sh
if [ -x scripts/run-fuzzers.sh ]; then
  ./scripts/run-fuzzers.sh "${SCR_FUZZ_SECONDS:-20}"
fi
./scripts/test-sanitized.sh
