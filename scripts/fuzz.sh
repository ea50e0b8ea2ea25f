#!/usr/bin/env bash
# Builds the fuzzers with clang and libFuzzer (with AddressSanitizer and
# UndefinedBehaviorSanitizer) and runs each for a bounded time on a copy of
# its seed corpus. Usage: scripts/fuzz.sh [seconds-per-fuzzer]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
bash scripts/install-deps.sh --fuzz
cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
  -DHUEBOX_FUZZ=ON -DHUEBOX_BUILD_TESTS=OFF -DHUEBOX_BUILD_BENCH=OFF -DHUEBOX_WERROR=ON
cmake --build build-fuzz -j2 --target fuzzers

export QT_QPA_PLATFORM=offscreen
export LSAN_OPTIONS="suppressions=$PWD/scripts/lsan.supp"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
status=0
for fuzzer in build-fuzz/fuzz/fuzz_*; do
  [ -f "$fuzzer" ] && [ -x "$fuzzer" ] || continue
  name=$(basename "$fuzzer" | sed 's/^fuzz_//')
  corpus="$work/$name"
  mkdir -p "$corpus"
  [ -d "fuzz/corpus/$name" ] && cp -r "fuzz/corpus/$name/." "$corpus/"
  echo "== fuzz_$name for ${seconds}s"
  if "$fuzzer" -max_total_time="$seconds" -max_len=4096 -timeout=10 -artifact_prefix="$work/" "$corpus" \
      >"$work/$name.log" 2>&1; then
    grep -E '^Done [0-9]+ runs' "$work/$name.log" || tail -n 3 "$work/$name.log"
  else
    status=1
    tail -n 60 "$work/$name.log"
    for artifact in "$work"/crash-* "$work"/leak-* "$work"/timeout-*; do
      [ -e "$artifact" ] && { echo "artifact: $artifact"; base64 -w0 "$artifact"; echo; }
    done
  fi
done
exit $status
