#!/usr/bin/env bash
# Installs what the build and the tests need on a Debian 12 machine, then configures and builds
# (with --packages-only, only installs).
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(cmake g++ ninja-build qt6-base-dev qt6-base-dev-tools libgl-dev libboost-dev
          libgtest-dev libgmock-dev libbenchmark-dev libcli11-dev xvfb xauth
          qt6-charts-dev qt6-svg-dev
          clang libclang-rt-14-dev dpkg-dev file nlohmann-json3-dev libcurl4-openssl-dev
          zlib1g-dev)
source scripts/apt_install.sh
apt_install "${packages[@]}"

[ "${1:-}" = "--packages-only" ] && exit 0

build_dir=${BUILD_DIR:-build}
cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$build_dir" -j "$(nproc)"
