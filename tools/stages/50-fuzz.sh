# Every fuzz target for a short, fixed time from a fixed seed, so that a test run does not
# fail on what a new random walk happens to find; tools/fuzz.sh SECONDS runs them for longer,
# each time from a new seed.
set -euo pipefail
FUZZ_SEED=1 bash tools/fuzz.sh 10
