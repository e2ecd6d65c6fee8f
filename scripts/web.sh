#!/usr/bin/env bash
# Builds the show for a web browser and serves the page on a local port.
#
#   bash scripts/web.sh            build, then serve on port 8080 (or $ZEMRA_WEB_PORT)
#   bash scripts/web.sh --build    build only: the page is in build/web/site
#   bash scripts/web.sh --test     build, then test the server and the page in a headless browser
#
# Installs what it needs (the WebAssembly compiler, Debian's sources of
# libjpeg-turbo, bzip2 and libopenmpt, built once and kept in a cache outside
# the checkout that build/web-deps/prefix points to),
# makes the pictures and music with the native generator, and builds the
# WebAssembly module with the same engine, effects and resources.
set -euo pipefail
cd "$(dirname "$0")/.."

mode=serve
case "${1:-}" in
  "") ;;
  --build) mode=build ;;
  --test) mode=test ;;
  *)
    echo "usage: bash scripts/web.sh [--build | --test]" >&2
    exit 2
    ;;
esac

script_name=web
# shellcheck source=scripts/common.sh
source scripts/common.sh

ZEMRA_WEB_PACKAGES=1 bash scripts/setup.sh
bash scripts/web-deps.sh

# The generators are programs of this machine; their files go into the
# module. The native program makes the page's poster.
make_host_assets zemra

# ZEMRA_WEB_URL, the address where the page will be published (ending in
# /), makes the poster's address in the page's preview tags absolute.
cmake --preset web -DZEMRA_WEB_URL="${ZEMRA_WEB_URL:-}" >/dev/null
cmake --build --preset web
site=build/web/site

# The poster that link previews show, about 1200 x 630: the logo's title
# over the sunrise (5:16, once the flash has faded), the show's own frame
# enlarged twice by whole pixels without smoothing, centred on black.
poster_frames=$(mktemp -d)
./build/default/zemra --render "$poster_frames/shot" --start 5:16 --end 5:17 >/dev/null
ffmpeg -hide_banner -loglevel error -i "$poster_frames/shot/000000.png" \
  -vf "scale=iw*2:ih*2:flags=neighbor,pad=1200:630:(ow-iw)/2:(oh-ih)/2:black" -frames:v 1 -y "$site/poster.png"
rm -rf "$poster_frames"
echo "zemra: the page is in $site ($(du -sh "$site" | cut -f1))"

case "$mode" in
  build) ;;
  test)
    (cd tests/web && npm ci --no-audit --no-fund --loglevel=error)
    node tests/web/server_test.mjs
    node tests/web/browser_lifetime_test.mjs
    node tests/web/page_test.mjs "$site" build/web/test-output
    ;;
  serve)
    exec node scripts/web-serve.mjs "$site" "${ZEMRA_WEB_PORT:-8080}"
    ;;
esac
