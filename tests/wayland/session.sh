# A Wayland desktop of its own for the end-to-end checks: sway on its headless
# backend, a private session bus, pipewire and the desktop portal with its wlr
# and gtk backends. Sourced by the check scripts, which run as the user that
# owns SESSION_DIR; every file goes in there and every process started here is
# stopped by its pid at exit.
#
# Exit code 77 (a skip) means the session itself could not start; with
# HUEBOX_REQUIRE_WAYLAND set that is a failure instead.

fail() {
  echo "FAIL: $*" >&2
  # The program's own last words, for a run nobody watched.
  if [ -s "${SESSION_DIR:-}/log/huebox.log" ]; then
    echo "--- end of huebox's log:" >&2
    if grep -q 'ERROR: ' "$SESSION_DIR/log/huebox.log"; then
      # Each report's first frames, direct leaks first.
      grep -A8 -E '^(Direct|Indirect) leak|ERROR: ' "$SESSION_DIR/log/huebox.log" | head -n 80 >&2
    else
      tail -n 40 "$SESSION_DIR/log/huebox.log" >&2
    fi
  fi
  exit 1
}

skip() {
  [ -n "${HUEBOX_REQUIRE_WAYLAND:-}" ] && fail "the Wayland session cannot start ($*) and HUEBOX_REQUIRE_WAYLAND is set"
  echo "SKIP: the Wayland session cannot start: $*"
  exit 77
}

# Polls a command for up to $1 tenths of a second.
poll() {
  local tries=$1
  shift
  for _ in $(seq 1 "$tries"); do
    "$@" && return 0
    sleep 0.1
  done
  return 1
}

session_pids=()

# Starts a program in the background, its output in the log, and notes its pid.
spawn() {
  local name=$1
  shift
  "$@" >>"$SESSION_DIR/log/$name.log" 2>&1 &
  session_pids+=($!)
  last_pid=$!
}

# Stops one process (also a stopped one) and waits for it, killing it if it lingers.
stop_pid() {
  kill -0 "$1" 2>/dev/null || return 0
  kill -TERM "$1" 2>/dev/null
  kill -CONT "$1" 2>/dev/null
  poll 30 eval "! kill -0 $1 2>/dev/null" || kill -KILL "$1" 2>/dev/null
  wait "$1" 2>/dev/null
  return 0
}

