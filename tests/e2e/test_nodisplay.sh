#!/usr/bin/env bash
# Started where no display can be opened, the program says so in one line
# and ends with exit code 1, not with an abort.
set -u
source "$(dirname "$0")/lib.sh" "$@"

# A display number that no X server here answers on.
n=97
while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
err=$(env -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM DISPLAY=":$n" timeout 60 "$HUEBOX" 2>&1 >/dev/null)
code=$?
[ "$code" -eq 1 ] || fail "exit code $code, expected 1; stderr: $err"
expected="huebox: no display could be opened (DISPLAY=\":$n\")"
[ "$err" = "$expected" ] || fail "stderr is not the one line '$expected': $err"
echo "PASS: $expected, exit code 1"
