#!/usr/bin/env bash
# Sets up, builds and runs every test (window tests run offscreen).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "${BUILD_DIR:-build}" --output-on-failure -j "$(nproc)"
