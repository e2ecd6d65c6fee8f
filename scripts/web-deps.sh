#!/usr/bin/env bash
# Builds the four C libraries the show needs (libjpeg-turbo, bzip2, zlib,
# libopenmpt) as static WebAssembly libraries, from the source packages of
# the versions installed on this machine. They are kept in
# ${ZEMRA_DEPS_CACHE:-$HOME/.cache/zemra-deps}/web/prefix, which
# build/web-deps/prefix points to, and a library is built again only when
# its Debian source version changes. Called by scripts/web.sh.
set -euo pipefail
cd "$(dirname "$0")/.."
repo=$PWD
script_name=web-deps
deps_target=WebAssembly
# shellcheck source=scripts/deps-common.sh
source scripts/deps-common.sh
deps_begin web

export NODE_PATH=/usr/share/nodejs
export NODE_OPTIONS=--no-experimental-fetch

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

build_zlib() {
  cd "$1"
  [ -f Makefile ] && make distclean >/dev/null 2>&1 || true
  CFLAGS="-O2" emconfigure ./configure --static --prefix="$prefix"
  emmake make -j "$jobs" libz.a
  mkdir -p "$prefix/lib" "$prefix/include"
  cp libz.a "$prefix/lib/"
  cp zlib.h zconf.h "$prefix/include/"
}

# The page plays one song, an XM module made by the generator, unpacked and
# without plugins. libopenmpt's tables of module loaders, of packed-file
# unpackers and of built-in plugins keep only what that song can use (the XM
# loader, the LFO plugin, which the plugin table needs one of), so the linker
# leaves the rest out: a third of the module. Playback is the same
# code. drop_lines FILE PATTERN COUNT deletes the lines matching PATTERN and
# fails unless there were COUNT of them, so a changed source stops the build
# instead of shipping an untrimmed or broken library.
drop_lines() {
  local file=$1 pattern=$2 count=$3 found
  found=$(grep -cE "$pattern" "$file" || true)
  if [ "$found" != "$count" ]; then
    echo "$file: expected $count lines matching '$pattern', found $found" >&2
    return 1
  fi
  sed -i -E "/$pattern/d" "$file"
}

trim_openmpt() {
  # From the source as unpacked, whatever an earlier build did to the tree.
  local file
  for file in soundlib/Sndfile.cpp soundlib/plugins/PluginManager.cpp; do
    [ -f "$file.unpacked" ] || cp "$file" "$file.unpacked"
    cp "$file.unpacked" "$file"
  done
  drop_lines soundlib/Sndfile.cpp '^\s+MPT_DECLARE_FORMAT\(([^X]|X[^M])[A-Za-z0-9_]*\),$' 45
  drop_lines soundlib/Sndfile.cpp '(MPT_DO_PROBE\(result, ProbeFileHeader|&& Unpack)(MMCMP|PP20|XPK|UMX)\(' 8
  drop_lines soundlib/plugins/PluginManager.cpp '^\s+\{ (DMO|DigiBoosterEcho|SymMODEcho)::' 12
}

build_openmpt() {
  cd "$1"
  trim_openmpt
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
build_library libjpeg-turbo build_jpeg libjpeg62-turbo-dev
build_library bzip2 build_bzip2 libbz2-dev
build_library zlib build_zlib zlib1g-dev
build_library libopenmpt build_openmpt libopenmpt-dev "xm only"
# The web preset reads build/web-deps/prefix; an older checkout's own
# folder there gives way to the link.
mkdir -p "$repo/build/web-deps"
[ -L "$repo/build/web-deps/prefix" ] || rm -rf "$repo/build/web-deps/prefix"
ln -sfn "$prefix" "$repo/build/web-deps/prefix"
say "libraries ready in $prefix"
