#!/usr/bin/env bash
# Installs into a temporary prefix and checks every file a desktop needs;
# validates the desktop entry and the metainfo where the validators exist.
# Usage: test_install.sh BUILD-DIR
set -u
build=$1
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

cmake --install "$build" --prefix "$prefix" >/dev/null || fail "cmake --install failed"

id=org.example.huebox
expect=(
  bin/huebox
  share/applications/$id.desktop
  share/metainfo/$id.metainfo.xml
  share/icons/hicolor/scalable/apps/$id.svg
  share/man/man1/huebox.1.gz
  share/doc/huebox/copyright
  share/doc/huebox/changelog.gz
)
for size in 16 24 32 48 64 128 256; do
  expect+=("share/icons/hicolor/${size}x${size}/apps/$id.png")
done
for f in "${expect[@]}"; do
  [ -s "$prefix/$f" ] || fail "missing $f"
done
[ -x "$prefix/bin/huebox" ] || fail "bin/huebox is not executable"

for size in 16 32 256; do
  info=$(file "$prefix/share/icons/hicolor/${size}x${size}/apps/$id.png")
  grep -q "PNG image data, $size x $size" <<<"$info" || fail "icon $size: $info"
done

grep -q '^Exec=huebox$' "$prefix/share/applications/$id.desktop" || fail "desktop entry does not start huebox"
grep -q "^Icon=$id\$" "$prefix/share/applications/$id.desktop" || fail "desktop entry names another icon"
grep -q '^StartupWMClass=.' "$prefix/share/applications/$id.desktop" || fail "desktop entry names no window class"

if command -v desktop-file-validate >/dev/null; then
  desktop-file-validate "$prefix/share/applications/$id.desktop" || fail "desktop entry is not valid"
fi
if command -v appstreamcli >/dev/null; then
  appstreamcli validate --no-net --pedantic "$prefix/share/metainfo/$id.metainfo.xml" || fail "metainfo is not valid"
fi
# man prints roff's warnings (a bad macro, a line it cannot fill) on stderr.
warnings=$(MANWIDTH=80 man --warnings -l "$prefix/share/man/man1/huebox.1.gz" 2>&1 >/dev/null)
[ -z "$warnings" ] || fail "manual page: $warnings"
page=$(MANWIDTH=80 man -l "$prefix/share/man/man1/huebox.1.gz" 2>/dev/null)
for section in NAME SYNOPSIS DESCRIPTION OPTIONS "EXIT STATUS" EXAMPLES; do
  grep -q "^$section\$" <<<"$page" || fail "manual page lacks $section"
done
echo "PASS: ${#expect[@]} files installed and valid"
