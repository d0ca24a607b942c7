# The whole test suite again, built with clang (as warning-free as g++) under
# AddressSanitizer and UndefinedBehaviorSanitizer; the same build holds the fuzz targets,
# which the fuzz stage runs.
set -euo pipefail
cmake --preset sanitize >/dev/null
cmake --build --preset sanitize
ctest --preset sanitize
