#!/usr/bin/env bash
# Rewrites tests/golden/show_frames.txt from the show as it now renders, and
# prints the scenes whose digests changed. Run it when a change to the
# picture or the sound is meant, and check that only the intended scenes
# are named before committing the new list.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset default >/dev/null
cmake --build --preset default --target zemra-golden
./build/default/zemra-golden --refresh "$@"
