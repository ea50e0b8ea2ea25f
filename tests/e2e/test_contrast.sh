#!/usr/bin/env bash
# huebox --contrast without any display: the report of a pair, exactly, and
# each exit status (reached, not reached, an unreadable colour, a level out
# of range).
set -u
source "$(dirname "$0")/lib.sh" "$@"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Runs huebox with no display at all; sets out, err and code.
contrast() {
  env -u DISPLAY -u WAYLAND_DISPLAY timeout 60 "$HUEBOX" --contrast "$@" >"$work/out" 2>"$work/err"
  code=$?
  out=$(cat "$work/out") err=$(cat "$work/err")
}

expected='ratio 3.54
normal-aa no
normal-aaa no
large-aa yes
large-aaa no
graphics yes
text-4.5 #757778 6.71
text-7 #595959 18.48
background-4.5 #202224 80.40
background-7 none'
contrast '#888888' white
[ "$code" -eq 3 ] || fail "#888888 on white: exit $code, expected 3 ($err)"
[ "$out" = "$expected" ] || fail "#888888 on white printed:
$out"
[ -z "$err" ] || fail "#888888 on white wrote to standard error: $err"
echo "ok: #888888 on white, exit 3, the report exactly"

# The same pair meets large-text AA: a level of 3 is reached. A colour as the
# window's list names it, and any form a paste reads.
contrast 'rgb(136, 136, 136)' '$00FFFFFF' --level 3
[ "$code" -eq 0 ] || fail "--level 3: exit $code, expected 0 ($err)"
[ "$(head -n 1 <<<"$out")" = 'ratio 3.54' ] || fail "--level 3 printed: $out"
echo "ok: --level 3 reached, exit 0"
contrast Black BlancheDalmond --level 21
[ "$code" -eq 3 ] || fail "--level 21: exit $code, expected 3"
grep -qx 'text-7 #000000 0.00' <<<"$out" || fail "a colour that passes is not its own suggestion: $out"
echo "ok: a list name read, a passing colour its own suggestion"

contrast nonsense white
[ "$code" -eq 2 ] || fail "an unreadable colour: exit $code, expected 2"
[ -z "$out" ] || fail "an unreadable colour printed: $out"
[ "$err" = 'Ошибка в цвете «nonsense»: неизвестное имя цвета' ] || fail "an unreadable colour: $err"
echo "ok: an unreadable colour: exit 2, $err"

for level in 0.5 22; do
  contrast black white --level "$level"
  [ "$code" -eq 2 ] || fail "--level $level: exit $code, expected 2"
  [ "$err" = "Уровень «$level» должен быть числом от 1 до 21" ] || fail "--level $level: $err"
done
echo "ok: levels outside 1 to 21: exit 2"
echo "PASS: --contrast reports, and exits 0, 3 and 2, with no display"
