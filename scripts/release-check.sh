#!/usr/bin/env bash
# Checks the files scripts/release.sh made in dist/ as the people who
# download them use them:
#  - the Debian package is installed with apt-get, its program, manual page,
#    desktop entry and software-centre entry (by appstreamcli) are checked,
#    a short render from the installed program must equal the build tree's
#    byte for byte, and it is purged again, leaving no file behind;
#  - the web bundle is unpacked into an empty folder and the page's browser
#    test runs against that folder, served by the project's server;
#  - the Windows zip is unpacked and its zemra.exe checked under Wine;
#  - the info files are read for their sizes, line widths and what they
#    must say, and found the same inside both zips;
#  - the screenshot's size and picture, and the videos (where made) by
#    ffprobe: size, picture size, frame rate, codec, sound, length;
#  - the README's table of release files names every file made.
# Installing needs root (or sudo).
set -euo pipefail
cd "$(dirname "$0")/.."

script_name=release-check
failure_mark="FAILED: "
# shellcheck source=scripts/common.sh
source scripts/common.sh

version=$(zemra_version)
dist=$PWD/dist
deb=$dist/zemra_${version}_amd64.deb
web=$dist/zemra-${version}-web.zip
win=$dist/zemra-${version}-windows-x64.zip
nfo=$dist/zemra.nfo
diz=$dist/file_id.diz
shot=$dist/zemra-${version}-screenshot.png
download=$dist/zemra-${version}.mp4
upload=$dist/zemra-${version}-2160p.mp4
for file in "$deb" "$web" "$win" "$nfo" "$diz" "$shot" "$dist/SHA256SUMS"; do
  [ -f "$file" ] || fail "$file is missing: run scripts/release.sh"
done
(cd "$dist" && sha256sum --quiet -c SHA256SUMS) || fail "a file in dist/ does not match SHA256SUMS"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# video FILE MAX_BYTES WxH PROFILE RATE [VIDEO_MBITS_LOW HIGH AUDIO_KBITS_LOW HIGH]:
# a video as a player and a video site read it: H.264 (of PROFILE, when one
# is named) in 4:2:0 at 60 frames a second, the whole show's frames, AAC
# sound at RATE Hz, the index ahead of the picture (it plays while it
# downloads), at most MAX_BYTES (0: any) and within the bit rates given.
video() {
  local file=$1 bytes duration key value
  local -A v a
  [ -f "$file" ] || fail "$file is missing: run scripts/release.sh --video"
  bytes=$(stat -c %s "$file")
  [ "$2" = 0 ] || [ "$bytes" -le "$2" ] || fail "$file is $bytes bytes, more than $2"
  while IFS='=' read -r key value; do v[$key]=$value; done < <(ffprobe -v error -select_streams v:0 \
    -show_entries stream=codec_name,profile,width,height,pix_fmt,r_frame_rate,nb_frames,bit_rate -of default=nw=1 "$file")
  while IFS='=' read -r key value; do a[$key]=$value; done < <(ffprobe -v error -select_streams a:0 \
    -show_entries stream=codec_name,sample_rate,bit_rate -of default=nw=1 "$file")
  duration=$(ffprobe -v error -show_entries format=duration -of csv=p=0 "$file")
  [ "${v[codec_name]:-}" = h264 ] || fail "$file's picture is not H.264"
  [ -z "$4" ] || [ "${v[profile]}" = "$4" ] || fail "$file is H.264 ${v[profile]}, not $4"
  [ "${v[width]}x${v[height]}" = "$3" ] || fail "$file is ${v[width]}x${v[height]}, not $3"
  [ "${v[pix_fmt]}" = yuv420p ] || fail "$file is ${v[pix_fmt]}, not 4:2:0"
  [ "${v[r_frame_rate]}" = 60/1 ] || fail "$file has ${v[r_frame_rate]} frames a second, not 60"
  [ "${v[nb_frames]}" = "$frames" ] || fail "$file has ${v[nb_frames]} frames, not the show's $frames"
  [ "${a[codec_name]:-}" = aac ] || fail "$file's sound is not AAC"
  [ "${a[sample_rate]}" = "$5" ] || fail "$file's sound is at ${a[sample_rate]} Hz, not $5"
  awk -v d="$duration" -v s="$length" 'BEGIN { exit (d - s > 0.05 || s - d > 0.05) }' ||
    fail "$file lasts $duration s, not the show's $length s"
  if [ -n "$6" ]; then
    local vlow vhigh alow ahigh
    read -r vlow vhigh alow ahigh <<<"$6"
    awk -v r="${v[bit_rate]}" -v lo="$vlow" -v hi="$vhigh" 'BEGIN { exit !(r >= lo * 1e6 && r <= hi * 1e6) }' ||
      fail "$file's picture is ${v[bit_rate]} bit/s, not $vlow to $vhigh Mbit/s"
    awk -v r="${a[bit_rate]}" -v lo="$alow" -v hi="$ahigh" 'BEGIN { exit !(r >= lo * 1e3 && r <= hi * 1e3) }' ||
      fail "$file's sound is ${a[bit_rate]} bit/s, not $alow to $ahigh kbit/s"
  fi
  [ "$(mp4_boxes "$file" | grep -m1 -E '^(moov|mdat)$')" = moov ] || fail "$file has its index after the picture"
  say "  $(basename "$file"): $bytes bytes; $3 H.264 ${v[profile]} 4:2:0, 60 frames a second," \
    "$((v[bit_rate] / 1000)) kbit/s; AAC $5 Hz, $((a[bit_rate] / 1000)) kbit/s; $frames frames, $duration s; index first"
}

