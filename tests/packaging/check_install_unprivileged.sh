#!/usr/bin/env bash
# A system-wide install, owned by root and not writable by others, run by an
# unprivileged user (nobody) with a home of their own: the notes are read from
# the program folder's Notes.txt until the user's first save, which makes the
# user's own copy; that copy is read from then on (test_installed.py, on a
# desktop session of the user's own), and the program folder's file is never
# written.
#   check_install_unprivileged.sh CMAKE BUILD_DIR DESKTOP_TIER_FOLDER
set -euo pipefail
cmake=$1 build=$2 desktop=$3

if [ "$(id -u)" -ne 0 ] || ! id nobody >/dev/null 2>&1 || ! command -v runuser >/dev/null; then
    echo "SKIP: needs root, runuser and the user nobody"
    exit 77
fi

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
chmod 755 "$tmp"
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

prefix="$tmp/prefix"
if ! "$cmake" --install "$build" --prefix "$prefix" >"$tmp/install.log" 2>&1; then
    cat "$tmp/install.log"
    echo "FAIL: cmake --install into $prefix"
    exit 1
fi
prog="$prefix/lib/agelark"
printf 'shared notes\r\n' >"$prog/Notes.txt"
chown -R root:root "$prefix"
chmod -R go-w "$prefix"
home="$tmp/home"
mkdir "$home"
chown nobody "$home"

as_nobody() { runuser -u nobody -- "$@"; }
as_nobody test -w "$prog" && fail "nobody may write the program folder $prog"
as_nobody test -w "$prog/Notes.txt" && fail "nobody may write $prog/Notes.txt"

# What nobody runs, copied where nobody may read it: the checkout may lie in a
# folder only its owner may enter.
driver="$tmp/driver"
mkdir "$driver"
cp "$desktop"/{desktop.py,test_installed.py,session.sh,accessibility_bus.sh,lsan_system_libraries.supp} "$driver"
chmod -R a+rX "$driver"
cd "$driver"

if ! as_nobody env -i PATH=/usr/bin:/bin HOME="$home" XDG_DATA_HOME="$home/data" AGELARK_PATIENCE="${AGELARK_PATIENCE:-1}" \
    AGELARK_INSTALLED="$prefix/bin/agelark" AGELARK_INSTALLED_FOLDER="$prog" \
    bash session.sh x11 /usr/bin/python3 -B -W ignore::DeprecationWarning -m unittest test_installed; then
    fail "the installed program, run by nobody, did not keep the notes in the user's own copy (see above)"
fi
[ "$(od -An -c "$prog/Notes.txt")" = "$(printf 'shared notes\r\n' | od -An -c)" ] ||
    fail "the program folder's Notes.txt was changed: $(od -An -c "$prog/Notes.txt")"
[ "$(stat -c %U "$home/data/Agelark/Notes.txt" 2>/dev/null)" = nobody ] ||
    fail "the user's own copy $home/data/Agelark/Notes.txt is missing or not the user's"

[ "$failures" -eq 0 ]
