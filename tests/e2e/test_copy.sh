#!/usr/bin/env bash
# Copying the literal in the real program puts it on the real X clipboard,
# in the format chosen and for the colour set with the keys.
set -u
source "$(dirname "$0")/lib.sh" "$@"

start_huebox
xdotool windowfocus --sync "$HUEBOX_WINDOW"

expect_copy '$00FFFFFF' "at start"
expect_text_targets "the copy button"
click_at 464 101 # "Visual C++"
expect_copy '0x00FFFFFF' "Visual C++"
click_at 464 123 # "Visual Basic"
expect_copy '&H00FFFFFF&' "Visual Basic"
click_at 464 79 # "Delphi"

# The pages' tabs take the focus first; three Tabs reach the red slider.
click_at 60 56
xdotool key --window "$HUEBOX_WINDOW" Tab Tab Tab Home
expect_copy '$00FFFF00' "Home on the red slider"

# The preview box's own copy, Ctrl+A and Ctrl+C in it, offers text alone too.
set_clipboard cleared
click_at 220 23
xdotool key --window "$HUEBOX_WINDOW" ctrl+a ctrl+c
wait_clipboard '$00FFFF00' >/dev/null || fail "Ctrl+C in the preview copied nothing"
expect_text_targets "Ctrl+C in the preview"

close_huebox
code=$?
[ "$code" -eq 0 ] || fail "exit code $code"
echo "PASS: copied literals read back from the X clipboard"
