#!/usr/bin/env bash
# A root-owned install run by nobody in the desktop tier's Installed case: the notes go to the user's own copy, and
# Visit hands the installed About page through xdg-open to the user's browser, here one writing down its argument.
#   check_install_unprivileged.sh CMAKE BUILD_DIR DESKTOP_TIER_FOLDER
set -euo pipefail
if [ "$(id -u)" -ne 0 ] || ! id nobody >/dev/null 2>&1; then echo "SKIP: needs root and the user nobody"; exit 77; fi
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
home=$tmp/home
"$1" --install "$2" --prefix "$tmp/prefix" >"$tmp/install.log" || { cat "$tmp/install.log"; exit 1; }
# What nobody runs, copied where nobody may read it: the checkout may lie in a folder only its owner may enter.
cp -r "$3" "$tmp/driver"
mkdir -p "$home/data/applications" "$home/config"
printf '#!/bin/sh\nprintf "%%s" "$1" >"$HOME/opened"\n' >"$home/browser"
printf '[Desktop Entry]\nType=Application\nName=Browser\nMimeType=text/html;\nExec=%s %%f\n' "$home/browser" \
    >"$home/data/applications/browser.desktop"
printf '[Default Applications]\ntext/html=browser.desktop\n' >"$home/config/mimeapps.list"
chmod +x "$home/browser"
chown -R nobody "$home"
chmod -R go-w,a+rX "$tmp"
cd "$tmp/driver"
runuser -u nobody -- env -i PATH=/usr/bin:/bin HOME="$home" XDG_DATA_HOME="$home/data" XDG_CONFIG_HOME="$home/config" \
    AGELARK_INSTALLED="$tmp/prefix/bin/agelark" AGELARK_PATIENCE="${AGELARK_PATIENCE:-1}" \
    ASAN_OPTIONS="${ASAN_OPTIONS:-}" LSAN_OPTIONS="${LSAN_OPTIONS:+suppressions=$tmp/driver/lsan_system_libraries.supp}" \
    bash session.sh x11 /usr/bin/python3 -B -W ignore::DeprecationWarning -m unittest test_desktop.Installed
[ "$(stat -c %U "$home/data/Agelark/Notes.txt")" = nobody ] || { echo "FAIL: the user's copy is not theirs"; exit 1; }
