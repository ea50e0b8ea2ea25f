#!/usr/bin/env bash
# The real program under a real Wayland compositor, with the real clipboard
# and the real desktop portal: its window, paste, typed entry, copy, a pick
# through the portal, its picture at output scale 2, and what a pick says
# where the portal is missing, has no Screenshot or never answers; the
# precise pick over the desktop frozen from the portal's screenshot, on one
# output and on two of scales 1 and 2, and the desktop's own picking where the
# screenshot fails.
# Usage: test_wayland.sh HUEBOX SHOTS_TEST DESKTOP_FILE PATTERN
set -u
here=$(cd "$(dirname "$0")" && pwd)
source "$here/session.sh"
HUEBOX=$1 SHOTS=$2 DESKTOP_FILE=$3 PATTERN=$4
# Under the sanitizers: the graphics driver's leaks that the suppressions
# name show their frames only to the slow unwinder.
[ -n "${LSAN_OPTIONS:-}" ] && export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}fast_unwind_on_malloc=0"

# sway does not run as root: the session then runs as nobody, in a folder of
# its own holding copies of what it needs, since the build folder may be
# closed to that user.
if [ "$(id -u)" -eq 0 ]; then
  command -v setpriv >/dev/null && id nobody >/dev/null 2>&1 || skip "no unprivileged user to run it as"
  top=$(mktemp -d)
  trap 'rm -rf "$top"' EXIT
  trap '[ -n "${inner:-}" ] && kill -TERM "$inner" 2>/dev/null; wait; exit 1' INT TERM
  cp "$here/session.sh" "$here/test_wayland.sh" "$HUEBOX" "$SHOTS" "$DESKTOP_FILE" "$PATTERN" "$top/"
  mkdir "$top/session"
  # A sanitizer build's suppressions, likewise.
  supp=$(tr ':' '\n' <<<"${LSAN_OPTIONS:-}" | sed -n 's/^suppressions=//p')
  if [ -n "$supp" ]; then
    cp "$supp" "$top/lsan.supp"
    export LSAN_OPTIONS=${LSAN_OPTIONS/"$supp"/$top/lsan.supp}
  fi
  chown -R nobody "$top"
  chmod 755 "$top"
  setpriv --reuid=nobody --regid="$(id -g nobody)" --clear-groups env HOME="$top" SESSION_DIR="$top/session" \
    bash "$top/test_wayland.sh" "$top/$(basename "$HUEBOX")" "$top/$(basename "$SHOTS")" \
    "$top/$(basename "$DESKTOP_FILE")" "$top/$(basename "$PATTERN")" &
  inner=$!
  wait "$inner"
  exit $?
fi

APP_ID=$(basename "$DESKTOP_FILE" .desktop)
TITLE="$(sed -n 's/^Name=//p' "$DESKTOP_FILE") v1.0"
BACKGROUND='#1E5A8C'
# What a pick says without a portal, and where the portal offers no Screenshot.
UNAVAILABLE_MESSAGE='Взять цвет с экрана здесь нельзя'
# The D-Bus call's own time limit, which the picker keeps, and a margin.
NO_ANSWER_SECONDS=30

start_session

# Stands in for the point chooser the wlr portal runs: prints the point the
# check wrote, or gives up as the chooser does on Escape.
cat >"$SESSION_DIR/bin/slurp" <<EOF
#!/bin/sh
point=\$(cat "$SESSION_DIR/point")
[ "\$point" = none ] && exit 1
echo "\$point 1x1"
EOF
chmod 755 "$SESSION_DIR/bin/slurp"

# grim as it is, except that it refuses the portal's screenshot while the
# check asks it to: the pick then goes on through the desktop's own picking.
real_grim=$(command -v grim)
cat >"$SESSION_DIR/bin/grim" <<EOF
#!/bin/sh
if [ -e "$SESSION_DIR/refuse-screenshots" ] && [ "\$1" != -g ]; then exit 1; fi
exec "$real_grim" "\$@"
EOF
chmod 755 "$SESSION_DIR/bin/grim"

keys() { wtype -s 250 "$@"; }

window() { swaymsg -t get_tree | jq -c --argjson pid "$HUEBOX_PID" '.. | objects | select(.pid? == $pid)'; }