# same_info_files ZIP UNPACKED FOLDER: the zip unpacked into UNPACKED holds
# dist's file_id.diz at its top and zemra.nfo in FOLDER, beside the program.
same_info_files() {
  cmp -s "$2/file_id.diz" "$diz" || fail "$1 does not hold the release's file_id.diz at its top"
  cmp -s "$3/zemra.nfo" "$nfo" || fail "$1 does not hold the release's zemra.nfo beside the program"
  say "  zemra.nfo and file_id.diz inside, the same as dist's"
}

# The types of an MP4 file's top-level boxes, in order.
mp4_boxes() {
  local offset=0 total size
  total=$(stat -c %s "$1")
  while [ "$offset" -lt "$total" ]; do
    size=$(od -An -tu4 --endian=big -j "$offset" -N4 "$1" | tr -d ' ')
    dd if="$1" bs=4096 iflag=skip_bytes,count_bytes skip=$((offset + 4)) count=4 status=none
    echo
    # Size 1: a 64-bit size follows the type; 0: the box runs to the end.
    [ "$size" != 1 ] || size=$(od -An -tu8 --endian=big -j $((offset + 8)) -N8 "$1" | tr -d ' ')
    [ "$size" -ge 8 ] || break
    offset=$((offset + size))
  done
}

