#!/usr/bin/env bash
# Where no platform can start, the program says why in one line, with the
# displays it tried, and ends with exit code 1, not with an abort.
set -u
source "$(dirname "$0")/lib.sh" "$@"

# A display number that no X server here answers on.
n=97
while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done

# expect_line EXPECTED-LINE ENVIRONMENT...
expect_line() {
  local expected=$1 err code
  shift
  err=$(env -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM -u DISPLAY "$@" timeout 60 "$HUEBOX" 2>&1 >/dev/null)
  code=$?
  [ "$code" -eq 1 ] || fail "$*: exit code $code, expected 1; stderr: $err"
  [ "$err" = "$expected" ] || fail "$*: stderr is not the one line '$expected': $err"
  echo "ok: $expected"
}

expect_line "huebox: no display could be opened (DISPLAY=\":$n\")" DISPLAY=":$n"
expect_line "huebox: no display could be opened (DISPLAY is not set)"
# A platform plugin that does not exist is named as Qt names it.
expect_line "huebox: Could not find the Qt platform plugin \"nonexistent\" in \"\" (QT_QPA_PLATFORM=\"nonexistent\", DISPLAY=\":$n\")" \
  QT_QPA_PLATFORM=nonexistent DISPLAY=":$n"
echo "PASS: each failed start says why in one line, exit code 1"