# The program's name on the accessibility bus.
find_a11y_name() {
  local name
  for name in $(gdbus call -a "$A11Y_BUS" -d org.a11y.atspi.Registry -o /org/a11y/atspi/accessible/root \
    -m org.a11y.atspi.Accessible.GetChildren 2>/dev/null | grep -o "':1\.[0-9]*'" | tr -d "'"); do
    gdbus call -a "$A11Y_BUS" -d org.freedesktop.DBus -o /org/freedesktop/DBus \
      -m org.freedesktop.DBus.GetConnectionUnixProcessID "$name" 2>/dev/null | grep -q "uint32 $HUEBOX_PID," &&
      HUEBOX_A11Y=$name && return 0
  done
  return 1
}

start_huebox() {
  QT_QPA_PLATFORM=wayland QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 spawn huebox "$HUEBOX"
  HUEBOX_PID=$last_pid
  poll 100 eval 'window | grep -q .' || fail "the window did not appear"
  poll 50 find_a11y_name || fail "the program is not on the accessibility bus"
}

close_huebox() {
  swaymsg "[pid=$HUEBOX_PID] kill" >/dev/null
  poll 50 eval "! kill -0 $HUEBOX_PID 2>/dev/null" || fail "huebox did not exit after its window was closed"
  wait "$HUEBOX_PID"
  local code=$?
  [ "$code" -eq 0 ] || fail "huebox exited with $code"
}

# The accessible children of an object of the program.
a11y_children() {
  gdbus call -a "$A11Y_BUS" -d "$HUEBOX_A11Y" -o "$1" -m org.a11y.atspi.Accessible.GetChildren 2>/dev/null |
    grep -o "/org/a11y/atspi/accessible/[0-9]*"
}

# Whether a note of the program shows the text (an alert, showing). A note is
# drawn over the window, so it is a child of a window of the program.
note_shown() {
  local window object state
  for window in $(a11y_children /org/a11y/atspi/accessible/root); do
    for object in $(a11y_children "$window"); do
      a11y() { gdbus call -a "$A11Y_BUS" -d "$HUEBOX_A11Y" -o "$object" "$@" 2>/dev/null; }
      [ "$(a11y -m org.a11y.atspi.Accessible.GetRoleName)" = "('alert message',)" ] || continue
      [ "$(a11y -m org.freedesktop.DBus.Properties.Get org.a11y.atspi.Accessible Name)" = "(<'$1'>,)" ] || continue
      state=$(a11y -m org.a11y.atspi.Accessible.GetState | sed -n 's/^(\[uint32 \([0-9]*\),.*/\1/p')
      (((state >> 25) & 1)) && return 0 # showing
    done
  done
  return 1
}

expect_note() {
  poll "${3:-30}" note_shown "$1" || fail "$2: no note '$1'"
  echo "ok: $2: note '$1'"
}

# A key ends a note, and so does the keyboard leaving the window, as wtype's
# does when it exits: these keys are sent by a wtype kept until the note is read.
keys_then_note() {
  local text=$1 what=$2
  shift 2
  spawn wtype wtype -s 250 "$@" -s 8000
  local holder=$last_pid
  expect_note "$text" "$what"
  stop_pid "$holder"
}

# Puts text on the clipboard, served by a wl-copy until another copy replaces it.
clip() {
  local text=$1
  spawn wl-copy wl-copy --foreground -- "$text"
  poll 50 eval '[ "$(wl-paste -n 2>/dev/null)" = "$text" ]' || fail "the clipboard did not take '$text'"
}

# Ctrl+C until the clipboard holds the literal (a pick may still be on its way).
expect_copy() {
  local got=
  clip 'before the copy'
  for _ in $(seq 1 10); do
    keys -M ctrl -k c -m ctrl
    poll 5 eval '[ "$(wl-paste -n 2>/dev/null)" != "before the copy" ]' && got=$(wl-paste -n)
    [ "$got" = "$1" ] && { echo "ok: $2 -> $got"; return 0; }
  done
  fail "$2: clipboard holds '$got', expected '$1'"
}

pick() {
  echo "$1" >"$SESSION_DIR/point"
  keys -M ctrl -k p -m ctrl
}

