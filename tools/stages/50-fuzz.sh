# Every fuzz target for a short, fixed time; tools/fuzz.sh SECONDS runs them for longer.
set -euo pipefail
bash tools/fuzz.sh 20
