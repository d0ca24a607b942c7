#!/usr/bin/env bash
# Sets up a fresh Debian machine (as root), builds Tavrix and opens the editor window on the
# example intro, copied into out/ (a copy already there is left as it is, with whatever a
# person changed in it); F5 shows it playing in "Vista previa". Without a display it runs
# the example script instead, which writes its storyboard file, three stills of the
# preview and the session into out/intro-script/.
set -euo pipefail
cd "$(dirname "$0")/.."
source tools/lib.sh
install_packages
cmake --preset default >/dev/null
cmake --build --preset default --target tavrix tavrix-script
mkdir -p out
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
    for file in intro.sff intro.tavrix; do
        [ -e "out/$file" ] || cp "examples/$file" out/
    done
    cd out
    exec ../build/default/src/ui/qt/tavrix intro.tavrix
fi
echo "No display: running the example script (tools/screenshot-qt.sh shows the window)."
mkdir -p out/intro-script
cp examples/intro.sff out/intro-script/
(cd out/intro-script && ../../build/default/tavrix-script ../../examples/intro.tvs)
echo "Written in out/intro-script/: intro.def, t20.png, t100.png, t262.png, intro.tavrix"
