#!/usr/bin/env bash
# Sets up, builds and opens the sample analysis shipped in examples/.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
build_dir=${BUILD_DIR:-build}
exec "$build_dir/bin/vando3" examples/sample.vdp
