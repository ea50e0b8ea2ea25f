#!/usr/bin/env bash
# The program starts, shows its fixed-size window with its caption as its
# title and exits with 0 when the window is closed.
set -u
source "$(dirname "$0")/lib.sh" "$@"

start_huebox
geometry=$(xdotool getwindowgeometry "$HUEBOX_WINDOW")
echo "$geometry"
grep -q 'Geometry: 557x223' <<<"$geometry" || fail "client area is not 557x223"
# Title bars and task bars read either title property: both hold the caption alone.
for property in WM_NAME _NET_WM_NAME; do
  title=$(xprop -id "$HUEBOX_WINDOW" -notype "$property")
  [ "$title" = "$property = \"Huebox v1.0\"" ] || fail "$title"
done

close_huebox
code=$?
[ "$code" -eq 0 ] || fail "exit code $code"
echo "PASS: started, 557x223, titled 'Huebox v1.0', closed with exit code 0"
