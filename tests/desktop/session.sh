#!/usr/bin/env bash
# Runs a test program in a desktop session as a screen reader meets it: an X
# display (from xvfb-run), a session bus (from dbus-run-session) and the
# accessibility bus, with the program's accessibility switched on.
# Usage: dbus-run-session -- bash session.sh PROGRAM [ARGS...]
set -u
/usr/libexec/at-spi-bus-launcher --launch-immediately &
launcher=$!
trap 'kill $launcher 2>/dev/null' EXIT
# The launcher owns its bus name once the accessibility bus is up.
for _ in $(seq 1 50); do
  dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus org.a11y.Bus.GetAddress >/dev/null 2>&1 && break
  sleep 0.1
done
QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 "$@"
