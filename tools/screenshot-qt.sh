#!/usr/bin/env bash
# Builds the Qt window, opens it at start-up on a virtual X display and writes its client
# area to docs/screenshot-qt.png. BUILD_DIR chooses the build tree (default: the preset's).
set -euo pipefail
cd "$(dirname "$0")/.."
source tools/lib.sh
install_packages
build_dir="${BUILD_DIR:-build/default}"
if [ "$build_dir" = build/default ]; then
    cmake --preset default >/dev/null
fi
cmake --build "$build_dir" --target tavrix
mkdir -p docs
out="$PWD/docs/screenshot-qt.png"
program="$PWD/$build_dir/src/ui/qt/tavrix"

# Inside the virtual display: start the editor, wait until its window can be grabbed, grab
# it, close the editor.
# shellcheck disable=SC2016
xvfb-run --auto-servernum --server-args="-screen 0 1024x768x24" bash -c '
    "$1" & editor=$!
    for _ in $(seq 100); do
        sleep 0.2
        if import -window "Tavrix v2.0 -= BETA =-" "$2" 2>/dev/null; then
            # The window is mapped; give its first paint a moment, then grab it for good.
            sleep 0.5
            import -window "Tavrix v2.0 -= BETA =-" "$2"
            kill "$editor"
            exit 0
        fi
    done
    kill "$editor"
    echo "La ventana no apareció." >&2
    exit 1
' grab "$program" "$out"
echo "Escrito: docs/screenshot-qt.png"
