#!/usr/bin/env bash
# Prints the detail measure (mean absolute Laplacian of the luminance,
# 0-255) per scene, over the show rendered at 60 fps. Optional arguments
# ORDER:ROW ORDER:ROW measure only that stretch. Needs the default build;
# ZEMRA=path measures another build of the show, KEEP=DIR keeps the frames.
set -euo pipefail
cd "$(dirname "$0")/.."
out=build/default/frame_detail
mkdir -p "$out"
g++ -std=c++20 -O2 -Wall -Wextra -o "$out/frame_detail" tools/frame_detail/frame_detail.cpp -lpng
frames="${KEEP:-$out/frames}"
rm -rf "$frames"
range=()
first=0
if [ $# -ge 2 ]; then
    range=(--start "$1" --end "$2")
    # The list's line at the start position gives the first frame's number.
    first=$(awk -v p="$1" '$1 == p { print $4; exit }' tests/golden/show_frames.txt)
    [ -n "$first" ] || { echo "start $1 is not a listed position" >&2; exit 2; }
fi
"${ZEMRA:-./build/default/zemra}" --render "$frames" --fps 60 "${range[@]}" >/dev/null
"$out/frame_detail" "$frames" tests/golden/show_frames.txt "$first"
[ -n "${KEEP:-}" ] || rm -rf "$frames"
