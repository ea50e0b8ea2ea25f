#!/usr/bin/env bash
# The command line of the real program: a pick without the window printed in
# four formats, a pick given up, a pick that fails, a session with no way to
# pick, a first colour, the literal printed on close, and the errors and help
# that need no window.
set -u
source "$(dirname "$0")/lib.sh" "$@"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# A window of a known colour: the program itself, its preview on #336699.
start_huebox --color '#336699' --print >"$work/printed"
xdotool windowfocus --sync "$HUEBOX_WINDOW"
expect_copy '$00996633' "--color '#336699', then a copy"
window_origin

# Picks the point X, Y with huebox --pick ARGS; sets out, err, code.
pick_at() {
  local at_x=$1 at_y=$2
  shift 2
  "$HUEBOX" --pick "$@" >"$work/out" 2>"$work/err" &
  local pid=$!
  pick_started
  xdotool mousemove "$at_x" "$at_y" click 1
  wait_exit "$pid" 10 "--pick $*: no exit after the click"
  code=$?
  out=$(cat "$work/out") err=$(cat "$work/err")
}
# The swatch, and the window's silver face between the preview and the radio
# buttons, a colour of the list.
for case in "20|20|html|#336699" "20|20|cpp|0x00996633" "20|20|rgb|rgb(51, 102, 153)" "448|12|name|Silver"; do
  IFS='|' read -r dx dy format expected <<<"$case"
  pick_at $((x + dx)) $((y + dy)) --format "$format"
  [ "$code" -eq 0 ] || fail "--pick --format $format: exit $code ($err)"
  [ "$out" = "$expected" ] || fail "--pick --format $format printed '$out', expected '$expected'"
  echo "ok: --pick --format $format -> $out"
done
"$HUEBOX" --pick >"$work/out" 2>"$work/err" &
pid=$!
pick_started
xdotool mousemove $((x + 20)) $((y + 20)) key Escape
wait_exit "$pid" 10 "--pick: no exit after Escape"
code=$?
[ "$code" -eq 2 ] || fail "--pick given up with Escape: exit $code, expected 2"
[ ! -s "$work/out" ] || fail "--pick given up printed '$(cat "$work/out")'"
echo "ok: --pick given up: exit 2, nothing printed"

# A pick that cannot hold the pointer, which the window's own pick holds, fails.
xdotool key --window "$HUEBOX_WINDOW" ctrl+p
pick_started
"$HUEBOX" --pick >"$work/out" 2>"$work/err"
code=$?
[ "$code" -eq 1 ] || fail "--pick while another pick holds the pointer: exit $code, expected 1"
grep -qx "Не удалось взять цвет с экрана: мышь захвачена другой программой" "$work/err" ||
  fail "--pick while another pick holds the pointer said: $(cat "$work/err")"
[ ! -s "$work/out" ] || fail "the failed --pick printed '$(cat "$work/out")'"
echo "ok: --pick that fails: exit 1, $(cat "$work/err")"
xdotool key Escape
pick_ended

# --print writes the literal of the colour under edit once the window is
# closed: in the window's format (Visual C++ chosen here), else in the one given.
click_at 464 101 # "Visual C++"
close_huebox || fail "the first window's exit code $?"
[ "$(cat "$work/printed")" = '0x00996633' ] || fail "--print in the window's format printed '$(cat "$work/printed")'"
echo "ok: --print -> $(cat "$work/printed")"
start_huebox --color '#336699' --print --format hex >"$work/printed"
close_huebox || fail "--print: exit code $?"
[ "$(cat "$work/printed")" = '#336699' ] || fail "--print printed '$(cat "$work/printed")'"
echo "ok: --print --format hex -> $(cat "$work/printed")"

# Errors and help: a message and an exit code, never a window.
expect_exit() { # CODE STREAM TEXT ARGS...
  local want=$1 stream=$2 text=$3
  shift 3
  "$HUEBOX" "$@" >"$work/out" 2>"$work/err"
  local got=$?
  [ "$got" -eq "$want" ] || fail "$*: exit $got, expected $want"
  grep -qF -- "$text" "$work/$stream" || fail "$*: no '$text' in its $stream: $(cat "$work/$stream")"
  ! xdotool search --onlyvisible --name '^Huebox v1\.0$' >/dev/null 2>&1 || fail "$*: a window appeared"
  echo "ok: $* -> exit $got"
}
expect_exit 2 err "Ошибка в цвете «nonsense»: неизвестное имя цвета" --color nonsense
expect_exit 2 err "Неизвестный формат «nonsense». Форматы: delphi, cpp" --format nonsense --print
# No way to pick: neither the X11 grab (not on this platform) nor a portal (no bus).
QT_QPA_PLATFORM=offscreen DBUS_SESSION_BUS_ADDRESS=unix:path=/nonexistent \
  expect_exit 1 err "Взять цвет с экрана здесь нельзя" --pick
DISPLAY= WAYLAND_DISPLAY= expect_exit 0 out "Использование:" --help
DISPLAY= WAYLAND_DISPLAY= expect_exit 0 out "Huebox 1.0" --version
echo "PASS: the command line picks, starts, prints and refuses as documented"
