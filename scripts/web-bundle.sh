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

What the server should send
---------------------------

1. WebAssembly as application/wasm. Sent with another type, a .wasm file is
   refused by some browsers, and none can compile it while it downloads.

2. The precompressed copies. Beside each page, script and WebAssembly file
   FILE lies FILE.gz (gzip), and FILE.br (brotli) where the release was made
   with brotli; beside a data file (data/*.bin) where a copy is smaller.
   The module is 1.3 MB and its brotli copy under 0.4 MB: on a phone's
   network the copies decide how soon the show can start. For
   a request for FILE whose Accept-Encoding header accepts br (names br, or
   *, without q=0), send FILE.br; else, if it accepts gzip, FILE.gz; else
   FILE. With a copy, answer
       Content-Encoding: br            (or gzip)
       Content-Type: the type of FILE  (application/wasm for a .wasm file,
                                        not a type for .br or .gz)
       Content-Length: the copy's size
   and answer every request for such a file, copy or not, with
       Vary: Accept-Encoding
   so that caches between the server and the browser keep the two apart.
   HEAD gets the same headers as GET. A request for FILE.gz or FILE.br
   itself gets that file as it is, without Content-Encoding. Replace a file
   and its copies together (or remove the copies): a copy left from an
   older release would be sent instead of the new file.

   nginx:  gzip_static on; gzip_vary on; brotli_static on; (the last comes
           with nginx's brotli module) and "application/wasm wasm;" in its
           types where its mime.types lacks it.
   Caddy:  file_server { precompressed br gzip }

3. The data folder. The show's pictures, objects and music are the files in
   data/ (application/octet-stream is right for them), which the page
   fetches after the module, in the order the show needs them, and checks
   against the sizes and checksums built into the module: replace the whole
   folder together with zemra.wasm. The show starts once the music and the
   first scenes' files have come and fetches the rest while it plays.

A server that sends only the files themselves (such as the python3 command
above) plays the show all the same, after a longer download.

Links to the page
-----------------

Where a link to the page is pasted, chat programs and social sites show its
title, a line about it and poster.png. Some of them want the poster's
address whole: build the page with ZEMRA_WEB_URL set to the page's address
(ending in /) to write it so. A link may carry a cut of the show after the
address (#cut=1.DATA, made by `zemra --share`); it is read by the page
itself and needs nothing from the server.
TEXT
for file in "$work/$name"/*.html "$work/$name"/*.js "$work/$name"/*.wasm; do
  [ -e "$file" ] || continue
  gzip -9nk "$file"
  if command -v brotli >/dev/null 2>&1; then brotli -q 11 -k "$file"; fi
done
# The data files are mostly JPEG and bzip2 already: a copy stays only where
# it saves something.
for file in "$work/$name"/data/*.bin; do
  [ -e "$file" ] || continue
  gzip -9nk "$file"
  if command -v brotli >/dev/null 2>&1; then brotli -q 11 -k "$file"; fi
  for copy in "$file.gz" "$file.br"; do
    [ -e "$copy" ] && [ $(($(stat -c %s "$copy") * 100)) -ge $(($(stat -c %s "$file") * 98)) ] && rm -f "$copy"
  done
done
rm -f "$out.tmp"
(cd "$work" && zip -qrX9 "$out.tmp" "$name")
mv "$out.tmp" "$out"
