#!/usr/bin/env bash
# Runs a command on an X server of two monitors side by side, as a desktop
# with a laptop panel and a smaller display beside it has them: the X server
# with its dummy video driver (Xvfb has a single monitor), two RandR outputs,
#   DUMMY0 1600x900 at 0,0 and DUMMY1 800x600 at 1600,200,
# so the second monitor is not at the origin and the root has a corner that
# no monitor shows.
#   monitors.sh XORG [--ratios FIRST SECOND] COMMAND [ARGUMENTS...]
# --ratios gives each monitor its own device pixel ratio in Qt.
set -euo pipefail
xorg=$1
shift
if [ "${1:-}" = --ratios ]; then
  export QT_SCREEN_SCALE_FACTORS="DUMMY0=$2;DUMMY1=$3"
  shift 3
fi

dir=$(mktemp -d)
xorg_pid=
cleanup() {
  if [ -n "$xorg_pid" ]; then
    kill "$xorg_pid" 2>/dev/null || true
    wait "$xorg_pid" 2>/dev/null || true
  fi
  rm -rf "$dir"
}
trap cleanup EXIT

cat >"$dir/xorg.conf" <<'CONF'
Section "ServerFlags"
  Option "AutoAddDevices" "false"
  Option "AutoEnableDevices" "false"
  Option "DontVTSwitch" "true"
EndSection
Section "Device"
  Identifier "card"
  Driver "dummy"
  VideoRam 65536
EndSection
Section "Monitor"
  Identifier "panel"
  HorizSync 5.0-1000.0
  VertRefresh 5.0-200.0
  Modeline "1600x900" 33.92 1600 1632 1760 1792 900 921 924 946
EndSection
Section "Screen"
  Identifier "screen"
  Device "card"
  Monitor "panel"
  DefaultDepth 24
  SubSection "Display"
    Depth 24
    Modes "1600x900"
    Virtual 2400 900
  EndSubSection
EndSection
CONF

# The server picks a free display and writes its number to the pipe.
mkfifo "$dir/display"
exec {displayfd}<>"$dir/display"
"$xorg" -displayfd "$displayfd" -config "$dir/xorg.conf" -configdir "$dir" -noreset -nolisten tcp \
  -logfile "$dir/xorg.log" >"$dir/xorg.out" 2>&1 &
xorg_pid=$!
display=
if ! read -r -t 20 -u "$displayfd" display || [ -z "$display" ]; then
  echo "FAIL: the X server did not start" >&2
  cat "$dir/xorg.out" >&2
  grep -E '\((EE|WW)\)' "$dir/xorg.log" >&2 || true
  exit 1
fi
export DISPLAY=":$display"

xrandr --addmode DUMMY1 800x600
xrandr --fb 2400x900 --output DUMMY0 --mode 1600x900 --pos 0x0 --primary \
  --output DUMMY1 --mode 800x600 --pos 1600x200
monitors=$(xrandr --listactivemonitors | head -n 1)
if [ "$monitors" != "Monitors: 2" ]; then
  echo "FAIL: the X server shows '$monitors', not two monitors" >&2
  exit 1
fi

"$@"
