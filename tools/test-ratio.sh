#!/usr/bin/env bash
# Test code against the code it tests: non-blank lines of C++ in tests/ and fuzz/ over those
# of src/ (scenario scripts and golden files are data and are not counted). Prints
# "TESTS / SRC (RATIO)"; the budget is 0.25 to 0.35.
set -euo pipefail
cd "$(dirname "$0")/.."
count() {
    find "$@" -type f \( -name '*.cpp' -o -name '*.h' -o -name '*.hpp' \) -print0 |
        xargs -0 cat | grep -cv '^[[:space:]]*$'
}
tests=$(count tests fuzz)
code=$(count src)
echo "$tests / $code ($(awk -v t="$tests" -v c="$code" 'BEGIN { printf "%.3f", t / c }'))"
