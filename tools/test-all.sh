#!/usr/bin/env bash
# Sets up a fresh Debian machine (as root) and runs every test: each stage in tools/stages/.
set -uo pipefail
cd "$(dirname "$0")/.."
source tools/lib.sh
install_packages || exit 1

passed=0 failed=0
for stage in tools/stages/*.sh; do
    echo "=== $(basename "$stage" .sh)"
    start=$SECONDS
    if bash "$stage"; then
        passed=$((passed + 1))
        echo "=== $(basename "$stage" .sh): passed ($((SECONDS - start)) s)"
    else
        failed=$((failed + 1))
        echo "=== $(basename "$stage" .sh): FAILED ($((SECONDS - start)) s)"
    fi
done
echo "stages: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
