#!/usr/bin/env bash
# Builds Release and runs every benchmark in bench/: the hot paths (slider,
# list sort, cell comparison, colour model) and the start-up comparison.
# Prints one table: each figure, its target and whether it is met.
# Usage: scripts/bench.sh [START-UP-RUNS]   (default 21)
# Exit status: 0 when every target is met, 3 when one is missed.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh --bench
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build -j2 --target bench_slider bench_listsort bench_cellcompare bench_colormodel \
  bench_colortext bench_contrast bench_paste bench_magnifier bench_frozen >/dev/null

rows=$(mktemp)
trap 'rm -f "$rows"' EXIT

# Google Benchmark's CSV: "name",iterations,real_time,cpu_time,time_unit,...
# Each figure is the CPU time of one benchmark, in the unit given.
figures() { # EXECUTABLE
  QT_QPA_PLATFORM=offscreen "$1" --benchmark_format=csv 2>/dev/null |
    awk -F, 'NR > 1 { gsub(/"/, "", $1); print $1, $4, $5 }'
}
# Adds a row: NAME VALUE UNIT TARGET (value must not exceed the target).
row() {
  awk -v n="$1" -v v="$2" -v u="$3" -v t="$4" \
    'BEGIN { printf "%-34s %12.3f %-5s <= %-10s %s\n", n, v, u, t, (v <= t ? "met" : "NOT met") }' >>"$rows"
}
value_of() { awk -v n="$2" '$1 == n { print $2 }' <<<"$1"; }

echo "== hot paths" >&2
slider=$(figures build/bench/bench_slider)
row "slider: thumb drag move + repaint" "$(value_of "$slider" BM_ThumbDragMove)" us 200
row "slider: full paint" "$(value_of "$slider" BM_FullPaint)" us 1000
sort=$(figures build/bench/bench_listsort)
for column in 0 2 4; do
  row "list: re-sort 139 rows, column $column" "$(value_of "$sort" "BM_HeaderClickResort/$column")" us 1000
done
row "list: sort column change" "$(value_of "$sort" BM_SortColumnChange)" us 1000
cells=$(figures build/bench/bench_cellcompare)
row "cells: 100 000 rows, typed / QCollator" \
  "$(awk -v a="$(value_of "$cells" BM_SortCellCompare)" -v b="$(value_of "$cells" BM_SortCollator)" \
     'BEGIN { print a / b }')" ratio 3
model=$(figures build/bench/bench_colormodel)
for format in 0 1 2 3 4; do
  row "colour model: change, format $format" "$(value_of "$model" "BM_ChangeColor/$format")" ns 10000
done
# The slowest of the benchmarks named PREFIX/..., in microseconds; no
# figures is a failure, not a pass. Usage: slowest EXECUTABLE PREFIX
slowest() {
  local v
  v=$(figures "$1" | awk -v p="$2/" 'index($1, p) == 1 {
    v = $2 / ($3 == "ns" ? 1000 : $3 == "ms" ? 0.001 : $3 == "s" ? 0.000001 : 1); if (!n++ || v > m) m = v
  } END { if (n) print m }')
  [ -n "$v" ] || { echo "$(basename "$1") gave no figures" >&2; exit 1; }
  echo "$v"
}
# Assigned first, so that a benchmark without figures stops the script.
read_us=$(slowest build/bench/bench_colortext BM_ReadColorText)
paste_us=$(slowest build/bench/bench_paste BM_PasteColor)
new_form_us=$(slowest build/bench/bench_colortext BM_ReadNewForm)
nearest_us=$(figures build/bench/bench_colortext | awk '$1 == "BM_NearestColor" { print $2 / ($3 == "ns" ? 1000 : 1) }')
[ -n "$nearest_us" ] || { echo "bench_colortext gave no nearest-colour figure" >&2; exit 1; }
row "colour text: read, slowest form" "$read_us" us 50
row "colour text: read, slowest new form" "$new_form_us" us 50
row "nearest colour name, 139 names" "$nearest_us" us 20
row "paste: key to preview, slowest form" "$paste_us" us 50
# Computed when the preview's "Контраст" opens: the pair of the manual's
# example, and the slowest of the pairs benchmarked (saturated colours whose
# nearest passing colours lie in a wide field of nearly equal differences).
contrast=$(figures build/bench/bench_contrast)
row "contrast: 4 suggestions, grey/white" "$(value_of "$contrast" BM_ContrastSuggestions/GreyOnWhite)" ms 20
contrast_slowest_us=$(slowest build/bench/bench_contrast BM_ContrastSuggestions)
row "contrast: 4 suggestions, slowest" "$(awk -v v="$contrast_slowest_us" 'BEGIN { print v / 1000 }')" ms 20

# The magnifier needs an X server; its figure is wall time, since the server
# does half the work.
magnifier=$(xvfb-run -a -s "-screen 0 1024x768x24" build/bench/bench_magnifier --benchmark_format=csv 2>/dev/null |
  awk -F, 'NR > 1 { print $3, $NF }')
[ -n "$magnifier" ] || { echo "bench_magnifier gave no figures" >&2; exit 1; }
row "magnifier: motion to repaint, x4" "$(awk '{ print $1 }' <<<"$magnifier")" us 1000
row "magnifier: memory over 10 000 motions" "$(awk '{ print $2 }' <<<"$magnifier")" KiB 0
# The frozen pick of a Wayland session, wall time: the portal's screenshot
# (3360x2048) to the first frame, and an arrow key to the magnifier repainted.
# The portal's own time (0.8-0.9 s for the wlroots one) comes before it.
frozen=$(QT_QPA_PLATFORM=offscreen build/bench/bench_frozen --benchmark_format=csv 2>/dev/null |
  awk -F, 'NR > 1 { gsub(/"/, "", $1); sub(/\/.*/, "", $1); print $1, $3 }')
[ -n "$frozen" ] || { echo "bench_frozen gave no figures" >&2; exit 1; }
row "frozen pick: screenshot to first frame" "$(value_of "$frozen" BM_FrozenFirstFrame)" ms 150
row "frozen pick: arrow key to repaint" "$(value_of "$frozen" BM_FrozenArrowKey)" us 1000

echo "== start-up" >&2
startup=$(HUEBOX_STARTUP_BUILD_DIR=build bash bench/startup/run.sh "${1:-21}" 2>&1 || true)
figure() { awk -v n="$1" '$1 == n { print $2 }' <<<"$startup"; }
instructions=$(figure instructions_ratio)
ratio=$(figure startup_ratio)
memory=$(figure memory_delta_mib)
pick=$(figure pick_ratio)
if [ -z "$instructions" ] || [ -z "$ratio" ] || [ -z "$memory" ] || [ -z "$pick" ]; then
  echo "$startup" >&2
  echo "the start-up benchmark gave no figures" >&2
  exit 1
fi
# The targets are the start-up benchmark's own (bench/startup/run.sh).
target() { awk -v n="$1" '$1 == n { sub(/^target<=/, "", $3); print $3 }' <<<"$startup"; }
row "start-up: instructions / plain window" "$instructions" ratio "$(target instructions_ratio)"
row "start-up: time / plain Qt window" "$ratio" ratio "$(target startup_ratio)"
row "start-up: peak memory over it" "$memory" MiB "$(target memory_delta_mib)"
row "--pick to the grab / window start-up" "$pick" ratio "$(target pick_ratio)"

printf "%-34s %12s %-5s    %-10s %s\n" figure value unit target verdict
cat "$rows"
grep -q "NOT met" "$rows" && exit 3
exit 0