# Without a portal on the bus there is no way to pick.
start_huebox
# Never the grab of an X server instead: the message says why.
keys_then_note "$UNAVAILABLE_MESSAGE: в сеансе Wayland нет портала рабочего стола" "a pick without a portal" \
  -M ctrl -k p -m ctrl
close_huebox

# The portal as Debian's frontend offers it without an Access backend: no Screenshot.
start_portal wlr
start_huebox
keys_then_note "$UNAVAILABLE_MESSAGE" "a pick where the portal has no Screenshot" -M ctrl -k p -m ctrl
close_huebox
stop_portal

# A screenshot of the window by the compositor.
shoot() {
  grim -g "$(window | jq -r '.rect | "\(.x),\(.y) \(.width)x\(.height)"')" "$SESSION_DIR/$1"
}

start_portal
start_huebox
shoot scale1.png
# The window as the desktop knows it.
[ "$(window | jq -r .app_id)" = "$APP_ID" ] || fail "app id '$(window | jq -r .app_id)', expected '$APP_ID'"
[ "$(window | jq -r .name)" = "$TITLE" ] || fail "title '$(window | jq -r .name)', expected '$TITLE'"
echo "ok: window '$TITLE', app id $APP_ID"

clip '#336699'
keys -M ctrl -k v -m ctrl
expect_copy '$00996633' "#336699 pasted with Ctrl+V"
[ "$(wl-paste --list-types | sort | tr '\n' ' ')" = "text/plain text/plain;charset=utf-8 " ] ||
  fail "the copy offers more than plain text: $(wl-paste --list-types | tr '\n' ' ')"
echo "ok: the copy offers plain text only"

clip "<body text='#102030' bgcolor=#405060>"
keys -M ctrl -k v -m ctrl
expect_copy '$00605040' "a body tag pasted with Ctrl+V (its background, under edit)"

keys -M ctrl -k l -m ctrl
poll 50 eval 'swaymsg -t get_tree | jq -e ".. | objects | select(.focused? == true and .name == \"Ввести цвет\")" >/dev/null' ||
  fail "Ctrl+L did not open the entry dialog"
keys '#FF8000'
keys -k Return
expect_copy '$000080FF' "#FF8000 typed after Ctrl+L"

# Where the screenshot fails, the desktop's own picking. The point (5, 5) is
# the compositor's background, beside the centred window.
touch "$SESSION_DIR/refuse-screenshots"
pick 5,5
expect_copy '$008C5A1E' "a pick of the background $BACKGROUND through the portal"
clip '#336699'
keys -M ctrl -k v -m ctrl
expect_copy '$00996633' "a paste before a failed pick"
pick none
expect_note 'Не удалось взять цвет с экрана: портал прервал выбор' "a pick whose point chooser gives up"
expect_copy '$00996633' "a pick whose point chooser gives up changes nothing"
clip '#FF8000'
keys -M ctrl -k v -m ctrl
expect_copy '$000080FF' "a paste after the failed pick"
rm -f "$SESSION_DIR/refuse-screenshots"

# The frozen desktop: a window of the checkerboard at the output's top left,
# under the program's window; the hotspot starts at the output's centre.
QT_QPA_PLATFORM=wayland spawn pattern "$PATTERN"
pattern_pid=$last_pid
poll 100 eval 'swaymsg -t get_tree | jq -e ".. | objects | select(.app_id? == \"pattern\")" >/dev/null' ||
  fail "the pattern window did not appear"
