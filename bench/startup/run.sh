#!/usr/bin/env bash
# Start-up of huebox against a plain Qt Widgets window of the same size
# (startup_minimal), both run alternately under one Xvfb server:
#   - instructions from exec to the painted window, counted by callgrind
#     (one run each; the count hardly varies, unlike time on a busy machine),
#   - wall time from exec to the painted window, median of RUNS runs each,
#   - peak memory, the process's maximum resident set over its life,
#   - wall time of "huebox --pick" from exec to its pointer grab, against the
#     window's time to painted (a pick shows nothing but the picker).
#
#   bench/startup/run.sh [RUNS]        RUNS per program, default 21
#
# Builds (Release) into $HUEBOX_STARTUP_BUILD_DIR, default build-bench-startup.
# Without valgrind the instruction counts are left out (and reported missing).
# Besides the human summary it prints one line per figure,
# "name value [target<=X met|NOT met]", for other scripts.
# Exit status: 0 targets met, 3 a target missed, anything else a failure.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)

# Targets: huebox's figure over the plain window's.
instructions_target=1.15
time_target=1.1
memory_target_mib=3
# --pick to the grab over the window to painted.
pick_target=0.9

# Inside the X server: RUNS HUEBOX MINIMAL PROBE. One line per measured run on
# stdout: "PROGRAM MAPPED_MS PAINTED_MS HWM_AT_MAP_KIB MAXRSS_KIB CPU_MS EXIT",
# then with valgrind one "instructions PROGRAM COUNT" line per program.
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
        if [ "$1" = pick ]; then
            out=$("$probe" -g "$huebox" --pick) || { echo "measuring $1 failed" >&2; exit 1; }
        else
            out=$("$probe" "$title" "$program") || { echo "measuring $1 failed" >&2; exit 1; }
        fi
        case ${out##* } in
        0 | term) ;;
        *) echo "warning: $1 did not exit cleanly after the close request (${out##* })" >&2 ;;
        esac
        echo "$1 $out"
    }
    # Unmeasured first runs: page cache, font cache.
    one huebox >/dev/null
    one minimal >/dev/null
    one pick >/dev/null
    # Instructions: the probe ends the program with SIGTERM once its window is
    # painted, and callgrind writes what it counted up to there. A fixed hash
    # seed keeps the count the same from run to run.
    if command -v valgrind >/dev/null; then
        counts=$(mktemp -d)
        for name in huebox minimal; do
            title='Startup minimal' program=$minimal
            [ "$name" = huebox ] && { title='Huebox v1.0'; program=$huebox; }
            QT_HASH_SEED=0 "$probe" -k -t 300000 "$title" valgrind --tool=callgrind \
                --callgrind-out-file="$counts/$name.out" "$program" >/dev/null 2>"$counts/$name.log" ||
                { cat "$counts/$name.log" >&2; echo "counting $name failed" >&2; exit 1; }
            count=$(awk '$1 == "totals:" { print $2 }' "$counts/$name.out")
            [ -n "$count" ] || { echo "callgrind gave no count for $name" >&2; exit 1; }
            echo "instructions $name $count"
        done
        rm -rf "$counts"
    fi
    for i in $(seq 1 "$runs"); do
        # Alternate which goes first so neither always follows the other.
        if [ $((i % 2)) -eq 1 ]; then
            one huebox
            one minimal
            one pick
        else
            one pick
            one minimal
            one huebox
        fi
        echo "run $i/$runs done" >&2
    done
    exit 0
fi

runs=${1:-21}
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
[ "$(grep -c '^huebox ' "$results")" -eq "$runs" ] && [ "$(grep -c '^minimal ' "$results")" -eq "$runs" ] &&
    [ "$(grep -c '^pick ' "$results")" -eq "$runs" ] ||
    { echo "incomplete results:" >&2; cat "$results" >&2; exit 1; }

