#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing need,
# and only those that are missing. With --bench also what scripts/bench.sh
# needs besides (valgrind, which counts the start-up instructions).
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools
  fonts-liberation2 qt6-translations-l10n
  xvfb xdotool xclip xauth x11-utils dbus-daemon at-spi2-core
  libbenchmark-dev libx11-dev libxcb1-dev libxdamage-dev
  clang libclang-rt-14-dev
  desktop-file-utils appstream dpkg-dev file
)
[[ "${1:-}" == "--bench" ]] && packages+=(valgrind)

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
