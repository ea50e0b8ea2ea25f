# Helpers shared by the end-to-end scripts. Usage: source lib.sh HUEBOX XCLOSE
HUEBOX=$1
XCLOSE=$2
unset QT_QPA_PLATFORM

fail() { echo "FAIL: $*" >&2; exit 1; }

# Starts the program, with any arguments given, and sets HUEBOX_PID and
# HUEBOX_WINDOW.
start_huebox() {
  "$HUEBOX" "$@" &
  HUEBOX_PID=$!
  HUEBOX_WINDOW=
  for _ in $(seq 1 100); do
    HUEBOX_WINDOW=$(xdotool search --onlyvisible --name '^Huebox v1\.0$' 2>/dev/null | head -n 1 || true)
    [ -n "$HUEBOX_WINDOW" ] && return 0
    kill -0 "$HUEBOX_PID" 2>/dev/null || fail "huebox exited before showing its window"
    sleep 0.1
  done
  fail "the window did not appear"
}

# Closes the window as the close box does and returns the exit code.
close_huebox() {
  "$XCLOSE" "$HUEBOX_WINDOW" || fail "could not send the close request"
  for _ in $(seq 1 100); do
    if ! kill -0 "$HUEBOX_PID" 2>/dev/null; then
      wait "$HUEBOX_PID"
      return $?
    fi
    sleep 0.1
  done
  kill "$HUEBOX_PID"
  fail "huebox did not exit after its window was closed"
}

# Sets x and y to the screen position of the window's client area.
window_origin() {
  local geometry
  geometry=$(xdotool getwindowgeometry "$HUEBOX_WINDOW")
  x=$(sed -n 's/.*Position: \([0-9]*\),.*/\1/p' <<<"$geometry")
  y=$(sed -n 's/.*Position: [0-9]*,\([0-9]*\).*/\1/p' <<<"$geometry")
}

# Clicks at a point given in the window's client coordinates.
click_at() {
  xdotool mousemove --window "$HUEBOX_WINDOW" "$1" "$2" click 1
  sleep 0.2
}

# Presses the copy button and prints what the X clipboard then holds.
copy_and_read() {
  click_at 502 206
  xclip -o -selection clipboard 2>/dev/null
}

# Fails unless the clipboard, after a copy, holds exactly the expected text.
expect_copy() {
  local got
  got=$(copy_and_read)
  [ "$got" = "$1" ] || fail "$2: clipboard holds '$got', expected '$1'"
  echo "ok: $2 -> $got"
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
