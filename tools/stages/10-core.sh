# The core, tavrix-script and (when Qt 6 is installed) the Qt window, with g++.
set -euo pipefail
cmake --preset default >/dev/null
cmake --build --preset default
ctest --preset default