echo
echo "Per run (ms exec to mapped, ms to painted, KiB VmHWM at map, KiB peak RSS, CPU ms, exit; for pick: to the grab):"
grep -v '^instructions ' "$results" | sed 's/^/  /'

# median PROGRAM COLUMN: 2 mapped, 3 painted, 4 VmHWM at map, 5 peak RSS, 6 CPU.
median() {
    awk -v p="$1" -v c="$2" '$1 == p { print $c }' "$results" | sort -g |
        awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}
instructions() { awk -v p="$1" '$1 == "instructions" && $2 == p { print $3 }' "$results"; }

awk -v runs="$runs" -v hm="$(median huebox 2)" -v mm="$(median minimal 2)" \
    -v hp="$(median huebox 3)" -v mp="$(median minimal 3)" \
    -v hs="$(median huebox 5)" -v ms="$(median minimal 5)" -v hh="$(median huebox 4)" -v mh="$(median minimal 4)" \
    -v hc="$(median huebox 6)" -v mc="$(median minimal 6)" -v pg="$(median pick 3)" -v tp="$pick_target" \
    -v hi="$(instructions huebox)" -v mi="$(instructions minimal)" \
    -v ti="$instructions_target" -v tt="$time_target" -v tm="$memory_target_mib" '
function verdict(ok) { return ok ? "met" : "NOT met" }
BEGIN {
    counted = hi != "" && mi != ""
    iratio = counted ? hi / mi : -1
    tratio = (hp > 0 && mp > 0) ? hp / mp : -1
    delta = (hs - ms) / 1024
    pratio = (pg > 0 && hp > 0) ? pg / hp : -1
    ok = (!counted || iratio <= ti) && tratio > 0 && tratio <= tt && delta <= tm && pratio > 0 && pratio <= tp
    printf "\nMedians of %d runs each:\n", runs
    f = "  %-8s painted %6.1f ms (mapped %6.1f ms, CPU %6.1f ms)  peak RSS %5.1f MiB (%5.1f at map)\n"
    printf f, "huebox", hp, hm, hc, hs / 1024, hh / 1024
    printf f, "minimal", mp, mm, mc, ms / 1024, mh / 1024
    if (counted)
        printf "Instructions to the painted window: huebox %d, minimal %d: %.3f x (target <= %s x): %s\n",
               hi, mi, iratio, ti, verdict(iratio <= ti)
    else
        printf "Instructions: not counted (valgrind is missing)\n"
    printf "Time to the painted window: huebox takes %.3f x the minimal program (target <= %s x): %s\n",
           tratio, tt, verdict(tratio > 0 && tratio <= tt)
    printf "Memory: huebox uses %.1f MiB more than the minimal program (target <= %s MiB): %s\n",
           delta, tm, verdict(delta <= tm)
    printf "--pick to the pointer grab: %.1f ms, %.3f x the window to painted (target <= %s x): %s\n\n",
           pg, pratio, tp, verdict(pratio > 0 && pratio <= tp)
    printf "startup_huebox_ms %.1f\n", hp
    printf "startup_minimal_ms %.1f\n", mp
    printf "mapped_ratio %.3f\n", hm / mm
    printf "cpu_ratio %.3f\n", hc / mc
    printf "peak_rss_huebox_mib %.1f\n", hs / 1024
    printf "peak_rss_minimal_mib %.1f\n", ms / 1024
    if (counted) {
        printf "instructions_huebox %d\n", hi
        printf "instructions_minimal %d\n", mi
        printf "instructions_ratio %.3f target<=%s %s\n", iratio, ti, verdict(iratio <= ti)
    }
    printf "startup_ratio %.3f target<=%s %s\n", tratio, tt, verdict(tratio > 0 && tratio <= tt)
    printf "memory_delta_mib %.1f target<=%s %s\n", delta, tm, verdict(delta <= tm)
    printf "pick_grab_ms %.1f\n", pg
    printf "pick_ratio %.3f target<=%s %s\n", pratio, tp, verdict(pratio > 0 && pratio <= tp)
    exit ok ? 0 : 3
}'
