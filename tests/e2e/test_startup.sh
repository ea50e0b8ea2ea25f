#!/usr/bin/env bash
# The program starts, shows its fixed-size window and exits with 0 when the
# window is closed.
set -u
source "$(dirname "$0")/lib.sh" "$@"

start_huebox
geometry=$(xdotool getwindowgeometry "$HUEBOX_WINDOW")
echo "$geometry"
grep -q 'Geometry: 557x223' <<<"$geometry" || fail "client area is not 557x223"

close_huebox
code=$?
[ "$code" -eq 0 ] || fail "exit code $code"
echo "PASS: started, 557x223, closed with exit code 0"
