#!/usr/bin/env bash
# Pins the fonts of a Wine prefix, so that text measures and screenshots do not depend on the
# machine: Wine's own faces ("MS Sans Serif", "System", Tahoma) and the Liberation faces are
# copied into the prefix's Fonts folder, and Arial, Times New Roman and Courier New are mapped
# to their Liberation twins. Without this, every face falls back to whatever the machine
# has (often only DejaVu Sans).
#
#   scripts/wine-fonts.sh [PREFIX]     (default: $WINEPREFIX)
#
# Idempotent: a pinned prefix is left as it is. Needs the Debian packages fonts-wine and
# fonts-liberation (scripts/install-deps.sh).
set -euo pipefail
prefix=${1:-${WINEPREFIX:-}}
if [ -z "$prefix" ]; then
    echo "wine-fonts: no prefix (give one or set WINEPREFIX)" >&2
    exit 2
fi
mkdir -p "$prefix"
marker="$prefix/.kestrel-fonts"
# Programs started together in one prefix pin it once.
exec 9>"$prefix/.kestrel-fonts.lock"
flock 9
[ -e "$marker" ] && exit 0

wine_fonts=/usr/share/wine/fonts
liberation=/usr/share/fonts/truetype/liberation
for needed in "$wine_fonts/sserife.fon" "$liberation/LiberationSans-Regular.ttf"; do
    if [ ! -e "$needed" ]; then
        echo "wine-fonts: $needed is missing (install fonts-wine and fonts-liberation)" >&2
        exit 1
    fi
done

export WINEPREFIX="$prefix" WINEDEBUG=-all
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-winemenubuilder.exe=d}
# A new prefix is made first, so that its Fonts folder exists.
if [ ! -e "$prefix/system.reg" ]; then
    timeout 120 /usr/lib/wine/wine64 wineboot -i >/dev/null 2>&1
fi
fonts="$prefix/drive_c/windows/Fonts"
mkdir -p "$fonts"
cp -f "$wine_fonts"/*.fon "$wine_fonts"/*.ttf "$fonts"/
cp -f "$liberation"/Liberation{Sans,Serif,Mono}-*.ttf "$fonts"/

reg=$(mktemp --suffix=.reg)
trap 'rm -f "$reg"' EXIT
cat >"$reg" <<'REG'
REGEDIT4

[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]
"Arial"="Liberation Sans"
"Times New Roman"="Liberation Serif"
"Courier New"="Liberation Mono"
REG
timeout 120 /usr/lib/wine/wine64 regedit /S "Z:${reg//\//\\}" >/dev/null 2>&1
touch "$marker"
