#!/usr/bin/env bash
# Installs what is missing, builds Huebox (Release, into build/) and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release
cmake --build build -j2 --target huebox
exec build/app/huebox "$@"
