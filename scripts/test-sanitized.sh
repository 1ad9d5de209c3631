#!/usr/bin/env bash
# One pass of the tests under AddressSanitizer and UndefinedBehaviorSanitizer,
# in its own build folder (build-sanitize/ or $SCR_SANITIZE_BUILD_DIR).
#
# The pass leaves out what would double CI's time without checking more of our
# code: the Flash engine (Qt WebEngine is not built with the sanitizers, and
# its movies play in other processes), the demo package and the benchmarks, and
# the tests labelled end_to_end (the whole program driven on Xvfb, which the
# normal pass runs). Any finding fails the test that hit it.
#
# A second, smaller sanitized build (build-sanitize-flash/ or
# $SCR_SANITIZE_FLASH_BUILD_DIR) has the Flash engine plugin, our code in it
# instrumented and Qt WebEngine as Debian ships it: it builds only the program,
# the plugin and the end-to-end tests, and ends Flash shows at 20 moments
# (ShowEndMomentsEndToEndTest), where the show's and the engine's teardown meet.
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD_DIR=${SCR_SANITIZE_BUILD_DIR:-build-sanitize}
cmake -S . -B "$BUILD_DIR" -G Ninja -DSCR_SANITIZE=ON -DSCR_BUILD_TESTS=ON -DSCR_FLASH=OFF \
  -DSCR_BUILD_DEMO=OFF -DSCR_BUILD_BENCH=OFF "$@"
cmake --build "$BUILD_DIR" -j "$(nproc)"
export QT_QPA_PLATFORM=offscreen
export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$(mktemp -d)}
chmod 700 "$XDG_RUNTIME_DIR"
# Memory errors and undefined behaviour stop the test that hits them. Leak
# checking is off: the libraries under the GUI tests (fontconfig, GLib, Qt's
# plugins) keep allocations until exit that it would report.
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=0:abort_on_error=1:detect_stack_use_after_return=0}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
ctest --test-dir "$BUILD_DIR" --output-on-failure -j "$(nproc)" -LE end_to_end

FLASH_BUILD_DIR=${SCR_SANITIZE_FLASH_BUILD_DIR:-build-sanitize-flash}
cmake -S . -B "$FLASH_BUILD_DIR" -G Ninja -DSCR_SANITIZE=ON -DSCR_BUILD_TESTS=ON -DSCR_FLASH=ON \
  -DSCR_BUILD_DEMO=OFF -DSCR_BUILD_BENCH=OFF "$@"
cmake --build "$FLASH_BUILD_DIR" -j "$(nproc)" --target scrplayer scrtool scr_show_ruffle ruffle_files test_show_e2e
# The web engine, built without the sanitizers, frees some of its own objects
# with a sized delete of another type, which the sanitizer's interceptor
# reports from inside the engine: that check is off in this stage only.
ASAN_OPTIONS="$ASAN_OPTIONS:new_delete_type_mismatch=0" SCR_END_MOMENT_RUNS=20 \
  ctest --test-dir "$FLASH_BUILD_DIR" --output-on-failure -R '^ShowEndMomentsEndToEndTest$'
