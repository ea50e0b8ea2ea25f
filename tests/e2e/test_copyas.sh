#!/usr/bin/env bash
# "Копировать как" in the real program: each entry of the preview's menu puts
# its text on the real X clipboard, and that text pasted back with Ctrl+V
# gives the colour again.
set -u
source "$(dirname "$0")/lib.sh" "$@"

start_huebox
xdotool windowfocus --sync "$HUEBOX_WINDOW"

# The entries in menu order, for the colour 255, 128, 0; the name stands for
# its own colour (DarkOrange, 255, 140, 0).
entries=('#ff8000' 'rgb(255, 128, 0)' 'hsl(30.1, 100%, 50%)' 'oklch(73.19% 0.1858 52.98)' '0xFFFF8000'
  'QColor(255, 128, 0)' 'RGB(255, 128, 0)' 'vec3(1.000, 0.502, 0.000)' 'DarkOrange')
for i in "${!entries[@]}"; do
  expected=${entries[$i]}
  set_clipboard '#FF8000'
  click_at 60 56 # the palette page's tab, so the window has the focus
  xdotool key --window "$HUEBOX_WINDOW" ctrl+v
  # The preview's menu; from its last entry, "Копировать как", into the submenu.
  xdotool mousemove --window "$HUEBOX_WINDOW" 220 23 click 3
  wait_popups 1
  xdotool key Up Right
  wait_popups 2
  for _ in $(seq 1 "$i"); do xdotool key Down; done
  xdotool key Return
  wait_popups 0
  got=$(wait_clipboard "$expected") || fail "entry $((i + 1)): clipboard holds '$got', expected '$expected'"
  echo "ok: entry $((i + 1)) copied $expected"

  # Another colour first (red to 0 on the slider), then the copied text back.
  click_at 60 56
  xdotool key --window "$HUEBOX_WINDOW" Tab Tab Tab Home ctrl+v
  back='$000080FF'
  [ "$expected" = DarkOrange ] && back='$00008CFF'
  expect_copy "$back" "$expected pasted back"
done

close_huebox
code=$?
[ "$code" -eq 0 ] || fail "exit code $code"
echo "PASS: every entry of \"Копировать как\" reads back from the X clipboard"
