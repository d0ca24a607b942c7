#!/usr/bin/env bash
# Takes a picture of tavrix.exe under Wine on a virtual X display:
#   tools/screenshot-windows.sh [OUT.png] [TAVRIX.EXE]
# OUT.png defaults to docs/screenshot-windows.png, TAVRIX.EXE to the x86_64 build.
# Uses the Wine prefix in WINEPREFIX when one is set up, or a new one in a temporary folder.
set -euo pipefail
cd "$(dirname "$0")/.."
out=$(realpath -m "${1:-docs/screenshot-windows.png}")
exe=$(realpath "${2:-build/mingw-x86_64/tavrix.exe}")
mkdir -p "$(dirname "$out")"

export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" LC_ALL=C.UTF-8 LANG=C.UTF-8
if [ -z "${WINEPREFIX:-}" ] || [ ! -f "$WINEPREFIX/system.reg" ]; then
    WINEPREFIX=$(mktemp -d /tmp/tavrix-wine.XXXXXX)
    export WINEPREFIX
    trap 'wineserver -k 2>/dev/null || true; rm -rf "$WINEPREFIX"' EXIT
    timeout 300 wineboot -i >/dev/null 2>&1
fi
# Without a window manager Wine draws the title bar itself only for windows it manages alone.
timeout 60 wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
timeout 60 wine reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d N /f >/dev/null 2>&1

# Inside the virtual display, which is black until the window appears: start the window,
# wait until it shows, let it paint, then take the screen and cut away the black around it.
inner='
wine "$1" >/dev/null 2>&1 &
editor=$!
for _ in $(seq 1 150); do
    import -window root "$2" 2>/dev/null &&
        [ "$(convert "$2" -format "%[fx:mean>0.2]" info:)" = 1 ] && break
    sleep 0.2
done
sleep 2
import -window root "$2" && convert "$2" -bordercolor black -border 1 -trim +repage "$2"
status=$?
kill "$editor" 2>/dev/null
wineserver -k 2>/dev/null  # its desktop process belongs to this display, which now ends
exit $status
'
wineserver -k 2>/dev/null || true  # one left from another display would draw there
timeout 120 xvfb-run -a -s "-screen 0 800x700x24" bash -c "$inner" screenshot "$exe" "$out"
echo "Screenshot: $out ($(identify -format '%wx%h' "$out"))"
