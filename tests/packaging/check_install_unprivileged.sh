#!/usr/bin/env bash
# A system-wide install, owned by root and not writable by others, run by an unprivileged user (nobody) on
# a desktop session of their own (the desktop tier's Installed case): the first save makes the user's own
# copy of the notes, and the program folder's Notes.txt is never written.
#   check_install_unprivileged.sh CMAKE BUILD_DIR DESKTOP_TIER_FOLDER
set -euo pipefail
if [ "$(id -u)" -ne 0 ] || ! id nobody >/dev/null 2>&1; then echo "SKIP: needs root and the user nobody"; exit 77; fi
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
prog=$tmp/prefix/lib/agelark home=$tmp/home
"$1" --install "$2" --prefix "$tmp/prefix" >"$tmp/install.log" || { cat "$tmp/install.log"; exit 1; }
printf 'shared notes\r\n' >"$prog/Notes.txt"
# What nobody runs, copied where nobody may read it: the checkout may lie in a folder only its owner may enter.
cp -r "$3" "$tmp/driver"
mkdir "$home" && chown nobody "$home"
chmod -R go-w,a+rX "$tmp"
cd "$tmp/driver"
runuser -u nobody -- env -i PATH=/usr/bin:/bin HOME="$home" XDG_DATA_HOME="$home/data" \
    AGELARK_INSTALLED="$tmp/prefix/bin/agelark" AGELARK_PATIENCE="${AGELARK_PATIENCE:-1}" \
    ASAN_OPTIONS="${ASAN_OPTIONS:-}" LSAN_OPTIONS="${LSAN_OPTIONS:+suppressions=$tmp/driver/lsan_system_libraries.supp}" \
    bash session.sh x11 /usr/bin/python3 -B -W ignore::DeprecationWarning -m unittest test_desktop.Installed
printf 'shared notes\r\n' | cmp -s - "$prog/Notes.txt" || { echo "FAIL: the program folder's notes changed"; exit 1; }
[ "$(stat -c %U "$home/data/Agelark/Notes.txt")" = nobody ] || { echo "FAIL: the user's copy is not theirs"; exit 1; }
