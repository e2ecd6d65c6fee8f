#!/usr/bin/env bash
# Makes the files a viewer downloads, in dist/:
#   zemra_VERSION_amd64.deb            the Debian 12 package
#   zemra-VERSION-windows-x64.zip      the Windows program
#   zemra-VERSION-web.zip              the web page's folder, for any static web server
#   zemra.nfo, file_id.diz             the info files (also inside both zips)
#   zemra-VERSION-screenshot.png       a frame of the show for demo archives
#   zemra-VERSION.mp4                  the whole show as a video to download (only with --video)
#   zemra-VERSION-2160p.mp4            the same for video sites, 3840 x 2160 (only with --video)
#   SHA256SUMS
# and prints what it made with the sizes. scripts/release-check.sh then checks
# each file as the person who downloads it would use it.
#
# ZEMRA_RELEASE_URL, the web address where these files will be published,
# lets the package's software-centre entry show the screenshot from there.
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

# add_info_files ZIP FOLDER: zemra.nfo into the zip's FOLDER beside the
# program, file_id.diz at the zip's top, where archives look for it.
add_info_files() {
  local stage
  stage=$(mktemp -d)
  mkdir "$stage/$2"
  cp "$dist/zemra.nfo" "$stage/$2/"
  cp "$dist/file_id.diz" "$stage/"
  (cd "$stage" && zip -qX9 "$1" "$2/zemra.nfo" file_id.diz)
  rm -rf "$stage"
}

# make_screenshot OUT: the logo's title over the sunrise (5:16, once the
# flash has faded), the show's own 320 x 240 frame kept pixel for pixel: it
# is within the 400 x 300 demo archives take, and any rescaling would blur it.
make_screenshot() {
  local frames
  frames=$(mktemp -d)
  ./build/release/zemra --render "$frames/shot" --start 5:16 --end 5:17 >/dev/null
  ffmpeg -hide_banner -loglevel error -i "$frames/shot/000000.png" -frames:v 1 -y "$1"
  rm -rf "$frames"
}

# Both videos are made from the show's exact frames (a render to PNG at 60
# frames a second, with its sound), each picture pixel enlarged to a square
# of whole pixels with no smoothing. An even factor keeps the halved colour
# planes of 4:2:0 on whole picture pixels, so every edge stays sharp; the
# colours are converted and tagged as BT.709, as players assume for HD.
enlarge() { echo "scale=iw*$1:ih*$1:flags=neighbor:out_color_matrix=bt709:out_range=tv,format=yuv420p"; }
x264_common=(-c:v libx264 -profile:v high -colorspace bt709 -color_primaries bt709 -color_trc bt709 -color_range tv)
aac_48k=(-c:a aac -ar 48000)

# seconds_since START: whole seconds from the date +%s value START to now.
seconds_since() { echo $(($(date +%s) - $1)); }

# make_videos DOWNLOAD UPLOAD
make_videos() {
  local frames=$PWD/build/release/video-frames start
  rm -rf "$frames"
  say "the video: the show's frames and sound"
  start=$(date +%s)
  ./build/release/zemra --render "$frames" >/dev/null
  say "  $(find "$frames" -name '*.png' | wc -l) frames in $(seconds_since "$start") s"
  local input=(-framerate 60 -i "$frames/%06d.png" -i "$frames/audio.wav")

  # The download copy: four times enlarged (1280 x 960) at 5 Mbit/s on
  # average, so that the whole show stays under 150 MB with its sound. Two
  # passes spread the bits by what each scene needs: the busiest (the
  # magnet's field, the tunnel) take up to 12 Mbit/s from the calm ones,
  # where a cap on each moment starves them.
  say "the download video: 1280 x 960, 60 frames a second, 5 Mbit/s on average"
  start=$(date +%s)
  local passes
  passes=$(mktemp -d)
  local download=("${x264_common[@]}" -preset veryfast -b:v 5M -maxrate 12M -bufsize 24M -passlogfile "$passes/x264")
  ffmpeg -hide_banner -loglevel error "${input[@]}" -vf "$(enlarge 4)" "${download[@]}" -pass 1 -an -f null -
  ffmpeg -hide_banner -loglevel error "${input[@]}" -vf "$(enlarge 4)" "${download[@]}" -pass 2 \
    "${aac_48k[@]}" -b:a 192k -movflags +faststart -y "$1"
  rm -rf "$passes"
  say "  took $(seconds_since "$start") s"

  # The upload copy for video sites: eight times enlarged (2560 x 1920) and
  # centred on black in 3840 x 2160, at the 60 Mbit/s that sites recommend
  # for 2160p60 uploads (constant, a buffer of one second), a key frame
  # every half second, 384 kbit/s of sound. x264's fastest preset with the
  # 8 x 8 transform (so High profile): at this size even that takes several
  # times the show's length on two cores, and at this bit rate its picture
  # is near the exact frames.
  say "the upload video: 3840 x 2160, 60 frames a second, 60 Mbit/s"
  start=$(date +%s)
  ffmpeg -hide_banner -loglevel error "${input[@]}" \
    -vf "$(enlarge 8),pad=3840:2160:(ow-iw)/2:(oh-ih)/2:black" \
    "${x264_common[@]}" -preset ultrafast -x264-params 8x8dct=1:nal-hrd=cbr \
    -b:v 60M -minrate 60M -maxrate 60M -bufsize 60M -g 30 \
    "${aac_48k[@]}" -b:a 384k -movflags +faststart -y "$2"
  say "  took $(seconds_since "$start") s"

  say "the download video's picture against the exact frames, enlarged alike:"
  start=$(date +%s)
  ffmpeg -hide_banner -i "$1" -framerate 60 -i "$frames/%06d.png" \
    -lavfi "[1:v]$(enlarge 4)[exact];[0:v][exact]psnr" -f null - 2>&1 |
    sed -n 's/.*\(PSNR .*\)/\1 (dB)/p' | while read -r line; do say "  $line"; done
  say "  took $(seconds_since "$start") s"
  rm -rf "$frames"
}

ZEMRA_RELEASE_PACKAGES=1 bash scripts/setup.sh

say "the Debian package"
cmake --preset release -DZEMRA_RELEASE_URL="${ZEMRA_RELEASE_URL:-}" >/dev/null
cmake --build --preset release
(cd build/release && cpack -B "$PWD/cpack" >/dev/null)
cp "build/release/cpack/zemra_${version}_amd64.deb" "$dist/"

# The screenshot and the videos are made by the release build's program.
say "the screenshot"
make_screenshot "$dist/zemra-${version}-screenshot.png"

if [ "$video" = 1 ]; then
  make_videos "$dist/zemra-${version}.mp4" "$dist/zemra-${version}-2160p.mp4"
fi

say "the Windows program"
bash scripts/windows.sh --zip
cp "build/windows/zemra-${version}-windows-x64.zip" "$dist/"

say "the web page"
bash scripts/web.sh --build
bash scripts/web-bundle.sh build/web/site "$dist/zemra-${version}-web.zip"

say "the info files"
bash packaging/info-files.sh "$dist"
add_info_files "$dist/zemra-${version}-windows-x64.zip" "zemra-${version}-windows-x64"
add_info_files "$dist/zemra-${version}-web.zip" "zemra-${version}-web"

(cd "$dist" && sha256sum -- * | grep -v ' SHA256SUMS$' >SHA256SUMS)
say "made in dist/:"
(cd "$dist" && ls -l --block-size=1 | awk 'NR > 1 { printf "  %-36s %12d bytes\n", $9, $5 }')
