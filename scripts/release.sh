#!/usr/bin/env bash
# Makes the files a viewer downloads, in dist/:
#   zemra_VERSION_amd64.deb            the Debian 12 package
#   zemra-VERSION-windows-x64.zip      the Windows program
#   zemra-VERSION-web.zip              the web page's folder, for any static web server
#   zemra-VERSION.mp4                  the whole show as a video (only with --video)
#   SHA256SUMS
# and prints what it made with the sizes. scripts/release-check.sh then checks
# each file as the person who downloads it would use it.
set -euo pipefail
cd "$(dirname "$0")/.."

video=0
case "${1:-}" in
  "") ;;
  --video) video=1 ;;
  *)
    echo "usage: bash scripts/release.sh [--video]" >&2
    exit 2
    ;;
esac

script_name=release
# shellcheck source=scripts/common.sh
source scripts/common.sh
version=$(zemra_version)
dist=$PWD/dist
rm -rf "$dist" && mkdir -p "$dist"

ZEMRA_RELEASE_PACKAGES=1 bash scripts/setup.sh

say "the Debian package"
cmake --preset release >/dev/null
cmake --build --preset release
(cd build/release && cpack -B "$PWD/cpack" >/dev/null)
cp "build/release/cpack/zemra_${version}_amd64.deb" "$dist/"

say "the Windows program"
bash scripts/windows.sh --zip
cp "build/windows/zemra-${version}-windows-x64.zip" "$dist/"

say "the web page"
bash scripts/web.sh --build
bash scripts/web-bundle.sh build/web/site "$dist/zemra-${version}-web.zip"

if [ "$video" = 1 ]; then
  # Six times enlarged (1920 x 1440): an even factor keeps the video's halved
  # colour planes on whole picture pixels, and video sites give 1440-line
  # uploads their better encoding.
  say "the video (the whole show, 1920 x 1440, 60 frames a second)"
  start=$(date +%s)
  ./build/release/zemra --render "$dist/zemra-${version}.mp4" --scale 6
  say "the video took $(( $(date +%s) - start )) s"
fi

(cd "$dist" && sha256sum -- * | grep -v ' SHA256SUMS$' >SHA256SUMS)
say "made in dist/:"
(cd "$dist" && ls -l --block-size=1 | awk 'NR > 1 { printf "  %-36s %12d bytes\n", $9, $5 }')
