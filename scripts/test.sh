#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test through
# ctest (unit tests on the offscreen platform, end-to-end tests under Xvfb);
# then builds and runs the whole suite again with AddressSanitizer and
# UndefinedBehaviorSanitizer. Usage: scripts/test.sh [--quick]  (--quick skips
# the sanitizer pass)
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release
cmake --build build -j2
ctest --test-dir build --output-on-failure -j2

[ "${1:-}" = "--quick" ] && exit 0

echo "== the same suite with AddressSanitizer and UndefinedBehaviorSanitizer"
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DHUEBOX_SANITIZE=ON -DHUEBOX_BUILD_BENCH=OFF
cmake --build build-asan -j2
export ASAN_OPTIONS="halt_on_error=1:detect_leaks=1:abort_on_error=1"
export LSAN_OPTIONS="suppressions=$PWD/scripts/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
ctest --test-dir build-asan --output-on-failure -j2
