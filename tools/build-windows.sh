#!/usr/bin/env bash
# Builds the Windows programs with mingw-w64 (as root on a fresh Debian machine it first
# installs what tools/packages.txt lists): tavrix.exe, the window, and tavrix-script.exe,
# the console program, each a single static .exe, and a .zip of the two:
#   build/mingw-i686/    32-bit Windows, tavrix-VERSION-win32.zip
#   build/mingw-x86_64/  64-bit Windows, tavrix-VERSION-win64.zip
# Pass i686 or x86_64 to build only one of them.
set -euo pipefail
cd "$(dirname "$0")/.."
source tools/lib.sh
install_packages

architectures=("$@")
((${#architectures[@]})) || architectures=(i686 x86_64)
for arch in "${architectures[@]}"; do
    case "$arch" in
        i686 | x86_64) ;;
        *) echo "unknown architecture: $arch (i686 or x86_64)" >&2; exit 2 ;;
    esac
    cmake --preset "mingw-$arch" >/dev/null
    cmake --build --preset "mingw-$arch" -j "$(jobs)"
    (cd "build/mingw-$arch" && cpack >/dev/null)
    echo "Windows $arch: build/mingw-$arch/tavrix.exe build/mingw-$arch/tavrix-script.exe" \
        "build/mingw-$arch/"tavrix-*.zip
done