swaymsg "[pid=$HUEBOX_PID] focus" >/dev/null
frozen() { swaymsg -t get_tree | jq -e --argjson pid "$1" '.. | objects | select(.pid? == $pid and .fullscreen_mode? == 1)' >/dev/null; }
# Keys: N times one, with Shift for steps of ten.
press() {
  local mod=$1 key=$2 n=$3 a=() i
  for ((i = 0; i < n; i++)); do a+=(-k "$key"); done
  if [ "$mod" = shift ]; then keys -M shift "${a[@]}" -m shift; else keys "${a[@]}"; fi
}
# From the centre of the 1280x720 output onto the odd pixel (20, 20).
to_odd() { press shift Left 62 && press shift Up 34; }
keys -M ctrl -k p -m ctrl
poll 100 frozen "$HUEBOX_PID" || fail "Ctrl+P did not show the frozen desktop"
to_odd
keys -k Return
poll 50 eval '! frozen $HUEBOX_PID' || fail "the frozen desktop stayed after Enter"
expect_copy '$00CC6633' "the odd pixel taken from the frozen desktop with the arrow keys and Enter"
keys -M ctrl -k p -m ctrl
poll 100 frozen "$HUEBOX_PID" || fail "Ctrl+P did not show the frozen desktop again"
press shift Right 3
keys -k Escape
poll 50 eval '! frozen $HUEBOX_PID' || fail "the frozen desktop stayed after Escape"
expect_copy '$00CC6633' "a frozen pick given up with Escape changes nothing"
# The desktop's pixels are freed when a pick ends: 20 more picks leave the
# program's resident memory within 1 MiB of its size after the first.
rss() { awk '/^VmRSS:/ { print $2 }' "/proc/$HUEBOX_PID/status"; }
first_rss=$(rss)
for _ in $(seq 1 20); do
  keys -M ctrl -k p -m ctrl
  poll 100 frozen "$HUEBOX_PID" || fail "a repeated pick did not freeze the desktop"
  keys -k Escape
  poll 50 eval '! frozen $HUEBOX_PID' || fail "a repeated pick stayed after Escape"
done
grown=$(($(rss) - first_rss))
if [ -n "${HUEBOX_SANITIZED:-}" ]; then
  # AddressSanitizer holds freed memory in quarantine: the figure says nothing there.
  echo "ok: 20 picks (resident memory not judged under the sanitizers: $grown KiB)"
else
  [ "$grown" -le 1024 ] || fail "20 picks grew the resident memory by $grown KiB"
  echo "ok: 20 picks grew the resident memory by $grown KiB"
fi

# --pick over the frozen desktop: the pixel, and the mean of 3x3 in linear
# light (black in the middle, 4 white of 9).
pick_printed() { # EXPECTED WHAT ARGUMENTS... MOVES
  local expected=$1 what=$2 got
  shift 2
  QT_QPA_PLATFORM=wayland "$HUEBOX" --pick "${@:1:$#-1}" >"$SESSION_DIR/out" 2>>"$SESSION_DIR/log/huebox.log" &
  local pid=$!
  poll 100 frozen "$pid" || fail "$what: no frozen desktop"
  eval "${!#}"
  keys -k Return
  wait "$pid" || fail "$what: exit $?"
  got=$(cat "$SESSION_DIR/out")
  [ "$got" = "$expected" ] || fail "$what: printed '$got', expected '$expected'"
  echo "ok: $what -> $got"
}
pick_printed '#3366cc' "--pick --format hex" --format hex to_odd
pick_printed '#b2b2b2' "--pick --average 3" --format hex --average 3 'to_odd; press plain Right 2; press plain Down 2'
# No screenshot left behind, in the portal's place nor in the home folder.
[ ! -e /tmp/out.png ] || [ "$(stat -c %U /tmp/out.png)" != "$(id -un)" ] || fail "a pick left /tmp/out.png behind"
[ -z "$(find "$HOME" -name '*.png' 2>/dev/null)" ] || fail "a pick left a screenshot in the home folder"
echo "ok: no screenshot left behind"

# A second output at scale 2 beside the first, of another colour: reached
# by the keys across the shared edge.
swaymsg create_output >/dev/null
poll 50 eval 'swaymsg -t get_outputs | jq -e ".[] | select(.name == \"HEADLESS-2\")" >/dev/null' ||
  fail "no second output"
swaymsg output HEADLESS-2 mode 800x600 scale 2 pos 1280 0 bg '#C83250' solid_color >/dev/null
swaymsg output HEADLESS-1 pos 0 0 >/dev/null
pick_printed '#c83250' "--pick on the scale-2 output, across the edge" --format hex \
  'press shift Up 10; press shift Right 64; press plain Right 3'
# The checkerboard on the scale-2 output too: the magnifier there shows the
# output's device pixels as a ratio-2 one draws them, and the pixel under the
# hotspot is the one taken.
swaymsg focus output HEADLESS-2 >/dev/null
QT_QPA_PLATFORM=wayland spawn pattern "$PATTERN"
second_pattern_pid=$last_pid
poll 100 eval '[ "$(swaymsg -t get_tree | jq "[.. | objects | select(.app_id? == \"pattern\")] | length")" = 2 ]' ||
  fail "the pattern window did not appear on the second output"
