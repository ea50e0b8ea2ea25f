# Helpers shared by the end-to-end scripts. Usage: source lib.sh HUEBOX XCLOSE
HUEBOX=$1
XCLOSE=$2
unset QT_QPA_PLATFORM

fail() { echo "FAIL: $*" >&2; exit 1; }

# Runs a command every twentieth of a second until it succeeds, for at most
# $1 seconds; fails if it never does. Every wait of the scripts goes through
# here, so each ends as soon as its condition holds.
wait_until() {
  local tries=$(($1 * 20)) i
  shift
  for ((i = 0; i < tries; i++)); do
    "$@" && return 0
    sleep 0.05
  done
  return 1
}

# The program's main window, visible: sets HUEBOX_WINDOW. Fails if the
# program has exited.
main_window_shown() {
  HUEBOX_WINDOW=$(xdotool search --onlyvisible --name '^Huebox v1\.0$' 2>/dev/null | head -n 1 || true)
  [ -n "$HUEBOX_WINDOW" ] && return 0
  kill -0 "$HUEBOX_PID" 2>/dev/null || fail "huebox exited before showing its window"
  return 1
}

# Starts the program, with any arguments given, and sets HUEBOX_PID and
# HUEBOX_WINDOW.
start_huebox() {
  "$HUEBOX" "$@" &
  HUEBOX_PID=$!
  wait_until 10 main_window_shown || fail "the window did not appear"
}

exited() { ! kill -0 "$1" 2>/dev/null; }

# Waits up to $2 seconds (10) for the process $1, a child of the script, to
# end, and returns its exit code; kills it and fails if it does not end.
wait_exit() {
  wait_until "${2:-10}" exited "$1" || {
    kill "$1"
    fail "${3:-process $1 did not exit}"
  }
  wait "$1"
}

# Closes the window as the close box does and returns the exit code.
close_huebox() {
  "$XCLOSE" "$HUEBOX_WINDOW" || fail "could not send the close request"
  wait_exit "$HUEBOX_PID" 10 "huebox did not exit after its window was closed"
}

# Whether exactly $1 popups of the program (menus, the combo box's list) are
# open: its visible windows named as the application is.
popups_shown() {
  local id n=0
  for id in $(xdotool search --onlyvisible --pid "$HUEBOX_PID" 2>/dev/null); do
    [ "$(xdotool getwindowname "$id" 2>/dev/null)" = Huebox ] && n=$((n + 1))
  done
  [ "$n" -eq "$1" ]
}

# Waits until exactly $1 popups are open.
wait_popups() { wait_until 5 popups_shown "$1" || fail "expected $1 open popup(s)"; }

# The magnifier of a pick on X11 is the one top-level window without a name;
# it is shown once the pick holds the pointer, and goes with the pick.
magnifier_shown() { xwininfo -root -children | grep -q '(has no name): ()'; }
pick_started() { wait_until 10 magnifier_shown || fail "the pick did not start"; }
pick_ended() { wait_until 5 eval '! magnifier_shown' || fail "the pick did not end"; }

# Sets x and y to the screen position of the window's client area.
window_origin() {
  local geometry
  geometry=$(xdotool getwindowgeometry "$HUEBOX_WINDOW")
  x=$(sed -n 's/.*Position: \([0-9]*\),.*/\1/p' <<<"$geometry")
  y=$(sed -n 's/.*Position: [0-9]*,\([0-9]*\).*/\1/p' <<<"$geometry")
}

# Clicks at a point given in the window's client coordinates. X delivers
# the events of the scripts in order: what needs the click done waits for
# what it does.
click_at() {
  xdotool mousemove --window "$HUEBOX_WINDOW" "$1" "$2" click 1
}

clipboard_holds() { [ "$(xclip -o -selection clipboard 2>/dev/null)" = "$1" ]; }

# Waits until the X clipboard holds exactly the text; else prints what it
# holds and fails.
wait_clipboard() {
  wait_until 5 clipboard_holds "$1" && return 0
  xclip -o -selection clipboard 2>/dev/null
  return 1
}

# Puts the text on the X clipboard (xclip's own, once it holds it).
set_clipboard() {
  printf '%s' "$1" | xclip -i -selection clipboard
  wait_clipboard "$1" >/dev/null || fail "the clipboard did not take '$1'"
}

# Presses the copy button and fails unless the X clipboard then holds exactly
# the expected text.
expect_copy() {
  local got
  # A clipboard that holds the text already would prove nothing.
  clipboard_holds "$1" && set_clipboard '(before the copy)'
  click_at 502 206
  got=$(wait_clipboard "$1") || fail "$2: clipboard holds '$got', expected '$1'"
  echo "ok: $2 -> $1"
}

# Fails unless the clipboard offers its content as text alone: plain text
# and the X text targets that follow from it, nothing richer.
expect_text_targets() {
  local targets
  targets=$(xclip -o -selection clipboard -t TARGETS 2>/dev/null)
  grep -qx 'text/plain' <<<"$targets" || fail "$1: no plain text among: $(echo $targets)"
  ! grep -vxE 'TIMESTAMP|TARGETS|MULTIPLE|SAVE_TARGETS|UTF8_STRING|TEXT|STRING|COMPOUND_TEXT|text/plain.*' \
    <<<"$targets" || fail "$1: the clipboard offers more than text: $(echo $targets)"
  echo "ok: $1 offers $(echo $targets)"
}
