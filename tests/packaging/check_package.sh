#!/usr/bin/env bash
# The Debian package: lintian-clean; its program runs with no display; no notes file, nothing in /usr/lib, and no
# placeholder (example.org, the braces of a removed name) in its files, as UTF-8 or UTF-16, or its control fields.
#   check_package.sh SOURCE_DIR OUT_DIR VERSION
set -euo pipefail
command -v dpkg-buildpackage >/dev/null || { echo "SKIP: no dpkg-buildpackage: this is no Debian system"; exit 77; }
src=$1 out=$2 version=$3
DEB_BUILD_OPTIONS=nocheck bash "$src/scripts/package" "$out"
deb=$(echo "$out"/agelark_"${version}"_*.deb)
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

lintian --info --fail-on error,warning,info "$deb" 2>&1 | grep -v 'root privileges' | tee "$tmp/lintian" || true
[ ! -s "$tmp/lintian" ] || fail "lintian has something to say"
[ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || fail "debian/changelog is not at the project's version $version"

dpkg-deb -x "$deb" "$tmp/root"
bare=(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM)
[ "$("${bare[@]}" "$tmp/root/usr/bin/agelark" --version)" = "Agelark $version" ] || fail "--version"
[ -f "$tmp/root/usr/share/agelark/about.html" ] && [ -f "$tmp/root/usr/share/agelark/Agelark.jpg" ] ||
    fail "the data is not in /usr/share/agelark"
[ -z "$(find "$tmp/root" -name Notes.txt -o -path '*/usr/lib*')" ] || fail "a notes file or /usr/lib in the package"
grep -qxF Exec=/usr/bin/agelark "$tmp"/root/usr/share/applications/*.desktop || fail "the entry does not start it"
placeholder='example\.org|\{qAv\}|e\x00x\x00a\x00m\x00p\x00l\x00e\x00\.\x00o\x00r\x00g|\{\x00q\x00A\x00v\x00\}'
for found in $(LC_ALL=C grep -rlaiP "$placeholder" "$tmp/root"); do fail "a placeholder in ${found#"$tmp/root"}"; done
dpkg-deb -f "$deb" | grep -iP "$placeholder" && fail "a placeholder in the control fields"
[ "$failures" -eq 0 ]
