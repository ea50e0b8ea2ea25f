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

# Typing a name finds its row also after a click on a number cell.
click_at 180 97 # the Red cell of AliceBlue
xdotool key --window "$HUEBOX_WINDOW" g o l d
expect_copy '$0000D7FF' "Gold typed after a click on the Red column"

# Open the basic colours (White is selected), go up to Red and take it.
click_at 504 15
wait_popups 1
xdotool key --window "$HUEBOX_WINDOW" Up Up Up Up Up Up Return
wait_popups 0
expect_copy '$000000FF' "Red from the combo box"

# In the open list each arrow key is a choice: Down takes Lime at once, and
# after Escape the closed box goes on from Lime (Down gives Yellow).
click_at 504 15
wait_popups 1
xdotool key --window "$HUEBOX_WINDOW" Down Escape
wait_popups 0
expect_copy '$0000FF00' "Lime by Down in the open list, kept after Escape"
click_at 504 15
wait_popups 1
xdotool key --window "$HUEBOX_WINDOW" Escape Down
wait_popups 0
expect_copy '$0000FFFF' "Yellow by Down on the closed box after Lime"

close_huebox
code=$?
[ "$code" -eq 0 ] || fail "exit code $code"
echo "PASS: colours picked from the list and the combo box"
