#!/usr/bin/env bash
# Installs the built program into a fresh prefix and checks the tree: every
# file in its place, the launcher starting the program (also through a link and
# after the whole tree is moved), the first notes file, and a second install
# keeping the user's notes. A staged install (DESTDIR, as the package build
# does) lands under the stage and names the final prefix.
#   check_install.sh CMAKE BUILD_DIR APP_ID
set -euo pipefail
cmake=$1 build=$2 id=$3

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

install_into() {
    if ! "$cmake" --install "$build" --prefix "$1" >"$tmp/install.log" 2>&1; then
        cat "$tmp/install.log"
        echo "FAIL: cmake --install into $1"
        exit 1
    fi
}

# png_size FILE -> "WIDTHxHEIGHT" read from the PNG header
png_size() {
    local bytes
    bytes=($(od -An -tu1 -j16 -N8 "$1"))
    echo "$(((bytes[0] << 24) + (bytes[1] << 16) + (bytes[2] << 8) + bytes[3]))x$(((bytes[4] << 24) + (bytes[5] << 16) + (bytes[6] << 8) + bytes[7]))"
}

# starts LAUNCHER: the program must still be running after 3 seconds
starts() {
    local rc=0
    QT_QPA_PLATFORM=offscreen timeout 3 "$1" >"$tmp/run.log" 2>&1 || rc=$?
    if [ "$rc" -ne 124 ]; then
        fail "$1 ended early with exit status $rc"
        cat "$tmp/run.log"
    fi
}

notes_text=$(printf 'Notes\r\n' | od -An -c)
notes_of() { od -An -c "$1"; }

# A blank in the prefix: the launcher and the desktop entry must quote it.
p="$tmp/my prefix"
install_into "$p"
prog="$p/lib/agelark"

[ -x "$prog/agelark" ] || fail "the program $prog/agelark is missing or not executable"
[ -x "$p/bin/agelark" ] || fail "the launcher $p/bin/agelark is missing or not executable"
for f in Agelark.jpg agelark.png Notes.txt; do
    [ -f "$prog/$f" ] || fail "$prog/$f is missing"
done
# The title picture and one picture per console, as drawn by the build, each
# also at twice the size for dense screens.
built_pictures=$(cd "$build/app" && ls -- *.jpg)
[ "$(echo "$built_pictures" | wc -l)" -eq 76 ] || fail "the build drew $(echo "$built_pictures" | wc -l) pictures, not 76"
[ "$(echo "$built_pictures" | grep -c '@2x\.jpg$')" -eq 38 ] || fail "the build drew no picture at twice the size for some"
for f in $built_pictures; do
    cmp -s "$build/app/$f" "$prog/$f" || fail "the picture $prog/$f is missing or differs"
done
# The windows' own icon beside the program, at the sizes the windows take.
for f in agelark.png agelark-48.png agelark-64.png agelark-128.png; do
    cmp -s "$build/app/$f" "$prog/$f" || fail "the window icon $prog/$f is missing or differs"
done
[ -f "$p/share/applications/$id.desktop" ] || fail "the desktop entry is missing"
[ -f "$p/share/metainfo/$id.metainfo.xml" ] || fail "the AppStream metadata is missing"
for size in 32 48 64 128 256; do
    icon="$p/share/icons/hicolor/${size}x${size}/apps/$id.png"
    if [ -f "$icon" ]; then
        [ "$(png_size "$icon")" = "${size}x${size}" ] || fail "$icon is $(png_size "$icon"), not ${size}x${size}"
    else
        fail "$icon is missing"
    fi
done
grep -qxF "Exec=\"$p/bin/agelark\"" "$p/share/applications/$id.desktop" ||
    fail "the desktop entry does not start $p/bin/agelark: $(grep '^Exec=' "$p/share/applications/$id.desktop")"
[ "$(notes_of "$prog/Notes.txt")" = "$notes_text" ] || fail "the first Notes.txt is not \"Notes\\r\\n\": $(notes_of "$prog/Notes.txt")"

# A second install keeps the user's notes and puts back a lost picture.
printf 'my own notes\r\n' >"$prog/Notes.txt"
rm "$prog/ps2.jpg"
install_into "$p"
[ "$(cat "$prog/Notes.txt")" = $'my own notes\r' ] || fail "a second install replaced the user's Notes.txt"
[ -f "$prog/ps2.jpg" ] || fail "a second install did not put back ps2.jpg"

starts "$p/bin/agelark"
mkdir "$tmp/elsewhere"
ln -s "$p/bin/agelark" "$tmp/elsewhere/agelark"
starts "$tmp/elsewhere/agelark"
mv "$p" "$tmp/moved"
starts "$tmp/moved/bin/agelark"

# Staged install for /usr, as the Debian package is built.
DESTDIR="$tmp/stage" "$cmake" --install "$build" --prefix /usr >"$tmp/install.log" 2>&1 ||
    { cat "$tmp/install.log"; fail "the staged install failed"; }
[ -x "$tmp/stage/usr/lib/agelark/agelark" ] || fail "the staged install put the program elsewhere"
[ "$(notes_of "$tmp/stage/usr/lib/agelark/Notes.txt")" = "$notes_text" ] || fail "the staged install has no first Notes.txt"
grep -qxF "Exec=/usr/bin/agelark" "$tmp/stage/usr/share/applications/$id.desktop" ||
    fail "the staged desktop entry does not start /usr/bin/agelark"

[ "$failures" -eq 0 ]
