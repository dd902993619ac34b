#!/usr/bin/env bash
# The install. Its desktop entry, written for a launcher anywhere, passes desktop-file-validate and starts the
# launcher by its full path, quoted as the path needs; a line break in it is refused. Installed under a blank
# in its prefix, the tree holds what the build drew, the first notes file and the icons at their sizes; the
# launcher starts the program, also through a link and moved; a second install keeps the user's notes; a
# staged install (DESTDIR, as the package build does) lands under the stage and names the final prefix.
#   check_install.sh CMAKE BUILD_DIR APP_ID DESKTOP_ENTRY_SCRIPT DESKTOP_ENTRY_TEMPLATE COMMENT
set -euo pipefail
cmake=$1 build=$2 id=$3 script=$4 template=$5 comment=$6
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
cd "$tmp"
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
holds() { printf "$1" | cmp -s - "$2" || fail "$2 does not hold [$1]"; }
entry() {  # LAUNCHER EXEC_LINE
    "$cmake" -DTEMPLATE="$template" -DLAUNCHER="$1" -DOUTPUT=entry.desktop -P "$script" >/dev/null &&
        desktop-file-validate entry.desktop && grep -qxF "Comment=$comment" entry.desktop &&
        ! grep -q @ entry.desktop && grep -qxF "$2" entry.desktop || { cat entry.desktop; fail "no [$2] for [$1]"; }
}
install_into() { "$cmake" --install "$build" --prefix "$1" >"$tmp/log" || { cat "$tmp/log"; exit 1; }; }
starts() {  # still running after 3 seconds
    local status=0
    QT_QPA_PLATFORM=offscreen timeout 3 "$1" >"$tmp/log" 2>&1 || status=$?
    [ "$status" -eq 124 ] || { cat "$tmp/log"; fail "$1 ended early with exit status $status"; }
}

entry /usr/bin/agelark 'Exec=/usr/bin/agelark'
entry rel/bin/agelark "Exec=$(pwd -P)/rel/bin/agelark"  # a path relative to the working folder, in full
# A blank, a dollar, a quote, a backslash and a percent sign in the path.
entry '/opt/My Apps/a$b"c\d%e/bin/agelark' 'Exec="/opt/My Apps/a\\$b\\"c\\\\d%%e/bin/agelark"'
! "$cmake" -DTEMPLATE="$template" -DLAUNCHER=$'/a\nb/agelark' -DOUTPUT=entry.desktop -P "$script" >/dev/null 2>&1 ||
    fail "a launcher path with a line break was taken"

p="$tmp/my prefix"
install_into "$p"
for f in "$build"/app/*.jpg "$build"/app/agelark{,-48,-64,-128}.png; do
    cmp -s "$f" "$p/lib/agelark/${f##*/}" || fail "$p/lib/agelark/${f##*/} is missing or differs"
done
holds 'Notes\r\n' "$p/lib/agelark/Notes.txt"
for size in 32 48 64 128 256; do
    icon="$p/share/icons/hicolor/${size}x$size/apps/$id.png"
    [ "$(od -An -tu4 --endian=big -j16 -N8 "$icon" | xargs)" = "$size $size" ] || fail "$icon is not ${size}x$size"
done
[ -f "$p/share/metainfo/$id.metainfo.xml" ] || fail "the AppStream metadata is missing"
grep -qxF "Exec=\"$p/bin/agelark\"" "$p/share/applications/$id.desktop" || fail "the entry does not start the launcher"
printf 'my own notes\r\n' >"$p/lib/agelark/Notes.txt"
install_into "$p"
holds 'my own notes\r\n' "$p/lib/agelark/Notes.txt"
starts "$p/bin/agelark"
ln -s "$p/bin/agelark" "$tmp/link"
starts "$tmp/link"
mv "$p" "$tmp/moved"
starts "$tmp/moved/bin/agelark"

DESTDIR="$tmp/stage" install_into /usr
holds 'Notes\r\n' "$tmp/stage/usr/lib/agelark/Notes.txt"
grep -qxF Exec=/usr/bin/agelark "$tmp/stage/usr/share/applications/$id.desktop" || fail "the staged entry runs the stage"
[ "$failures" -eq 0 ]
