#!/usr/bin/env bash
# Configures and builds the project in build/ (or $SCR_BUILD_DIR).
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD_DIR=${SCR_BUILD_DIR:-build}
cmake -S . -B "$BUILD_DIR" -G Ninja "$@"
cmake --build "$BUILD_DIR" -j "$(nproc)"
