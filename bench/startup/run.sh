#!/usr/bin/env bash
# Start-up time and peak memory of huebox against a plain Qt Widgets window of
# the same size (startup_minimal), both run alternately under one Xvfb server.
#
#   bench/startup/run.sh [RUNS]        RUNS per program, default 11
#
# Builds (Release) into $HUEBOX_STARTUP_BUILD_DIR, default build-bench-startup.
# Start-up is exec to the window being mapped; peak memory is the process's
# maximum resident set over its life. Besides the human summary it prints one
# line per figure, "name value [target<=X met|NOT met]", for other scripts.
# Exit status: 0 targets met, 3 a target missed, anything else a failure.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)

# Inside the X server: RUNS HUEBOX MINIMAL PROBE. One line per measured run on
# stdout: "PROGRAM MAPPED_MS READY_MS HWM_AT_MAP_KIB MAXRSS_KIB CPU_MS EXIT".
if [ "${1:-}" = "--measure" ]; then
    runs=$2
    huebox=$3
    minimal=$4
    probe=$5
    unset QT_QPA_PLATFORM
    export LC_ALL=C.UTF-8
    # A private runtime directory, as a desktop session would give.
    XDG_RUNTIME_DIR=$(mktemp -d)
    export XDG_RUNTIME_DIR
    trap 'rm -rf "$XDG_RUNTIME_DIR"' EXIT
    one() { # NAME
        local out
        local title='Startup minimal' program=$minimal
        [ "$1" = huebox ] && { title='Huebox v1.0'; program=$huebox; }
        out=$("$probe" "$title" "$program") || { echo "measuring $1 failed" >&2; exit 1; }
        case ${out##* } in
        0) ;;
        *) echo "warning: $1 did not exit cleanly after the close request (${out##* })" >&2 ;;
        esac
        echo "$1 $out"
    }
    # Unmeasured first runs: page cache, font cache.
    one huebox >/dev/null
    one minimal >/dev/null
    for i in $(seq 1 "$runs"); do
        # Alternate which goes first so neither always follows the other.
        if [ $((i % 2)) -eq 1 ]; then
            one huebox
            one minimal
        else
            one minimal
            one huebox
        fi
        echo "run $i/$runs done" >&2
    done
    exit 0
fi

runs=${1:-11}
case $runs in
'' | *[!0-9]*) echo "usage: $0 [RUNS]" >&2; exit 2 ;;
esac
[ "$runs" -ge 1 ] || { echo "usage: $0 [RUNS]" >&2; exit 2; }

build=${HUEBOX_STARTUP_BUILD_DIR:-$root/build-bench-startup}
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
targets=$(cmake --build "$build" --target help)
if grep -q '^startup_minimal:' <<<"$targets"; then
    cmake --build "$build" -j2 --target huebox startup_minimal startup_probe
    tools=$build/bench/startup
else
    # bench/ is left out when Google Benchmark is missing; build these alone.
    tools=$build/startup-standalone
    cmake -S "$here" -B "$tools" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
    cmake --build "$build" -j2 --target huebox
    cmake --build "$tools" -j2 --target startup_minimal startup_probe
fi
huebox=$build/app/huebox
minimal=$tools/startup_minimal
probe=$tools/startup_probe

results=$(mktemp)
trap 'rm -f "$results"' EXIT
xvfb-run -a -s "-screen 0 1024x768x24" \
    bash "$here/run.sh" --measure "$runs" "$huebox" "$minimal" "$probe" >"$results"
[ "$(grep -c '^huebox ' "$results")" -eq "$runs" ] && [ "$(grep -c '^minimal ' "$results")" -eq "$runs" ] ||
    { echo "incomplete results:" >&2; cat "$results" >&2; exit 1; }

echo
echo "Per run (ms exec to mapped, ms to ready, KiB VmHWM at map, KiB peak RSS, CPU ms, exit):"
sed 's/^/  /' "$results"

# median PROGRAM COLUMN: 2 mapped, 3 ready, 4 VmHWM at map, 5 peak RSS, 6 CPU.
median() {
    awk -v p="$1" -v c="$2" '$1 == p { print $c }' "$results" | sort -g |
        awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}
h_map=$(median huebox 2); m_map=$(median minimal 2)
h_ready=$(median huebox 3); m_ready=$(median minimal 3)
h_rss=$(median huebox 5); m_rss=$(median minimal 5)
h_hwm=$(median huebox 4); m_hwm=$(median minimal 4)
h_cpu=$(median huebox 6); m_cpu=$(median minimal 6)

awk -v runs="$runs" -v hm="$h_map" -v mm="$m_map" -v hr="$h_ready" -v mr="$m_ready" \
    -v hs="$h_rss" -v ms="$m_rss" -v hh="$h_hwm" -v mh="$m_hwm" -v hc="$h_cpu" -v mc="$m_cpu" '
function verdict(ok) { return ok ? "met" : "NOT met" }
BEGIN {
    ratio = hm / mm
    delta = (hs - ms) / 1024
    printf "\nMedians of %d runs each:\n", runs
    f = "  %-8s start-up %6.1f ms (ready %6.1f ms, CPU %6.1f ms)  peak RSS %5.1f MiB (%5.1f at map)\n"
    printf f, "huebox", hm, hr, hc, hs / 1024, hh / 1024
    printf f, "minimal", mm, mr, mc, ms / 1024, mh / 1024
    printf "Start-up: huebox takes %.2f x the minimal program (target <= 1.2 x): %s\n", ratio, verdict(ratio <= 1.2)
    printf "Memory:   huebox uses %.1f MiB more than the minimal program (target <= 8 MiB): %s\n\n",
           delta, verdict(delta <= 8)
    printf "startup_huebox_ms %.1f\n", hm
    printf "startup_minimal_ms %.1f\n", mm
    printf "ready_ratio %.3f\n", (mr > 0 && hr > 0) ? hr / mr : -1
    printf "cpu_ratio %.3f\n", hc / mc
    printf "peak_rss_huebox_mib %.1f\n", hs / 1024
    printf "peak_rss_minimal_mib %.1f\n", ms / 1024
    printf "startup_ratio %.3f target<=1.2 %s\n", ratio, verdict(ratio <= 1.2)
    printf "memory_delta_mib %.1f target<=8 %s\n", delta, verdict(delta <= 8)
    exit (ratio <= 1.2 && delta <= 8) ? 0 : 3
}'