say "the README's table of release files"
for file in "$dist"/*; do
  name=$(basename "$file" | sed "s/$version/VERSION/")
  grep -qF "\`$name\`" README.md || fail "the README's \"Download and run\" table does not name $name"
done
say "  names all $(ls "$dist" | wc -l) files"

say "the info files"
# text_file FILE LINES COLUMNS BYTES: UTF-8 text without control characters,
# at most that many lines (0: any), columns and bytes; says what it found.
text_file() {
  local lines columns bytes
  iconv -f UTF-8 -t UTF-8 "$1" >/dev/null 2>&1 || fail "$1 is not UTF-8 text"
  ! LC_ALL=C grep -qaP '[\x00-\x09\x0b-\x1f\x7f]' "$1" || fail "$1 holds control characters"
  lines=$(wc -l <"$1") columns=$(LC_ALL=C.UTF-8 wc -L <"$1") bytes=$(wc -c <"$1")
  [ "$2" = 0 ] || [ "$lines" -le "$2" ] || fail "$1 has $lines lines, more than $2"
  [ "$columns" -le "$3" ] || fail "$1 has a line of $columns columns, more than $3"
  [ "$bytes" -lt "$4" ] || fail "$1 is $bytes bytes, not under $4"
  say "  $(basename "$1"): $lines lines of at most $columns columns, $bytes bytes, $(LC_ALL=C grep -qaP '[\x80-\xff]' "$1" && echo UTF-8 || echo ASCII)"
}
text_file "$nfo" 0 80 32768
text_file "$diz" 10 45 32768
for file in "$nfo" "$diz"; do
  grep -q "$version" "$file" || fail "$file does not name the version $version"
  grep -qi "flashing lights" "$file" || fail "$file does not warn of flashing lights"
  grep -q -- "--gentle" "$file" || fail "$file does not name the gentle mode"
done
grep -qi "credits" "$nfo" && grep -qi "licen[cs]e" "$nfo" || fail "$nfo has no credits or no licence"
for file in "$dist"/*; do
  case $(basename "$file") in zemra.nfo | file_id.diz) ;; *)
    grep -qF "$(basename "$file")" "$nfo" || fail "$nfo does not name $(basename "$file")" ;;
  esac
done

say "the screenshot"
IFS=, read -r codec width height < <(ffprobe -v error -select_streams v -show_entries stream=codec_name,width,height \
  -of csv=p=0 "$shot")
bytes=$(stat -c %s "$shot")
[ "$codec" = png ] || fail "$shot is not a PNG picture ($codec)"
[ "$width" -le 400 ] && [ "$height" -le 300 ] || fail "$shot is $width x $height, larger than 400 x 300"
[ "$bytes" -lt 65536 ] || fail "$shot is $bytes bytes, not under 64 KB"
# A frame a viewer can see something in: not black, not one flat colour.
read -r mean spread < <(ffmpeg -hide_banner -i "$shot" -vf signalstats,metadata=print:file=- -f null - 2>/dev/null |
  awk -F= '/YAVG/ { a = $2 } /YHIGH/ { h = $2 } /YLOW/ { l = $2 } END { print int(a), h - l }')
[ "$mean" -ge 32 ] && [ "$spread" -ge 64 ] || fail "$shot looks empty (mean brightness $mean, spread $spread)"
say "  $width x $height, $bytes bytes, mean brightness $mean of 255"

if [ -e "$download" ] || [ -e "$upload" ]; then
  say "the videos, by ffprobe"
  # The show's length, from the end of its timeline ("(end) 35:0 3:37.600").
  length=$(./build/release/zemra --list | awk '$1 == "(end)" { split($3, t, ":"); print t[1] * 60 + t[2] }')
  frames=$(awk -v s="$length" 'BEGIN { f = s * 60; print (f == int(f)) ? f : int(f) + 1 }')
  video "$download" 150000000 1280x960 "" 48000 ""
  video "$upload" 0 3840x2160 High 48000 "50 70 300 450"
fi

say "the Debian package: lintian"
lintian --fail-on error "$deb" 2>&1 | grep -v 'running with root privileges' || true
lintian --fail-on error "$deb" >/dev/null 2>&1 || fail "lintian reports errors on $deb"

say "the Debian package: installed with apt-get"
export DEBIAN_FRONTEND=noninteractive
run_as_root apt-get install -y -q --no-install-recommends "$deb" >"$work/apt.log" 2>&1 ||
  { cat "$work/apt.log" >&2; fail "apt-get install $deb"; }
installed=$(dpkg-query -L zemra | sort)
/usr/bin/zemra --version | grep -q "^zemra $version" || fail "the installed zemra --version does not say $version"
say "  $(/usr/bin/zemra --version)"
# The description as apt show prints it, its warning and quotes whole.
dpkg-query -W -f='${Description}' zemra | grep -q -- '--gentle, or "Play gently"' ||
  fail "the package's description does not name the gentle mode and its menu action"
say "  description: warns and names the gentle mode"
manual=$(man -w 6 zemra) || fail "man -w 6 zemra finds no manual page"
say "  manual page: $manual"
desktop-file-validate /usr/share/applications/zemra.desktop || fail "the desktop entry is not valid"
say "  desktop entry: valid"
metainfo=$(echo "$installed" | grep -m1 '^/usr/share/metainfo/.*\.metainfo\.xml$') ||
  fail "the package has no software-centre entry (AppStream metainfo)"
appstreamcli validate --no-net "$metainfo" | sed 's/^/    /' ||
  fail "appstreamcli finds errors in $metainfo"
launchable=$(sed -n 's|.*<launchable type="desktop-id">\(.*\)</launchable>.*|\1|p' "$metainfo")
[ -f "/usr/share/applications/$launchable" ] || fail "$metainfo launches $launchable, which is not installed"
grep -q "<release version=\"$version\"" "$metainfo" || fail "$metainfo does not name the release $version"
grep -qi "flashing lights" "$metainfo" && grep -q -- "--gentle" "$metainfo" ||
  fail "$metainfo does not warn of flashing lights and name the gentle mode"
say "  software-centre entry: $metainfo, valid, launches $launchable"
/usr/bin/zemra --render "$work/installed" --start 9:0 --end 9:16 >/dev/null 2>&1 || fail "the installed program's render"
./build/release/zemra --render "$work/built" --start 9:0 --end 9:16 >/dev/null 2>&1 || fail "the build tree's render"
diff -r "$work/installed" "$work/built" >/dev/null || fail "the installed program's render differs from the build tree's"
say "  a render of 9:0 to 9:16: $(ls "$work/installed" | wc -l) files, byte-identical to the build tree's"
run_as_root apt-get purge -y -q zemra >"$work/apt.log" 2>&1 || { cat "$work/apt.log" >&2; fail "apt-get purge zemra"; }
left=$(echo "$installed" | while read -r path; do
  # Folders the package shared with others (/usr, /usr/share/...) stay.
  if [ -e "$path" ] && [ ! -d "$path" ]; then echo "$path"; fi
  if [ -d "$path" ] && [[ "$path" == */zemra ]]; then echo "$path"; fi
done)
[ -z "$left" ] || fail "left behind after apt-get purge: $left"
say "  purged: nothing left behind"

say "the web bundle: unpacked into an empty folder and tested in the browser"
mkdir "$work/web" && unzip -q "$web" -d "$work/web"
site=$(find "$work/web" -name index.html -printf '%h\n' | head -1)
[ -n "$site" ] || fail "$web holds no index.html"
same_info_files "$web" "$work/web" "$site"
(cd tests/web && npm ci --no-audit --no-fund --loglevel=error)
node tests/web/page_test.mjs "$site" build/release-check/web || fail "the unpacked web page's test"

say "the Windows zip: unpacked and run under Wine"
mkdir "$work/windows" && unzip -q "$win" -d "$work/windows"
exe=$(find "$work/windows" -name zemra.exe | head -1)
[ -n "$exe" ] || fail "$win holds no zemra.exe"
same_info_files "$win" "$work/windows" "$(dirname "$exe")"
bash scripts/windows.sh --test-exe "$exe" || fail "the unpacked zemra.exe under Wine"
say "every release file passed"