poll 30 eval 'grim -o HEADLESS-2 "$SESSION_DIR/scale2-before.png" && [ -s "$SESSION_DIR/scale2-before.png" ]' ||
  fail "no screenshot of the second output"
magnifier_shown() {
  grim -o HEADLESS-2 "$SESSION_DIR/scale2-pick.png" &&
    QT_QPA_PLATFORM=offscreen "$PATTERN" --magnifier "$SESSION_DIR/scale2-before.png" "$SESSION_DIR/scale2-pick.png" \
      41 41 >"$SESSION_DIR/scale2-colour" 2>>"$SESSION_DIR/log/pattern.log"
}
# From (640, 20) of the first output across the edge to (1280, 20), the
# second output's device pixel (0, 40), and on to (41, 41).
QT_QPA_PLATFORM=wayland "$HUEBOX" --pick --format hex >"$SESSION_DIR/out" 2>>"$SESSION_DIR/log/huebox.log" &
pick_pid=$!
poll 100 frozen "$pick_pid" || fail "no frozen desktop for the pick on the scale-2 output"
press shift Up 34
press shift Right 64
press shift Right 4
press plain Right 1
press plain Down 1
poll 30 magnifier_shown || fail "the magnifier on the scale-2 output: $(tail -n 1 "$SESSION_DIR/log/pattern.log")"
echo "ok: the magnifier on the scale-2 output shows its device pixels"
keys -k Return
wait "$pick_pid" || fail "the pick on the scale-2 output: exit $?"
[ "$(cat "$SESSION_DIR/out")" = "$(cat "$SESSION_DIR/scale2-colour")" ] ||
  fail "the pick on the scale-2 output printed '$(cat "$SESSION_DIR/out")', the pixel is '$(cat "$SESSION_DIR/scale2-colour")'"
echo "ok: the pick on the scale-2 output took its device pixel $(cat "$SESSION_DIR/out")"
stop_pid "$second_pattern_pid"
# The scale-1 output's pixels come in the desktop's image enlarged with
# smoothing (the portal's screenshot is at the larger scale): a pixel among
# its like, the pattern window's grey, is taken as it is.
pick_printed '#808080' "--pick on the scale-1 output beside it" --format hex 'press shift Left 50'

swaymsg output HEADLESS-2 disable >/dev/null
stop_pid "$pattern_pid"
swaymsg "[pid=$HUEBOX_PID] focus" >/dev/null

# A portal that takes the call and never answers: the pick fails within the
# call's time limit, and meanwhile the window goes on working.
kill -STOP "$portal_pid"
started=$(date +%s)
pick 5,5
clip '#336699'
keys -M ctrl -k v -m ctrl
expect_copy '$00996633' "a paste while the portal does not answer"
expect_note 'Не удалось взять цвет с экрана: портал не ответил' "a pick the portal never answers" $((NO_ANSWER_SECONDS * 10))
echo "ok: the pick failed after $(($(date +%s) - started)) s"
kill -CONT "$portal_pid"
expect_copy '$00996633' "a pick the portal never answers changes nothing"

close_huebox

# The window started at output scale 2, in the state of the scale-1 screenshot.
# (A window already shown keeps the scale it was first drawn at: the toolkit
# draws it for the scale it started with, and the compositor enlarges that.)
crisp() {
  shoot scale2.png &&
    HUEBOX_SHOT_1=$SESSION_DIR/scale1.png HUEBOX_SHOT_2=$SESSION_DIR/scale2.png QT_QPA_PLATFORM=offscreen \
      HUEBOX_TEST_OUTPUT=$SESSION_DIR "$SHOTS" >"$SESSION_DIR/log/shots.log" 2>&1
}
swaymsg output HEADLESS-1 scale 2 >/dev/null
start_huebox
poll 30 crisp || fail "the window at scale 2 is not crisp: $(grep -E 'FAIL|Loc' "$SESSION_DIR/log/shots.log" | head -n 4)"
echo "ok: at output scale 2 the sliders and the swatch are doubled pixel for pixel, the text is finer"
close_huebox
echo "PASS: window, paste, entry, copy and pick under Wayland with the desktop portal"
