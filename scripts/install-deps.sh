#!/usr/bin/env bash
# Installs the Debian packages a command needs, and only those that are
# missing. Without an argument: what building and running Huebox needs
# (scripts/run.sh). Add the groups a command needs besides:
#   --test   the test suite: X servers (Xvfb, and one of two monitors), input,
#            clipboard and monitor tools, the accessibility bus, packaging and
#            manual page tools, clang-format, and a Wayland session with the
#            desktop portal (scripts/test.sh)
#   --bench  the benchmarks: Google Benchmark, valgrind, the X extension the
#            start-up probe uses (scripts/bench.sh)
#   --fuzz   clang with libFuzzer and its sanitizer runtime (scripts/fuzz.sh)
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools
  fonts-liberation2 qt6-translations-l10n
  libx11-dev libxcb1-dev libfontconfig-dev
)
for group in "$@"; do
  case $group in
  --test)
    packages+=(xvfb xauth xdotool xclip x11-utils x11-xserver-utils dbus-daemon at-spi2-core clang-format
      xserver-xorg-core xserver-xorg-video-dummy
      desktop-file-utils appstream dpkg-dev file lintian man-db groff-base
      sway qt6-wayland wl-clipboard wtype grim pipewire jq libglib2.0-bin
      xdg-desktop-portal xdg-desktop-portal-wlr xdg-desktop-portal-gtk) ;;
  --bench) packages+=(libbenchmark-dev valgrind libxdamage-dev xvfb xauth xdotool) ;;
  --fuzz) packages+=(clang libclang-rt-14-dev) ;;
  *) echo "usage: $0 [--test] [--bench] [--fuzz]" >&2; exit 2 ;;
  esac
done

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$p")
done

[[ ${#missing[@]} -eq 0 ]] && exit 0

if [[ $(id -u) -ne 0 ]]; then
  echo "Missing packages: ${missing[*]}" >&2
  echo "Run: sudo apt-get update && sudo apt-get install -y --no-install-recommends ${missing[*]}" >&2
  exit 1
fi

export DEBIAN_FRONTEND=noninteractive
apt-get update -q
apt-get install -y -q --no-install-recommends "${missing[@]}"
