#!/usr/bin/env bash
# Builds the fuzz targets (clang, ASan + UBSan) and runs each for SECONDS
# seconds, one after the other, on a corpus that starts from generated seeds.
# Exits non-zero when a target finds a fault.
#   scripts/run-fuzzers.sh SECONDS [BUILD_DIR]
set -euo pipefail

seconds=${1:?usage: run-fuzzers.sh SECONDS [BUILD_DIR]}
root=$(cd "$(dirname "$0")/.." && pwd)
build=${2:-$root/build-fuzz}

cmake -S "$root" -B "$build" -G Ninja -DSCR_FUZZ=ON -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_C_COMPILER=clang \
  -DSCR_BUILD_TESTS=OFF -DSCR_BUILD_BENCH=OFF -DSCR_BUILD_DEMO=OFF >/dev/null
# One target per fuzz/*.cpp: AppendedPackage.cpp -> fuzz_appended_package.
targets=()
for source in "$root"/fuzz/*.cpp; do
  name=$(basename "$source" .cpp | sed -E 's/([a-z0-9])([A-Z])/\1_\2/g' | tr '[:upper:]' '[:lower:]')
  targets+=("fuzz_$name")
done
ninja -C "$build" -j2 fuzz_write_seeds "${targets[@]}"

corpus=$build/corpus
"$build/bin/fuzz_write_seeds" "$corpus"
for target in "${targets[@]}"; do
  name=${target#fuzz_}
  mkdir -p "$corpus/$name" "$build/findings/$name"
  echo "== $target for ${seconds}s"
  "$build/bin/$target" "$corpus/$name" -max_total_time="$seconds" -rss_limit_mb=2048 -timeout=10 \
    -artifact_prefix="$build/findings/$name/" -print_final_stats=1 2>&1 | tail -n 12
done
