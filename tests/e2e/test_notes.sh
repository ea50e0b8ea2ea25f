#!/usr/bin/env bash
# In the real program under a real pointer: a colour that came in after a
# choice in the combo box stays when the focus leaves the box; the copy
# button's click shows its confirmation; a bad paste is explained in a note,
# not in a box to dismiss.
set -u
source "$(dirname "$0")/lib.sh" "$@"

start_huebox
xdotool windowfocus --sync "$HUEBOX_WINDOW"

XSHOT=$(dirname "$XCLOSE")/xshot
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# The program's visible windows other than the main one, as "id name" lines.
other_windows() {
  local id
  for id in $(xdotool search --onlyvisible --pid "$HUEBOX_PID" 2>/dev/null); do
    [ "$id" = "$HUEBOX_WINDOW" ] && continue
    echo "$id $(xdotool getwindowname "$id" 2>/dev/null)"
  done
}

# Saves what the window shows into a file.
shot() { "$XSHOT" "$1" "$HUEBOX_WINDOW" || fail "no picture of the window"; }

# Whether the window shows what the file holds (SAME) or something else (OTHER).
picture_is() {
  shot "$tmp/now.png"
  if cmp -s "$tmp/now.png" "$2"; then [ "$1" = SAME ]; else [ "$1" = OTHER ]; fi
}
expect_picture() { wait_until 3 picture_is "$1" "$2" || fail "$3"; }

# Saves what the window shows once two pictures in a row agree.
settled_shot() {
  shot "$1"
  wait_until 3 picture_is SAME "$1" || fail "the window does not settle"
}

# A note is drawn over the window, in a window of no other: the window's
# picture changes from what it was before, and no other window opens.
expect_note() {
  expect_picture OTHER "$tmp/before.png" "$1: no note drawn"
  [ -z "$(other_windows)" ] || fail "$1: a window besides the main one: $(other_windows | tr '\n' ';')"
  echo "ok: $1 shows its note"
}

# The dialog in which a colour is typed, open.
entry_dialog_shown() { other_windows | grep -q " Ввести цвет$"; }

# Lime from the open combo box, chosen afresh whatever was selected: Home
# takes Black, ten rows down is Lime.
choose_lime() {
  click_at 504 15
  wait_popups 1
  xdotool key --window "$HUEBOX_WINDOW" Home Down Down Down Down Down Down Down Down Down Down Return
  wait_popups 0
}

# The copy button under the real pointer, which then rests on it.
settled_shot "$tmp/before.png"
click_at 502 206
expect_note "a click on the copy button"

# Each click right after a copy, while its confirmation is shown, reaches the
# format or target button under it: the next copy shows it.
for step in '482|101|0x00FFFFFF|Visual C++' '482|123|&H00FFFFFF&|Visual Basic' '482|145|#FFFFFF|HTML' \
  '470|40|#000000|text target' '530|40|#FFFFFF|background target' \
  '482|167|<BODY BGCOLOR="#FFFFFF" TEXT="#000000">|HTML-<body>' '482|79|$00FFFFFF|Delphi'; do
  IFS='|' read -r cx cy literal what <<<"$step"
  click_at "$cx" "$cy"
  expect_copy "$literal" "$what, clicked right after a copy"
done

choose_lime
expect_copy '$0000FF00' "Lime from the combo box"

choose_lime
set_clipboard '#FF8000'
xdotool key --window "$HUEBOX_WINDOW" ctrl+v Tab
expect_copy '$000080FF' "a paste after a choice in the combo box, kept when the focus leaves it"

xdotool key --window "$HUEBOX_WINDOW" Escape
choose_lime
xdotool key --window "$HUEBOX_WINDOW" ctrl+l
wait_until 5 entry_dialog_shown || fail "the entry dialog did not open"
xdotool type --delay 20 '#336699'
xdotool key Return
wait_until 5 eval '! entry_dialog_shown' || fail "the entry dialog did not close"
xdotool key --window "$HUEBOX_WINDOW" Tab
expect_copy '$00996633' "a typed colour after a choice in the combo box, kept when the focus leaves it"

# A pick of the window's own silver face, between the preview and the radio buttons.
choose_lime
window_origin
xdotool key --window "$HUEBOX_WINDOW" ctrl+p
pick_started
xdotool mousemove $((x + 448)) $((y + 12)) click 1
pick_ended
xdotool key --window "$HUEBOX_WINDOW" Tab
expect_copy '$00C0C0C0' "a pick after a choice in the combo box, kept when the focus leaves it"

# A bad paste: a note says why, no other window opens, the next copy works.
set_clipboard '#12345'
click_at 60 56
settled_shot "$tmp/before.png"
xdotool key --window "$HUEBOX_WINDOW" ctrl+v
expect_note "a bad paste"
expect_copy '$00C0C0C0' "a copy after a bad paste"

# Each page tab, clicked while the note of a bad paste is shown, shows its
# page: the window looks as it did when that tab was clicked without a note.
for tab in 60 190 300; do
  click_at "$tab" 56
  settled_shot "$tmp/page$tab.png"
done
for tab in 60 190 300; do
  set_clipboard '#12345'
  settled_shot "$tmp/before.png"
  xdotool key --window "$HUEBOX_WINDOW" ctrl+v
  expect_note "a bad paste before a click on the tab at $tab"
  click_at "$tab" 56
  expect_picture SAME "$tmp/page$tab.png" "the tab at $tab, clicked over a note, did not show its page"
  echo "ok: the tab at $tab shows its page though a note was shown"
done

close_huebox
code=$?
[ "$code" -eq 0 ] || fail "exit code $code"
echo "PASS: colours kept past the combo box, copy confirmed, a bad paste explained"
