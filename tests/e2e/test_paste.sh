#!/usr/bin/env bash
# Colours in and out by keyboard in the real program: a colour pasted from the
# real X clipboard with Ctrl+V, the literal copied with Ctrl+C from a slider,
# a colour picked from the screen.
set -u
source "$(dirname "$0")/lib.sh" "$@"

start_huebox
xdotool windowfocus --sync "$HUEBOX_WINDOW"

# Polls the clipboard until it holds the text; prints what it held last.
wait_clipboard() {
  local got=
  for _ in $(seq 1 50); do
    got=$(xclip -o -selection clipboard 2>/dev/null || true)
    [ "$got" = "$1" ] && return 0
    sleep 0.1
  done
  echo "$got"
  return 1
}

printf '#336699' | xclip -i -selection clipboard
wait_clipboard '#336699' >/dev/null || fail "the clipboard did not take the text"
click_at 60 56 # the palette page's tab, so the window has the focus
xdotool key --window "$HUEBOX_WINDOW" ctrl+v
expect_copy '$00996633' "#336699 pasted with Ctrl+V"

# Ctrl+C on the focused red slider copies the literal as the button does.
printf 'something else' | xclip -i -selection clipboard
click_at 60 56
xdotool key --window "$HUEBOX_WINDOW" Tab Tab Tab Home
got=$(wait_clipboard 'something else') || fail "the clipboard did not take the text: '$got'"
xdotool key --window "$HUEBOX_WINDOW" ctrl+c
got=$(wait_clipboard '$00996600') || fail "Ctrl+C on the red slider: clipboard holds '$got', expected '\$00996600'"
echo 'ok: Ctrl+C on the red slider -> $00996600'

# A pick from the screen: the blue slider's face, left of its ruler, shows its
# tint (0, 0, 153); a second pick given up with Escape changes nothing.
window_origin
xdotool key --window "$HUEBOX_WINDOW" ctrl+p
sleep 0.3
xdotool mousemove $((x + 36)) $((y + 184)) click 1
sleep 0.3
expect_copy '$00990000' "a pick of the blue slider's face"
xdotool key --window "$HUEBOX_WINDOW" ctrl+p
sleep 0.3
xdotool mousemove $((x + 36)) $((y + 140)) key Escape
sleep 0.3
expect_copy '$00990000' "a pick given up with Escape"

close_huebox
code=$?
[ "$code" -eq 0 ] || fail "exit code $code"
echo "PASS: pasted, picked and copied by keyboard through the real X clipboard"
