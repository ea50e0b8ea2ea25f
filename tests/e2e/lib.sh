# Helpers shared by the end-to-end scripts. Usage: source lib.sh HUEBOX XCLOSE
HUEBOX=$1
XCLOSE=$2
unset QT_QPA_PLATFORM

fail() { echo "FAIL: $*" >&2; exit 1; }

# Starts the program and sets HUEBOX_PID and HUEBOX_WINDOW.
start_huebox() {
  "$HUEBOX" &
  HUEBOX_PID=$!
  HUEBOX_WINDOW=
  for _ in $(seq 1 100); do
    HUEBOX_WINDOW=$(xdotool search --onlyvisible --name '^Huebox v1\.0$' 2>/dev/null | head -n 1)
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
