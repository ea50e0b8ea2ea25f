#!/usr/bin/env bash
# Builds the .deb, unpacks it into a temporary root and starts the program
# from there: the package holds everything the desktop needs and runs.
# The desktop entry names the window class the running program sets.
# Usage (under an X server): test_deb.sh BUILD-DIR XCLOSE
set -u
build=$1
xclose=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

cpack --config "$build/CPackConfig.cmake" -B "$work/out" >/dev/null || fail "cpack failed"
deb=$(ls "$work"/out/huebox_*.deb 2>/dev/null | head -n 1)
[ -n "$deb" ] || fail "no package"
info=$(dpkg-deb --info "$deb")
grep -q 'Package: huebox' <<<"$info" || fail "package name"
grep -Eq 'Depends:.*libqt6widgets6' <<<"$info" || fail "package does not depend on the Qt widgets library"

# Any error or warning of Debian's package checker fails the test.
report=$(lintian --tag-display-limit 0 "$deb" 2>/dev/null) || [ -n "$report" ] || fail "lintian did not run"
findings=$(grep -E '^[EW]: ' <<<"$report")
[ -z "$findings" ] || fail "lintian: $findings"

dpkg-deb -x "$deb" "$work/root" || fail "cannot unpack"
for f in usr/bin/huebox usr/share/applications/org.example.huebox.desktop \
         usr/share/metainfo/org.example.huebox.metainfo.xml \
         usr/share/icons/hicolor/48x48/apps/org.example.huebox.png; do
  [ -e "$work/root/$f" ] || fail "package lacks $f"
done

unset QT_QPA_PLATFORM
"$work/root/usr/bin/huebox" &
pid=$!
window=
for _ in $(seq 1 100); do
  window=$(xdotool search --onlyvisible --name '^Huebox v1\.0$' 2>/dev/null | head -n 1)
  [ -n "$window" ] && break
  kill -0 $pid 2>/dev/null || fail "the packaged program exited"
  sleep 0.1
done
[ -n "$window" ] || fail "the packaged program showed no window"

# Docks and task bars match the running window to its desktop entry by the
# class part of its WM_CLASS.
wm_class=$(xprop -id "$window" -notype WM_CLASS) || fail "cannot read WM_CLASS"
class=$(sed -n 's/^WM_CLASS = "[^"]*", "\([^"]*\)"$/\1/p' <<<"$wm_class")
entry=$(sed -n 's/^StartupWMClass=//p' "$work/root/usr/share/applications/org.example.huebox.desktop")
[ -n "$class" ] || fail "no class in $wm_class"
[ "$entry" = "$class" ] || fail "StartupWMClass '$entry', the window's class '$class'"
echo "ok: StartupWMClass=$entry matches $wm_class"
"$xclose" "$window"
wait $pid || fail "exit code $?"
echo "PASS: package builds, unpacks and runs"
