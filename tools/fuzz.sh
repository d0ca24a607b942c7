#!/usr/bin/env bash
# Runs every fuzz target for SECONDS each (default 60), one after the other, and prints each
# target's executions, corpus and coverage. The seeds in fuzz/corpus/ stay as they are; what
# the runs learn goes to build/sanitize/fuzz-corpus/, and an input that breaks a target is kept in
# build/sanitize/fuzz-findings/. Exits non-zero when any target finds something. FUZZ_SEED fixes the
# fuzzer's random seed, so that a run can be repeated; without it each run explores anew.
set -uo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
case "$seconds" in
    '' | *[!0-9]*)
        echo "usage: tools/fuzz.sh [SECONDS]" >&2
        exit 2
        ;;
esac

cmake --preset sanitize >/dev/null || exit 1
cmake --build --preset sanitize || exit 1

findings=build/sanitize/fuzz-findings
mkdir -p "$findings"
failed=0
summary=()
for target in numbers script events session storyboard import sprites; do
    corpus=build/sanitize/fuzz-corpus/$target
    log=build/sanitize/fuzz-$target.log
    mkdir -p "$corpus"
    echo "--- fuzz_$target: $seconds s"
    nice -n 10 "build/sanitize/fuzz/fuzz_$target" -max_total_time="$seconds" -timeout=25 \
        ${FUZZ_SEED:+-seed="$FUZZ_SEED"} -print_final_stats=1 -artifact_prefix="$findings/$target-" \
        "$corpus" "fuzz/corpus/$target" >"$log" 2>&1
    status=$?
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    done_line=$(grep -E '^#[0-9]+[[:space:]]+DONE' "$log" | tail -1)
    coverage=$(sed -E -n 's/.*(cov: [0-9]+ ft: [0-9]+ corp: [0-9]+\/[0-9]+[a-zA-Z]*).*/\1/p' <<<"$done_line")
    if [ "$status" -ne 0 ]; then
        failed=1
        grep -E -A3 'property broken|ERROR|SUMMARY' "$log" | head -20
        summary+=("fuzz_$target: FINDING (see $log and $findings/)")
    else
        summary+=("fuzz_$target: ${runs:-?} executions, ${coverage:-no statistics}")
    fi
done
printf '%s\n' "${summary[@]}"
exit "$failed"
