#!/usr/bin/env bash
# Builds the benchmarks (preset "bench", optimised) and runs them all, then prints each
# median beside its target. Arguments go to the benchmark program, for example
#   tools/bench.sh --benchmark_filter=reload
# The files the benchmarks write go to /dev/shm, or to $TAVRIX_BENCH_DIR.
set -euo pipefail
cd "$(dirname "$0")/.."
source tools/lib.sh
install_packages
cmake --preset bench >/dev/null
cmake --build --preset bench --target tavrix_bench
echo "Machine: $(nproc) CPU, $(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -1); load: $(cut -d' ' -f1-3 /proc/loadavg)"
# Repetitions interleaved at random, so that a busy moment weighs on every figure alike.
build/bench/bench/tavrix_bench \
    --benchmark_repetitions="${TAVRIX_BENCH_REPETITIONS:-5}" \
    --benchmark_enable_random_interleaving=true \
    --benchmark_report_aggregates_only=true \
    "$@"
if command -v hyperfine >/dev/null; then
    echo
    echo "tavrix-script on the example, measured by hyperfine:"
    example="$PWD/examples/fade.tvs"
    script="$PWD/build/bench/tavrix-script"
    # The example writes intro.def where it runs: a folder of its own, removed afterwards.
    scratch=$(mktemp -d "${TAVRIX_BENCH_DIR:-/dev/shm}/tavrix-hyperfine.XXXXXX")
    trap 'rm -rf "$scratch"' EXIT
    (cd "$scratch" && hyperfine -N --warmup 20 --runs 200 "$script $example")
fi
