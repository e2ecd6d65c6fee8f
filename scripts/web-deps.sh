#!/usr/bin/env bash
# Builds the three C libraries the show needs (libjpeg-turbo, bzip2,
# libopenmpt) as static WebAssembly libraries, from the source packages of
# the Debian release this machine runs, into build/web-deps/prefix. A library
# is built again only when its Debian source version changes; otherwise the
# cached one is kept. Called by scripts/web.sh.
set -euo pipefail
cd "$(dirname "$0")/.."
root="$PWD/build/web-deps"
prefix="$root/prefix"
mkdir -p "$root/src" "$prefix"

export NODE_PATH=/usr/share/nodejs
export NODE_OPTIONS=--no-experimental-fetch
jobs=$(nproc)

say() { echo "zemra web-deps: $*"; }

run_as_root() {
  if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

# apt-get source needs deb-src lines; add them for the mirrors already in use.
ensure_source_lists() {
  if apt-get source --print-uris bzip2 >/dev/null 2>&1; then return; fi
  local list=/etc/apt/sources.list.d/zemra-deb-src.sources
  say "adding Debian source lines ($list) for the mirrors in use"
  local found=0
  for f in /etc/apt/sources.list.d/*.sources; do
    [ -e "$f" ] || continue
    [ "$f" = "$list" ] && continue
    if grep -q '^URIs: .*debian' "$f"; then
      sed -e 's/^Types: deb$/Types: deb-src/' "$f"
      echo
      found=1
    fi
  done >"$root/deb-src.sources"
  if [ -r /etc/apt/sources.list ] && grep -q '^deb ' /etc/apt/sources.list; then
    sed -n 's/^deb \(.*debian.*\)/deb-src \1/p' /etc/apt/sources.list >"$root/deb-src.list"
    run_as_root cp "$root/deb-src.list" /etc/apt/sources.list.d/zemra-deb-src.list
    found=1
  fi
  if [ "$found" = 0 ]; then
    say "found no Debian mirror in the apt sources; add deb-src lines by hand and run again" >&2
    exit 1
  fi
  [ -s "$root/deb-src.sources" ] && run_as_root cp "$root/deb-src.sources" "$list"
  run_as_root apt-get update -q >/dev/null
}

# The Debian source version of a source package, as apt sees it.
source_version() {
  apt-cache showsrc "$1" | sed -n 's/^Version: //p' | head -1
}

# fetch PACKAGE: unpacks its Debian source into build/web-deps/src/PACKAGE
# and prints the tree's path.
fetch() {
  local package=$1 version=$2
  # No epoch in the folder name: make cannot take a colon in a path.
  local dir="$root/src/$package-${version#*:}"
  if [ ! -d "$dir" ]; then
    local work="$root/src/.fetch-$package"
    rm -rf "$work" && mkdir -p "$work"
    (cd "$work" && apt-get source -q "$package=$version" >/dev/null 2>&1) || {
      say "apt-get source $package=$version failed" >&2
      exit 1
    }
    local tree
    tree=$(find "$work" -mindepth 1 -maxdepth 1 -type d | head -1)
    mv "$tree" "$dir"
    rm -rf "$work"
  fi
  echo "$dir"
}

# Runs the build of one library unless its stamp names the same version.
build_library() {
  local package=$1 builder=$2
  local version stamp="$prefix/.$package.version"
  version=$(source_version "$package")
  if [ -z "$version" ]; then
    say "apt knows no source package $package" >&2
    exit 1
  fi
  if [ -f "$stamp" ] && [ "$(cat "$stamp")" = "$version" ]; then
    return
  fi
  say "building $package $version for WebAssembly"
  local dir
  dir=$(fetch "$package" "$version")
  "$builder" "$dir" >"$root/$package.log" 2>&1 || {
    say "building $package failed; the log is $root/$package.log" >&2
    tail -20 "$root/$package.log" >&2
    exit 1
  }
  echo "$version" >"$stamp"
}

build_jpeg() {
  local build="$1/wasm-build"
  rm -rf "$build"
  # The test emulator must be plain node: the size checks run compiled probes.
  emcmake cmake -S "$1" -B "$build" -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" \
    -DENABLE_SHARED=OFF -DWITH_SIMD=OFF -DWITH_TURBOJPEG=OFF -DCMAKE_CROSSCOMPILING_EMULATOR=/usr/bin/node
  cmake --build "$build" -j "$jobs"
  cmake --install "$build"
}

build_bzip2() {
  (cd "$1" && emmake make -j "$jobs" libbz2.a CC=emcc AR=emar RANLIB=emranlib CFLAGS="-O2 -D_FILE_OFFSET_BITS=64")
  mkdir -p "$prefix/lib" "$prefix/include"
  cp "$1/libbz2.a" "$prefix/lib/"
  cp "$1/bzlib.h" "$prefix/include/"
}

build_openmpt() {
  cd "$1"
  # Only the library: no player, examples, tests or optional codecs. Loading
  # errors are C++ exceptions, so they are compiled in.
  CXXFLAGS="-O2 -fexceptions" CFLAGS="-O2" LDFLAGS="-fexceptions" \
    emconfigure ./configure --prefix="$prefix" --disable-shared --enable-static \
    --disable-openmpt123 --disable-examples --disable-tests --disable-doxygen-doc \
    --without-zlib --without-mpg123 --without-ogg --without-vorbis --without-vorbisfile \
    --without-pulseaudio --without-portaudio --without-portaudiocpp --without-sndfile --without-flac
  emmake make -j "$jobs"
  emmake make install
}

ensure_source_lists
build_library libjpeg-turbo build_jpeg
build_library bzip2 build_bzip2
build_library libopenmpt build_openmpt
say "libraries ready in $prefix"
