#!/usr/bin/env bash
# Builds Zemra with the default preset and plays the show in a window.
# Extra arguments go to the program (for example --fullscreen or --mute).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake --preset default
cmake --build --preset default --target zemra
exec ./build/default/zemra "$@"
