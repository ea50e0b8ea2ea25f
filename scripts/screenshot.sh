#!/usr/bin/env bash
# Starts the program under Xvfb and saves into a folder (default:
# build/screenshots) a screenshot of the window per page, and of the screen
# with the preview's tooltip, its menu and the "Копировать как" submenu, a pick under way, its
# magnifier near a screen corner, the colour list open, the note after a bad paste and the entry dialog with a Visual C++
# literal typed in. Usage: scripts/screenshot.sh [DIR]
set -euo pipefail
cd "$(dirname "$0")/.."

if [ "${1:-}" != "--inside-x" ]; then
  bash scripts/install-deps.sh --test
  cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
  cmake --build build -j2 --target huebox xshot xclose
  out=$(realpath -m "${1:-build/screenshots}")
  mkdir -p "$out"
  xvfb-run -a -s "-screen 0 1024x768x24" bash "$0" --inside-x "$out"
  echo "screenshots in $out"
  exit 0
fi

out=$2
source tests/e2e/lib.sh "$PWD/build/app/huebox" "$PWD/build/tests/e2e/xclose"
start_huebox
sleep 0.5
window_origin
# The three page tabs sit along the top edge of the page control.
page=1
for tab in 60 190 300; do
  xdotool mousemove $((x + tab)) $((y + 56)) click 1
  sleep 0.3
  build/tests/e2e/xshot "$out/page$page.png" "$HUEBOX_WINDOW"
  page=$((page + 1))
done
# The preview's tooltip is a window of its own: take the whole screen.
xdotool mousemove $((x + 220)) $((y + 22))
sleep 1.5
build/tests/e2e/xshot "$out/tooltip.png"
# The preview's context menu, and a pick from the screen under way with the
# pointer over the red slider's face (Escape gives it up).
xdotool mousemove $((x + 220)) $((y + 22)) click 3
sleep 0.5
build/tests/e2e/xshot "$out/menu.png"
# Its last entry's submenu, "Копировать как", with what each entry copies.
xdotool key Up Right
sleep 0.5
build/tests/e2e/xshot "$out/copyas.png"
xdotool key Escape Escape
xdotool mousemove $((x + 60)) $((y + 56)) click 1 key ctrl+p
sleep 0.3
xdotool mousemove $((x + 250)) $((y + 100))
sleep 0.5
build/tests/e2e/xshot "$out/pick.png"
xdotool key Escape
sleep 0.3
# The magnifier at x10 near the screen's bottom right corner, over the blue
# slider's one-pixel ticks: the window is moved into the corner for it.
width=$(xwininfo -id "$HUEBOX_WINDOW" | awk '/Width:/ { print $2 }')
height=$(xwininfo -id "$HUEBOX_WINDOW" | awk '/Height:/ { print $2 }')
home_x=$x home_y=$y
xdotool windowmove "$HUEBOX_WINDOW" $((1024 - width)) $((768 - height))
sleep 0.5
window_origin
xdotool mousemove $((x + 60)) $((y + 56)) click 1 key ctrl+p
sleep 0.3
xdotool mousemove $((x + width - 150)) $((y + 197))
sleep 0.5
build/tests/e2e/xshot "$out/magnifier.png"
xdotool key Escape
sleep 0.3
xdotool windowmove "$HUEBOX_WINDOW" "$home_x" "$home_y"
sleep 0.5
window_origin
# The colour combo box's open list is a window of its own: take the screen.
xdotool mousemove $((x + 504)) $((y + 15)) click 1
sleep 0.5
build/tests/e2e/xshot "$out/colours.png"
xdotool key Escape
sleep 0.3
# The note that explains a bad paste, and the entry dialog showing what it read.
printf '#12345' | xclip -i -selection clipboard
xdotool mousemove $((x + 60)) $((y + 56)) click 1 key ctrl+v
sleep 0.5
build/tests/e2e/xshot "$out/note.png"
xdotool key Escape ctrl+l
sleep 0.5
xdotool type --delay 20 '0xFF8000'
sleep 0.3
build/tests/e2e/xshot "$out/entry.png"
xdotool key Escape
sleep 0.3
close_huebox
