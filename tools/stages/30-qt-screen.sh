# The Qt window on a real X server (a virtual one): it opens at its fixed form size with the
# menu bar above the form, and shows more than a blank area.
set -euo pipefail
picture="$(mktemp --suffix=.png)"
trap 'rm -f "$picture"' EXIT
OUT="$picture" tools/screenshot-qt.sh >/dev/null
size="$(identify -format '%wx%h' "$picture")"
colours="$(identify -format '%k' "$picture")"
width="${size%x*}"
menu_bar=$((${size#*x} - 575))
if [ "$width" != 630 ] || [ "$menu_bar" -lt 16 ] || [ "$menu_bar" -gt 40 ] ||
    [ "$colours" -lt 16 ]; then
    echo "The window is $size with $colours colours." >&2
    exit 1
fi
echo "Qt window: passed ($size)"
