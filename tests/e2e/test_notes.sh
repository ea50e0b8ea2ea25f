#!/usr/bin/env bash
# In the real program under a real pointer: a colour that came in after a
# choice in the combo box stays when the focus leaves the box; the copy
# button's click shows its confirmation; a bad paste is explained in a note,
# not in a box to dismiss.
set -u
source "$(dirname "$0")/lib.sh" "$@"

start_huebox
xdotool windowfocus --sync "$HUEBOX_WINDOW"

# The program's visible windows other than the main one, as "id name" lines.
other_windows() {
  local id
  for id in $(xdotool search --onlyvisible --pid "$HUEBOX_PID" 2>/dev/null); do
    [ "$id" = "$HUEBOX_WINDOW" ] && continue
    echo "$id $(xdotool getwindowname "$id" 2>/dev/null)"
  done
}

# Waits until a window of the program other than the main one shows the text.
expect_note() {
  for _ in $(seq 1 30); do
    other_windows | grep -q " $1\$" && { echo "ok: note '$1' shown"; return 0; }
    sleep 0.1
  done
  fail "$2: no note '$1' among: $(other_windows | tr '\n' ';')"
}

# Lime from the open combo box, chosen afresh whatever was selected: Home
# takes Black, ten rows down is Lime.
choose_lime() {
  click_at 504 15
  xdotool key --window "$HUEBOX_WINDOW" Home Down Down Down Down Down Down Down Down Down Down Return
  sleep 0.3
}

# The copy button under the real pointer, which then rests on it.
click_at 502 206
expect_note 'Скопировано' "a click on the copy button"

choose_lime
expect_copy '$0000FF00' "Lime from the combo box"

choose_lime
printf '#FF8000' | xclip -i -selection clipboard
xdotool key --window "$HUEBOX_WINDOW" ctrl+v Tab
sleep 0.3
expect_copy '$000080FF' "a paste after a choice in the combo box, kept when the focus leaves it"

xdotool key --window "$HUEBOX_WINDOW" Escape
choose_lime
xdotool key --window "$HUEBOX_WINDOW" ctrl+l
sleep 0.5
xdotool type --delay 20 '#336699'
xdotool key Return
sleep 0.5
xdotool key --window "$HUEBOX_WINDOW" Tab
sleep 0.3
expect_copy '$00996633' "a typed colour after a choice in the combo box, kept when the focus leaves it"

# A pick of the window's own silver face, between the preview and the radio buttons.
choose_lime
window_origin
xdotool key --window "$HUEBOX_WINDOW" ctrl+p
sleep 0.3
xdotool mousemove $((x + 448)) $((y + 12)) click 1
sleep 0.3
xdotool key --window "$HUEBOX_WINDOW" Tab
sleep 0.3
expect_copy '$00C0C0C0' "a pick after a choice in the combo box, kept when the focus leaves it"

# A bad paste: a note says why, no other window opens, the next copy works.
printf '#12345' | xclip -i -selection clipboard
click_at 60 56
xdotool key --window "$HUEBOX_WINDOW" ctrl+v
expect_note 'Ошибка в цвете «#12345»: нужно 3, 4, 6 или 8 шестнадцатеричных цифр' "a bad paste"
[ "$(other_windows | wc -l)" -eq 1 ] || fail "a bad paste opened more than its note: $(other_windows | tr '\n' ';')"
expect_copy '$00C0C0C0' "a copy after a bad paste"
expect_note 'Скопировано' "the copy after a bad paste"

close_huebox
code=$?
[ "$code" -eq 0 ] || fail "exit code $code"
echo "PASS: colours kept past the combo box, copy confirmed, a bad paste explained"