stop_session() {
  local i
  for ((i = ${#session_pids[@]} - 1; i >= 0; i--)); do
    stop_pid "${session_pids[i]}"
  done
  session_pids=()
  [ -n "${SESSION_OWN_DIR:-}" ] && rm -rf "$SESSION_DIR"
}

bus_has() {
  dbus-send --session --print-reply=literal --dest=org.freedesktop.DBus /org/freedesktop/DBus \
    org.freedesktop.DBus.NameHasOwner "string:$1" 2>/dev/null | grep -q true
}

# The bus, then the compositor; the portal comes later with start_portal.
start_session() {
  local program
  for program in sway swaymsg swaybg dbus-daemon dbus-send gdbus jq pipewire grim wl-copy wl-paste wtype \
    /usr/libexec/at-spi-bus-launcher /usr/libexec/xdg-desktop-portal /usr/libexec/xdg-desktop-portal-wlr /usr/libexec/xdg-desktop-portal-gtk; do
    command -v "$program" >/dev/null || skip "$program is not installed"
  done
  [ -e /usr/lib/x86_64-linux-gnu/qt6/plugins/platforms/libqwayland-generic.so ] ||
    ls /usr/lib/*/qt6/plugins/platforms/libqwayland-generic.so >/dev/null 2>&1 || skip "qt6-wayland is not installed"

  if [ -z "${SESSION_DIR:-}" ]; then
    SESSION_DIR=$(mktemp -d)
    SESSION_OWN_DIR=1
  fi
  trap stop_session EXIT
  trap 'exit 1' INT TERM
  mkdir -p "$SESSION_DIR"/{run,home,config,cache,data,log,bin}
  chmod 700 "$SESSION_DIR/run"
  export XDG_RUNTIME_DIR=$SESSION_DIR/run HOME=$SESSION_DIR/home XDG_CONFIG_HOME=$SESSION_DIR/config \
    XDG_CACHE_HOME=$SESSION_DIR/cache XDG_DATA_HOME=$SESSION_DIR/data
  export XDG_SESSION_TYPE=wayland XDG_CURRENT_DESKTOP=sway:GNOME PATH=$SESSION_DIR/bin:$PATH
  unset DISPLAY WAYLAND_DISPLAY SWAYSOCK DBUS_SESSION_BUS_ADDRESS QT_QPA_PLATFORM QT_SCALE_FACTOR \
    QT_ENABLE_HIGHDPI_SCALING QT_SCREEN_SCALE_FACTORS

  # No services to start on demand: only what this script starts is on the bus.
  cat >"$SESSION_DIR/bus.conf" <<EOF
<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <type>session</type>
  <listen>unix:path=$XDG_RUNTIME_DIR/bus</listen>
  <auth>EXTERNAL</auth>
  <policy context="default"><allow send_destination="*" eavesdrop="true"/><allow eavesdrop="true"/><allow own="*"/></policy>
</busconfig>
EOF
  spawn dbus dbus-daemon --nofork --nopidfile --config-file="$SESSION_DIR/bus.conf"
  export DBUS_SESSION_BUS_ADDRESS=unix:path=$XDG_RUNTIME_DIR/bus
  poll 50 bus_has org.freedesktop.DBus || skip "the session bus did not start"

  cat >"$SESSION_DIR/sway.conf" <<EOF
xwayland disable
output * bg $BACKGROUND solid_color
default_border none
default_floating_border none
focus_follows_mouse no
for_window [app_id="$APP_ID"] floating enable
EOF
  WLR_BACKENDS=headless WLR_RENDERER=pixman WLR_LIBINPUT_NO_DEVICES=1 spawn sway sway -c "$SESSION_DIR/sway.conf"
  local sock
  sway_socket() {
    sock=$(ls "$XDG_RUNTIME_DIR"/sway-ipc.*.sock 2>/dev/null | head -n 1)
    [ -n "$sock" ] && swaymsg -s "$sock" -t get_outputs >/dev/null 2>&1
  }
  poll 100 sway_socket || skip "sway did not start: $(tail -n 3 "$SESSION_DIR/log/sway.log")"
  export SWAYSOCK=$sock
  WAYLAND_DISPLAY=$(basename "$(ls "$XDG_RUNTIME_DIR"/wayland-* | grep -v '\.lock$' | head -n 1)")
  export WAYLAND_DISPLAY

  # The accessibility bus, on which the program's notes are read.
  spawn a11y /usr/libexec/at-spi-bus-launcher --launch-immediately
  poll 50 bus_has org.a11y.Bus || skip "the accessibility bus did not start"
  A11Y_BUS=$(dbus-send --session --print-reply=literal --dest=org.a11y.Bus /org/a11y/bus org.a11y.Bus.GetAddress | tr -d ' ')
}

# The desktop portal: the frontend and the backends for the given portal files.
# With no argument, the full set (Screenshot through wlr, Access through gtk).
start_portal() {
  local portals=${1:-wlr gtk} p
  mkdir -p "$SESSION_DIR/portals"
  rm -f "$SESSION_DIR"/portals/*
  for p in $portals; do
    cp "/usr/share/xdg-desktop-portal/portals/$p.portal" "$SESSION_DIR/portals/"
  done
  if [ ! -S "$XDG_RUNTIME_DIR/pipewire-0" ]; then
    spawn pipewire pipewire
    poll 50 test -S "$XDG_RUNTIME_DIR/pipewire-0" || skip "pipewire did not start"
  fi
  portal_pids=()
  for p in $portals; do
    spawn "portal-$p" "/usr/libexec/xdg-desktop-portal-$p"
    portal_pids+=("$last_pid")
    poll 50 bus_has "org.freedesktop.impl.portal.desktop.$p" || skip "the $p portal did not start"
  done
  XDG_DESKTOP_PORTAL_DIR=$SESSION_DIR/portals spawn portal /usr/libexec/xdg-desktop-portal -r
  portal_pid=$last_pid
  portal_pids+=("$last_pid")
  poll 50 bus_has org.freedesktop.portal.Desktop || skip "the desktop portal did not start"
}

stop_portal() {
  local p
  for p in "${portal_pids[@]}"; do stop_pid "$p"; done
  poll 30 eval '! bus_has org.freedesktop.portal.Desktop' || fail "the desktop portal did not leave the bus"
}
