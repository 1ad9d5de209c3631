#!/usr/bin/env bash
# Installs the Ruffle Flash player (npm package @ruffle-rs/ruffle, the exact
# version and hash pinned in third_party/ruffle/package-lock.json) into
# third_party/ruffle/node_modules. The build copies its files beside the
# programs (build/bin/ruffle). Nothing of it is committed.
set -euo pipefail
cd "$(dirname "$0")/../third_party/ruffle"
# Already installed at the locked version: nothing to do.
if node -e '
  const want = require("./package-lock.json").packages["node_modules/@ruffle-rs/ruffle"].version;
  const have = require("./node_modules/@ruffle-rs/ruffle/package.json").version;
  process.exit(want === have ? 0 : 1);' 2>/dev/null; then
  exit 0
fi
npm ci --ignore-scripts --no-audit --no-fund
