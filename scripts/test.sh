#!/usr/bin/env bash
# Installs what is missing, checks the sources' format, builds Release
# (warnings as errors) and runs the whole suite through ctest: unit tests on
# the offscreen platform, the real program under Xvfb, the accessibility
# session, the install and package tests, and a short seeded monkey run.
#   scripts/test.sh          that, in a few minutes
#   scripts/test.sh --full   also the 100 000-event monkey run, then the whole
#                            suite again built with AddressSanitizer and
#                            UndefinedBehaviorSanitizer (what CI runs)
# HUEBOX_REQUIRE_TEST_TOOLS=ON in the environment makes a missing test tool a
# configuration error instead of a dropped test group.
set -euo pipefail
cd "$(dirname "$0")/.."
full=false
case "${1:-}" in
'') ;;
--full) full=true ;;
*) echo "usage: $0 [--full]" >&2; exit 2 ;;
esac
bash scripts/install-deps.sh --test
bash scripts/format.sh --check

require=-DHUEBOX_REQUIRE_TEST_TOOLS=${HUEBOX_REQUIRE_TEST_TOOLS:-OFF}
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DHUEBOX_WERROR=ON "$require"
cmake --build build -j2
if $full; then
  # A fresh seed each run; the test prints it for a repeat.
  HUEBOX_MONKEY_EVENTS=100000 HUEBOX_MONKEY_SEED=random ctest --test-dir build --output-on-failure -j2
else
  ctest --test-dir build --output-on-failure -j2
fi

$full || exit 0

echo "== the same suite with AddressSanitizer and UndefinedBehaviorSanitizer"
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DHUEBOX_SANITIZE=ON -DHUEBOX_BUILD_BENCH=OFF \
  -DHUEBOX_WERROR=ON "$require"
cmake --build build-asan -j2
export ASAN_OPTIONS="halt_on_error=1:detect_leaks=1:abort_on_error=1"
export LSAN_OPTIONS="suppressions=$PWD/scripts/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
ctest --test-dir build-asan --output-on-failure -j2
