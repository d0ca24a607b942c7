# The whole test suite again, built with AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cmake --preset sanitize >/dev/null
cmake --build --preset sanitize
ctest --preset sanitize
