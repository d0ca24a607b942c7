#!/usr/bin/env bash
# Sets up a fresh Debian machine (as root), builds Tavrix and opens the editor window.
# Without a display it runs the example script instead, which writes its storyboard file
# into out/.
set -euo pipefail
cd "$(dirname "$0")/.."
source tools/lib.sh
install_packages
cmake --preset default >/dev/null
cmake --build --preset default --target tavrix tavrix-script
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
    exec build/default/src/ui/qt/tavrix
fi
echo "No display: running the example script (tools/screenshot-qt.sh shows the window)."
mkdir -p out
(cd out && ../build/default/tavrix-script ../examples/fade.tvs)
echo "Written: out/intro.def"
