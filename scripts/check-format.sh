#!/usr/bin/env bash
# Fails when a C++ source of the project differs from .clang-format (third-party
# code is not ours to format). Fix with: clang-format -i FILE...
set -euo pipefail
cd "$(dirname "$0")/.."
mapfile -t files < <(git ls-files -- '*.cpp' '*.h' ':!:third_party/*')
clang-format --dry-run -Werror "${files[@]}"
echo "clang-format: ${#files[@]} files clean"
