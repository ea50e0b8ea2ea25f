#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test through
# ctest (unit tests on the offscreen platform, end-to-end tests under Xvfb).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release
cmake --build build -j2
ctest --test-dir build --output-on-failure -j2
