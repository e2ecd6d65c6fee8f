#!/usr/bin/env bash
# Rewrites tests/golden/show_frames.txt and tests/golden/gentle_frames.txt
# (the gentle mode's show), and tests/golden/cut_frames.txt (the cut of the
# link in tests/golden/cut_link.txt, which the page test opens) from the
# show as it now renders, and prints the
# scenes whose digests changed. Run it when a change to the picture or the
# sound is meant, and check that only the intended scenes are named before
# committing the new lists.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset default >/dev/null
cmake --build --preset default --target zemra-golden zemra
echo "The show:"
./build/default/zemra-golden --refresh "$@"
echo "The gentle show:"
./build/default/zemra-golden --refresh --gentle "$@"
echo "The cut of tests/golden/cut_link.txt:"
cut_script=$(mktemp)
trap 'rm -f "$cut_script"' EXIT
./build/default/zemra --cut "$(cat tests/golden/cut_link.txt)" --dump-script >"$cut_script"
./build/default/zemra-golden --refresh --script "$cut_script" tests/golden/cut_frames.txt
