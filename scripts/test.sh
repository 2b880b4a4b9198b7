#!/usr/bin/env bash
# Builds LinkTrawl and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
ctest --test-dir "${LINKTRAWL_BUILD_DIR:-build}" --output-on-failure --timeout 600
