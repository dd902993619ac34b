#!/usr/bin/env bash
# The install: a valid desktop entry starting the program by its full path, quoted as needed; under a prefix with
# a blank, the data, the icons at their sizes and no notes file; the command line answered without a display.
#   check_install.sh CMAKE BUILD_DIR APP_ID DESKTOP_ENTRY_SCRIPT DESKTOP_ENTRY_TEMPLATE COMMENT VERSION
set -euo pipefail
cmake=$1 build=$2 id=$3 script=$4 template=$5 comment=$6 version=$7
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
cd "$tmp"
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
entry() {  # LAUNCHER EXEC_LINE
    "$cmake" -DTEMPLATE="$template" -DLAUNCHER="$1" -DOUTPUT=entry.desktop -P "$script" >/dev/null &&
        desktop-file-validate entry.desktop && grep -qxF "Comment=$comment" entry.desktop &&
        ! grep -q @ entry.desktop && grep -qxF "$2" entry.desktop || { cat entry.desktop; fail "no [$2] for [$1]"; }
}

entry /usr/bin/agelark 'Exec=/usr/bin/agelark'
entry rel/bin/agelark "Exec=$(pwd -P)/rel/bin/agelark"  # a path relative to the working folder, in full
# A blank, a dollar, a quote, a backslash and a percent sign in the path.
entry '/opt/My Apps/a$b"c\d%e/bin/agelark' 'Exec="/opt/My Apps/a\\$b\\"c\\\\d%%e/bin/agelark"'
! "$cmake" -DTEMPLATE="$template" -DLAUNCHER=$'/a\nb/agelark' -DOUTPUT=entry.desktop -P "$script" >/dev/null 2>&1 ||
    fail "a launcher path with a line break was taken"

p="$tmp/my prefix"
"$cmake" --install "$build" --prefix "$p" >"$tmp/log" || { cat "$tmp/log"; exit 1; }
for f in "$build"/app/*.jpg "$build"/app/agelark{,-48,-64,-128}.png "$build"/app/about.html; do
    cmp -s "$f" "$p/share/agelark/${f##*/}" || fail "$p/share/agelark/${f##*/} is missing or differs"
done
[ -z "$(find "$p" -name Notes.txt)" ] || fail "the install holds a notes file: $(find "$p" -name Notes.txt)"
for size in 32 48 64 128 256; do
    icon="$p/share/icons/hicolor/${size}x$size/apps/$id.png"
    [ "$(od -An -tu4 --endian=big -j16 -N8 "$icon" | xargs)" = "$size $size" ] || fail "$icon is not ${size}x$size"
done
[ -f "$p/share/metainfo/$id.metainfo.xml" ] && [ -f "$p/share/man/man1/agelark.1" ] || fail "metadata or manual missing"
grep -qxF "Exec=\"$p/bin/agelark\"" "$p/share/applications/$id.desktop" || fail "the entry does not start the program"

# The command line, with no window system at all: what it says, on which stream, and its exit status.
says() { if [ -z "$1" ]; then [ ! -s "$2" ]; else grep -Eqz "$1" "$2"; fi; }  # PATTERN (none: nothing) FILE
answers() {  # STATUS STDOUT_PATTERN STDERR_PATTERN ARGUMENT...
    local want=$1 out=$2 err=$3 status=0
    shift 3
    env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$p/bin/agelark" "$@" >out 2>err || status=$?
    [ "$status" = "$want" ] && says "$out" out && says "$err" err ||
        fail "agelark $* ended with $status [$(cat out err)]"
}
nl=$'\n'
answers 0 "^Agelark $version$nl\$" '' --version
answers 0 "^Usage: agelark \[options\]$nl.*--version" '' --help
answers 0 "^Agelark $version$nl\$" '' -platform offscreen -v
answers 2 '' "^agelark: Unknown option 'frobnicate'\. Try 'agelark --help'\.$nl\$" --frobnicate
answers 2 '' "^agelark: Unexpected argument 'Notes.txt'\. Try 'agelark --help'\.$nl\$" Notes.txt
answers 1 '' '^agelark: no window system' -style fusion  # a Qt option is Qt's: no display, no windows
status=0
timeout 3 "$p/bin/agelark" -platform offscreen >"$tmp/log" 2>&1 || status=$?
[ "$status" -eq 124 ] || { cat "$tmp/log"; fail "agelark -platform offscreen ended early with exit status $status"; }
[ "$failures" -eq 0 ]
