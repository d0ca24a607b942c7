#!/usr/bin/env bash
# Builds the Qt window, opens the example intro (examples/intro.tavrix) on a virtual X
# display as a person does: F5 opens "Vista previa", Right steps it to tick 100, in the
# middle of a bounce. Writes the editor and the preview side by side to
# docs/screenshot-preview.png. BUILD_DIR chooses the build tree (default: the preset's),
# OUT another picture to write, TICK another tick.
set -euo pipefail
cd "$(dirname "$0")/.."
source tools/lib.sh
install_packages
build_dir="${BUILD_DIR:-build/default}"
if [ "$build_dir" = build/default ]; then
    cmake --preset default >/dev/null
fi
cmake --build "$build_dir" --target tavrix
out="$(realpath -m "${OUT:-docs/screenshot-preview.png}")"
mkdir -p "$(dirname "$out")"
program="$PWD/$build_dir/src/ui/qt/tavrix"
# The session names its archive beside it: a copy of both in a folder of its own, where
# the editor starts. Qt wants a private runtime folder too, and a data folder of its own
# keeps a person's recovery copies out of the picture.
work="$(mktemp -d)"
cp examples/intro.tavrix examples/intro.sff "$work"
XDG_RUNTIME_DIR="$work/runtime" XDG_DATA_HOME="$work/data"
mkdir -m 700 "$XDG_RUNTIME_DIR"
export XDG_RUNTIME_DIR XDG_DATA_HOME
trap 'rm -rf "$work"' EXIT

# Inside the virtual display (no window manager, so keys go to the window given the focus):
# start the editor, wait for its window, press F5, wait for the preview, step it, grab the
# screen and cut it to the two windows.
# shellcheck disable=SC2016
timeout 120 xvfb-run --auto-servernum --server-args="-screen 0 1400x700x24" bash -c '
    cd "$1"
    "$2" intro.tavrix & editor=$!
    find_window() {
        for _ in $(seq 100); do
            sleep 0.2
            id=$(xdotool search --name "$1" 2>/dev/null | head -1)
            [ -n "$id" ] && { echo "$id"; return 0; }
        done
        return 1
    }
    if ! main=$(find_window "intro.tavrix - Tavrix"); then
        kill "$editor"; echo "The editor did not appear." >&2; exit 1
    fi
    xdotool windowfocus --sync "$main" key F5
    if ! preview=$(find_window "Vista previa"); then
        kill "$editor"; echo "\"Vista previa\" did not appear." >&2; exit 1
    fi
    sleep 0.5
    xdotool windowfocus --sync "$preview" key --repeat "$4" --delay 5 Right
    sleep 0.5
    eval "$(xdotool getwindowgeometry --shell "$preview")"
    import -window root -crop "$((X + WIDTH))x$((Y + HEIGHT > 600 ? Y + HEIGHT : 600))+0+0" "$3"
    kill "$editor"
' grab "$work" "$program" "$out" "${TICK:-100}"
echo "Written: $out"
