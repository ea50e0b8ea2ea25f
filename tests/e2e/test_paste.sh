#!/usr/bin/env bash
# Colours in and out by keyboard in the real program: a colour pasted from the
# real X clipboard with Ctrl+V, the literal copied with Ctrl+C from a slider,
# a colour picked from the screen.
set -u
source "$(dirname "$0")/lib.sh" "$@"

start_huebox
xdotool windowfocus --sync "$HUEBOX_WINDOW"

set_clipboard '#336699'
click_at 60 56 # the palette page's tab, so the window has the focus
xdotool key --window "$HUEBOX_WINDOW" ctrl+v
expect_copy '$00996633' "#336699 pasted with Ctrl+V"

# Ctrl+C on the focused red slider copies the literal as the button does.
set_clipboard 'something else'
click_at 60 56
xdotool key --window "$HUEBOX_WINDOW" Tab Tab Tab Home
xdotool key --window "$HUEBOX_WINDOW" ctrl+c
got=$(wait_clipboard '$00996600') || fail "Ctrl+C on the red slider: clipboard holds '$got', expected '\$00996600'"
echo 'ok: Ctrl+C on the red slider -> $00996600'

# A pick from the screen: the blue slider's face, left of its ruler, shows its
# tint (0, 0, 153); a second pick given up with Escape changes nothing.
window_origin
xdotool key --window "$HUEBOX_WINDOW" ctrl+p
pick_started
xdotool mousemove $((x + 36)) $((y + 184)) click 1
pick_ended
expect_copy '$00990000' "a pick of the blue slider's face"
xdotool key --window "$HUEBOX_WINDOW" ctrl+p
pick_started
xdotool mousemove $((x + 36)) $((y + 140)) key Escape
pick_ended
expect_copy '$00990000' "a pick given up with Escape"

close_huebox
code=$?
[ "$code" -eq 0 ] || fail "exit code $code"
echo "PASS: pasted, picked and copied by keyboard through the real X clipboard"
