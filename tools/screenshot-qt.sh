#!/usr/bin/env bash
# Builds the Qt window, opens it at start-up on a virtual X display and writes its client
# area to docs/screenshot-qt.png. BUILD_DIR chooses the build tree (default: the preset's),
# OUT another picture to write.
set -euo pipefail
cd "$(dirname "$0")/.."
source tools/lib.sh
install_packages
build_dir="${BUILD_DIR:-build/default}"
if [ "$build_dir" = build/default ]; then
    cmake --preset default >/dev/null
fi
cmake --build "$build_dir" --target tavrix
out="$(realpath -m "${OUT:-docs/screenshot-qt.png}")"
mkdir -p "$(dirname "$out")"
program="$PWD/$build_dir/src/ui/qt/tavrix"
# Qt wants a private runtime folder; without one it warns on every start.
XDG_RUNTIME_DIR="$(mktemp -d)"
export XDG_RUNTIME_DIR
trap 'rm -rf "$XDG_RUNTIME_DIR"' EXIT

# Inside the virtual display: start the editor, wait until its window is mapped, let its
# first paint land, grab it by id (import given a name it cannot find would wait for a
# mouse click), close the editor.
# shellcheck disable=SC2016
timeout 120 xvfb-run --auto-servernum --server-args="-screen 0 1024x768x24" bash -c '
    "$1" & editor=$!
    for _ in $(seq 100); do
        sleep 0.2
        id=$(xwininfo -name "Tavrix v2.0 -= BETA =-" 2>/dev/null | awk "/Window id:/ { print \$4 }")
        if [ -n "$id" ]; then
            sleep 0.5
            import -window "$id" "$2"
            kill "$editor"
            exit 0
        fi
    done
    kill "$editor"
    echo "The window did not appear." >&2
    exit 1
' grab "$program" "$out"
echo "Written: $out"
