#!/usr/bin/env bash
# Start-up benchmark of the Qt window, side by side with the smallest Qt Widgets program
# that shows one empty window: the time from a cold start until the first frame has been
# painted and handed to the display, and the peak memory. Each program ends right there, so
# tearing the window down is not timed. Goal: the editor at most 1.10 times the
# empty window on both; the exit status is 1 when either misses it. A third program, one
# caption shown as the editor shows text (its style, font, language and icon), is measured
# alongside: it tells the price of showing any text from the form's own. Wall figures mean
# something only on a quiet machine: the load is printed first.
#   tools/bench-qt-startup.sh            (RUNS=100 for more runs; default 40)
set -euo pipefail
cd "$(dirname "$0")/.."

measure() {
    local editor="$1" empty="$2" caption="$3" runs="$4" samples
    samples="$(mktemp -d)"
    # Warm the file cache once, then alternate the programs run by run so that the load of a
    # shared machine weighs on all of them alike.
    "$empty" && "$caption" && "$editor"
    for _ in $(seq "$runs"); do
        sample "$empty" >>"$samples/empty"
        sample "$caption" >>"$samples/caption"
        sample "$editor" >>"$samples/editor"
    done
    local column what missed=0
    for column in 1 2; do
        case "$column" in
            1) what="Start-up to the first painted frame (median, ms)" ;;
            2) what="Peak memory (median of the peak RSS, KiB)" ;;
        esac
        report "$what" "$(median "$samples/editor" "$column")" "$(median "$samples/empty" "$column")" ||
            missed=1
        compare "$(median "$samples/editor" "$column")" "$(median "$samples/caption" "$column")" \
            "$(median "$samples/empty" "$column")"
    done
    rm -rf "$samples"
    return "$missed"
}

# One run: wall milliseconds to the end of the first frame, and peak KiB.
sample() {
    local usage start end
    usage="$(mktemp)"
    start=$(date +%s%N)
    /usr/bin/time -o "$usage" -f %M "$1"
    end=$(date +%s%N)
    awk -v wall=$(((end - start) / 1000)) '{ printf "%.1f %d\n", wall / 1000, $1 }' "$usage"
    rm -f "$usage"
}

median() {
    cut -d" " -f"$2" "$1" | sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'
}

# Prints one figure beside its goal; fails when the goal is missed.
report() {
    awk -v what="$1" -v editor="$2" -v empty="$3" -v goal="$goal" 'BEGIN {
        ratio = editor / empty
        met = ratio <= goal
        printf "%s: tavrix %s, empty window %s, ratio %.2f (%s the %.2f goal)\n", what, editor,
            empty, ratio, met ? "meets" : "MISSES", goal
        exit !met
    }'
}

# The yardstick's figure beside them, for reading: not a goal.
compare() {
    awk -v editor="$1" -v caption="$2" -v empty="$3" 'BEGIN {
        printf "  one caption %s: %.2f times the empty window; tavrix %.2f times the one caption\n",
            caption, caption / empty, editor / caption
    }'
}

goal=1.10

if [ "${1:-}" = --inside ]; then
    measure "$2" "$3" "$4" "$5"
    exit
fi

source tools/lib.sh
install_packages
build_dir=build/qt-bench
cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF \
    -DTAVRIX_QT_PROBES=ON >/dev/null
cmake --build "$build_dir" --target tavrix-first-frame empty-window-first-frame \
    one-caption-first-frame >/dev/null
probes="$PWD/$build_dir/src/ui/qt"
# Qt wants a private runtime folder; without one it warns on every start. The editor starts
# as people start it, looking for a recovery copy: a data folder of its own, empty as anyone
# has it who has used the editor before, keeps it from offering (and, as the probe quits,
# discarding) a copy the person's own windows left.
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
mkdir -m 700 "$scratch/runtime" "$scratch/data"
mkdir "$scratch/data/tavrix"
export XDG_RUNTIME_DIR="$scratch/runtime" XDG_DATA_HOME="$scratch/data"
echo "Load: $(cut -d' ' -f1-3 /proc/loadavg)"
xvfb-run --auto-servernum --server-args="-screen 0 1024x768x24" \
    "$0" --inside "$probes/tavrix-first-frame" "$probes/empty-window-first-frame" \
    "$probes/one-caption-first-frame" "${RUNS:-40}"
