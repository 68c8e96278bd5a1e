#!/bin/bash
# Makes the Wine prefix that the tests use, once: Wine's own fonts, a virtual
# desktop, and Comic Neue standing in for Comic Sans MS. Never the user's own
# prefix: the caller names a folder in the build tree.
#   wine-prefix.sh PREFIX [DPI]   DPI: the screen's dots per inch (96 without)
set -euo pipefail
prefix=$1
dpi=${2:-96}
[ -f "$prefix/.quillbee-ready" ] && exit 0
mkdir -p "$(dirname "$prefix")"
exec 9>"$prefix.lock"
flock 9
[ -f "$prefix/.quillbee-ready" ] && exit 0

export WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" TZ=Europe/Warsaw
wineboot -i >/dev/null 2>&1 || true
wineserver -w
mkdir -p "$prefix/drive_c/windows/Fonts"
cp /usr/share/wine/fonts/*.ttf "$prefix/drive_c/windows/Fonts/"
reg=$(mktemp --suffix=.reg)
cat >"$reg" <<REG
REGEDIT4

[HKEY_CURRENT_USER\Software\Wine\Explorer]
"Desktop"="quillbee"

[HKEY_CURRENT_USER\Software\Wine\Explorer\Desktops]
"quillbee"="1024x768"

[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]
"Comic Sans MS"="Comic Neue"

[HKEY_CURRENT_USER\Control Panel\Desktop]
"LogPixels"=dword:$(printf %08x "$dpi")
REG
wine regedit /S "$(winepath -w "$reg" 2>/dev/null)" >/dev/null 2>&1
wineserver -w
rm -f "$reg"
touch "$prefix/.quillbee-ready"
