#!/usr/bin/env bash
# Picking a colour in the real program, from the named-colour list and from
# the basic colours of the combo box, then copying its literal.
set -u
source "$(dirname "$0")/lib.sh" "$@"

start_huebox
xdotool windowfocus --sync "$HUEBOX_WINDOW"

click_at 190 56 # the "colour constants" page
click_at 40 97  # its first row, AliceBlue
expect_copy '$00FFF8F0' "AliceBlue from the list"

# Open the basic colours (White is selected), go up to Red and take it.
click_at 504 15
xdotool key --window "$HUEBOX_WINDOW" Up Up Up Up Up Up Return
sleep 0.3
expect_copy '$000000FF' "Red from the combo box"

close_huebox
code=$?
[ "$code" -eq 0 ] || fail "exit code $code"
echo "PASS: colours picked from the list and the combo box"
