# The same build and tests with clang, which must be as warning-free as g++.
set -euo pipefail
cmake --preset clang >/dev/null
cmake --build --preset clang
ctest --preset clang
