#!/usr/bin/env bash
# The desktop entry as an install writes it, for an ordinary prefix and for one
# whose path needs quoting, passes desktop-file-validate and carries the
# program's comment and the launcher's path.
#   check_desktop_entry.sh CMAKE DESKTOP_ENTRY_SCRIPT TEMPLATE COMMENT
set -euo pipefail
cmake=$1 script=$2 template=$3 comment=$4

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# entry LAUNCHER EXPECTED_EXEC_LINE
entry() {
    local out="$tmp/entry.desktop"
    rm -f "$out"
    "$cmake" -DTEMPLATE="$template" -DLAUNCHER="$1" -DOUTPUT="$out" -P "$script" >/dev/null
    if ! desktop-file-validate "$out"; then
        fail "desktop-file-validate rejects the entry for $1"
        cat "$out"
    fi
    grep -qxF "$2" "$out" || fail "for $1 expected the line [$2], got [$(grep '^Exec=' "$out")]"
    grep -qxF "Comment=$comment" "$out" || fail "the comment is not [$comment]"
    ! grep -q '@' "$out" || fail "a placeholder was left: $(grep '@' "$out")"
}

entry /usr/bin/agelark 'Exec=/usr/bin/agelark'
entry '/home/jo/.local/bin/agelark' 'Exec=/home/jo/.local/bin/agelark'
# A prefix given relative to the working folder is written out in full.
(cd "$tmp" && "$cmake" -DTEMPLATE="$template" -DLAUNCHER=rel/bin/agelark -DOUTPUT="$tmp/rel.desktop" -P "$script" >/dev/null)
grep -qxF "Exec=$(cd "$tmp" && pwd -P)/rel/bin/agelark" "$tmp/rel.desktop" ||
    fail "a relative launcher path was written as $(grep '^Exec=' "$tmp/rel.desktop")"
# A blank, a dollar, a quote, a backslash and a percent sign in the path.
entry '/opt/My Apps/a$b"c\d%e/bin/agelark' 'Exec="/opt/My Apps/a\\$b\\"c\\\\d%%e/bin/agelark"'

# A path with a line break cannot be written as an Exec line at all.
if "$cmake" -DTEMPLATE="$template" -DLAUNCHER=$'/tmp/a\nb/agelark' -DOUTPUT="$tmp/bad.desktop" \
        -P "$script" >/dev/null 2>&1; then
    fail "a launcher path with a line break was accepted"
fi

[ "$failures" -eq 0 ]
