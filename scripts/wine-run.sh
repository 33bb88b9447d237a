#!/usr/bin/env bash
# Runs one Windows program under wine64 with a time limit. The caller chooses WINEPREFIX
# (a fresh one per test run); without one, a throw-away prefix is made and removed.
set -u
own_prefix=""
if [ -z "${WINEPREFIX:-}" ]; then
    own_prefix=$(mktemp -d)
    export WINEPREFIX="$own_prefix"
fi
export WINEDEBUG=${WINEDEBUG:--all}
# Shortcuts the tests make must not become menu files in the real home folder.
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-winemenubuilder.exe=d}
# Output goes through a file: the prefix's services and desktop, started by whichever program
# boots the prefix, keep that program's standard handles and would hold a pipe open after it
# ends (ctest would then wait for its time limit).
output=$(mktemp)
{
    # Text is measured and drawn in the same fonts on every machine.
    "$(dirname "$0")/wine-fonts.sh" "$WINEPREFIX" &&
        timeout --kill-after=10 "${KESTREL_WINE_TIMEOUT:-600}" /usr/lib/wine/wine64 "$@"
} >"$output" 2>&1 </dev/null
rc=$?
cat "$output"
rm -f "$output"
if [ -n "$own_prefix" ]; then
    WINEPREFIX="$own_prefix" /usr/lib/wine/wineserver -k 2>/dev/null || true
    rm -rf "$own_prefix"
fi
exit $rc
