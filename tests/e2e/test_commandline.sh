#!/usr/bin/env bash
# The command line of the real program: a pick without the window printed in
# three formats, a pick given up, a first colour, the literal printed on
# close, and the errors and help that need no window.
set -u
source "$(dirname "$0")/lib.sh" "$@"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# A window of a known colour: the program itself, its preview on #336699.
start_huebox --color '#336699'
xdotool windowfocus --sync "$HUEBOX_WINDOW"
expect_copy '$00996633' "--color '#336699', then a copy"
window_origin
swatch_x=$((x + 20)) swatch_y=$((y + 20))

# Picks the point of the swatch with huebox --pick ARGS; sets out, err, code.
pick() {
  "$HUEBOX" --pick "$@" >"$work/out" 2>"$work/err" &
  local pid=$!
  sleep 0.8
  xdotool mousemove "$swatch_x" "$swatch_y" click 1
  wait "$pid"
  code=$?
  out=$(cat "$work/out") err=$(cat "$work/err")
}
for case in 'html|#336699' 'cpp|0x00996633' 'rgb|rgb(51, 102, 153)'; do
  format=${case%%|*} expected=${case#*|}
  pick --format "$format"
  [ "$code" -eq 0 ] || fail "--pick --format $format: exit $code ($err)"
  [ "$out" = "$expected" ] || fail "--pick --format $format printed '$out', expected '$expected'"
  echo "ok: --pick --format $format -> $out"
done
"$HUEBOX" --pick >"$work/out" 2>"$work/err" &
pid=$!
sleep 0.8
xdotool mousemove "$swatch_x" "$swatch_y" key Escape
wait "$pid"
code=$?
[ "$code" -eq 2 ] || fail "--pick given up with Escape: exit $code, expected 2"
[ ! -s "$work/out" ] || fail "--pick given up printed '$(cat "$work/out")'"
echo "ok: --pick given up: exit 2, nothing printed"
close_huebox || fail "the first window's exit code $?"

# --print writes the literal of the colour under edit once the window is closed.
start_huebox --color '#336699' --print --format hex >"$work/printed"
close_huebox || fail "--print: exit code $?"
[ "$(cat "$work/printed")" = '#336699' ] || fail "--print printed '$(cat "$work/printed")'"
echo "ok: --print -> $(cat "$work/printed")"

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
DISPLAY= WAYLAND_DISPLAY= expect_exit 0 out "Использование:" --help
DISPLAY= WAYLAND_DISPLAY= expect_exit 0 out "Huebox 1.0" --version
echo "PASS: the command line picks, starts, prints and refuses as documented"
