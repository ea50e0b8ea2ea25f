#!/usr/bin/env bash
# Formats every C++ source of the project with clang-format (.clang-format).
#   scripts/format.sh          rewrite the files in place
#   scripts/format.sh --check  change nothing; list the files that differ and
#                              fail if there are any (scripts/test.sh runs this)
set -euo pipefail
cd "$(dirname "$0")/.."
check=false
case "${1:-}" in
'') ;;
--check) check=true ;;
*) echo "usage: $0 [--check]" >&2; exit 2 ;;
esac
command -v clang-format >/dev/null || { echo "clang-format is missing: scripts/install-deps.sh --test" >&2; exit 1; }

mapfile -d '' sources < <(find app bench color framework fuzz picker tests tools widgets \
  -type f \( -name '*.cpp' -o -name '*.h' \) -print0 | sort -z)
if ! $check; then
  clang-format -i "${sources[@]}"
  exit 0
fi
bad=()
for f in "${sources[@]}"; do
  clang-format --dry-run --Werror "$f" >/dev/null 2>&1 || bad+=("$f")
done
if [ ${#bad[@]} -gt 0 ]; then
  printf 'not formatted: %s\n' "${bad[@]}" >&2
  echo "run scripts/format.sh to format them" >&2
  exit 1
fi
echo "format: ${#sources[@]} files as .clang-format has them"
