#!/usr/bin/env bash
# The long expansion as a whole process against the disk's own speed: tavrix-script writes
# X from 0 to 5,000,000 (5,000,001 frame lines, about 94 MB) and dd writes the same number
# of bytes in 64 KiB blocks into the same folder, alternately run by run. Goal: dd takes at
# least 0.75 of the program's time (exit status 1 when it does not), with the program's peak
# memory as flat as for one frame. Wall figures mean something only on a quiet machine: the
# load is printed first.
#   tools/bench-long-run.sh              (RUNS=30 for more runs; default 15)
# The files go to /dev/shm, or to $TAVRIX_BENCH_DIR.
set -euo pipefail
cd "$(dirname "$0")/.."
source tools/lib.sh
install_packages
cmake --preset bench >/dev/null
cmake --build --preset bench --target tavrix-script >/dev/null
program="$PWD/build/bench/tavrix-script"
scratch=$(mktemp -d "${TAVRIX_BENCH_DIR:-/dev/shm}/tavrix-long-run.XXXXXX")
trap 'rm -rf "$scratch"' EXIT

# A script that sets X from 0 to LAST and presses "Generar!".
write_script() {
    printf 'set Text11 %s\nset Text3 0\nset Text6 %s\nclick Command1\n' "$scratch/$1.def" "$2" \
        >"$scratch/$1.tvs"
}
write_script long 5000000
write_script one 0

# Wall milliseconds and peak KiB of one command.
sample() {
    local usage="$scratch/usage" start end
    start=$(date +%s%N)
    /usr/bin/time -o "$usage" -f %M "$@"
    end=$(date +%s%N)
    awk -v wall=$(((end - start) / 1000)) '{ printf "%.2f %d\n", wall / 1000, $1 }' "$usage"
}

median() {
    cut -d" " -f"$2" "$1" | sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'
}

"$program" "$scratch/long.tvs"
bytes=$(stat -c %s "$scratch/long.def")
blocks=$(((bytes + 65535) / 65536))
echo "Load: $(cut -d' ' -f1-3 /proc/loadavg); $bytes bytes"
for _ in $(seq "${RUNS:-15}"); do
    sample "$program" "$scratch/long.tvs" >>"$scratch/program"
    sample dd if=/dev/zero of="$scratch/dd.out" bs=64K count="$blocks" status=none >>"$scratch/dd"
done
sample "$program" "$scratch/one.tvs" >>"$scratch/one"
awk -v program="$(median "$scratch/program" 1)" -v dd="$(median "$scratch/dd" 1)" \
    -v peak="$(median "$scratch/program" 2)" -v one="$(median "$scratch/one" 2)" 'BEGIN {
    ratio = dd / program
    met = ratio >= 0.75
    printf "Long expansion (median wall, ms): tavrix-script %s, dd %s, dd/program %.2f (%s the 0.75 goal)\n",
        program, dd, ratio, met ? "meets" : "MISSES"
    printf "Peak memory (KiB): 5,000,001 frames %s, one frame %s\n", peak, one
    exit !met
}'
