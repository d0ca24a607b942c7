#!/usr/bin/env bash
# Sets up a fresh Debian machine (as root), builds Tavrix and runs the example script,
# which writes its storyboard file into out/.
set -euo pipefail
cd "$(dirname "$0")/.."
source tools/lib.sh
install_packages
cmake --preset default >/dev/null
cmake --build --preset default --target tavrix-script
mkdir -p out
(cd out && ../build/default/tavrix-script ../examples/fade.tvs)
echo "Escrito: out/intro.def"
