#!/usr/bin/env bash
# Packs the web page's folder into a zip for any static web server:
#   bash scripts/web-bundle.sh SITE_DIR OUT.zip
# Beside each text, script and WebAssembly file go precompressed copies
# (.gz, and .br where brotli is installed) that a server can send as they are.
set -euo pipefail
[ $# -eq 2 ] || { echo "usage: bash scripts/web-bundle.sh SITE_DIR OUT.zip" >&2; exit 2; }
site=$1 out=$(realpath -m "$2")
[ -f "$site/index.html" ] || { echo "zemra web-bundle: $site holds no page (build it with scripts/web.sh --build)" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
name=$(basename "$out" .zip)
mkdir "$work/$name"
cp -R "$site"/. "$work/$name/"
find "$work/$name" -name '*.gz' -o -name '*.br' | xargs -r rm -f
cat >"$work/$name/SERVING.txt" <<'TEXT'
Zemra in a web page
===================

This folder is the whole page. Serve it with any static web server and open
its address in a browser, for example:

    python3 -m http.server 8080 --bind 127.0.0.1    (then open http://127.0.0.1:8080/)

A page opened straight from the disk (file://) cannot load its WebAssembly
module; the page says so and names this way.

Beside each file lie precompressed copies (.gz, .br): a server that can send
them as they are (nginx's gzip_static and brotli_static, Caddy's
precompressed) saves the time of compressing them. The page needs no other
server setting; .wasm files should be sent as application/wasm.
TEXT
for file in "$work/$name"/*.html "$work/$name"/*.js "$work/$name"/*.wasm; do
  [ -e "$file" ] || continue
  gzip -9nk "$file"
  if command -v brotli >/dev/null 2>&1; then brotli -q 11 -k "$file"; fi
done
rm -f "$out.tmp"
(cd "$work" && zip -qrX9 "$out.tmp" "$name")
mv "$out.tmp" "$out"
