#!/usr/bin/env bash
# Builds the C libraries the Windows program links statically (bzip2,
# libjpeg-turbo, libpng, libopenmpt, SDL2) with the mingw-w64 cross compiler,
# from the Debian source packages of the versions installed on this machine,
# so the Windows program decodes and plays exactly as the Linux one. zlib
# comes ready-made from Debian (libz-mingw-w64-dev). The libraries are kept
# in ${ZEMRA_DEPS_CACHE:-$HOME/.cache/zemra-deps}/windows/prefix and built
# again only when a Debian version changes; build/windows-deps/prefix points
# there. Called by scripts/windows.sh.
set -euo pipefail
cd "$(dirname "$0")/.."
repo=$PWD
script_name=windows-deps
deps_target="Windows x64"
# shellcheck source=scripts/deps-common.sh
source scripts/deps-common.sh
deps_begin windows

host=x86_64-w64-mingw32
toolchain="$repo/cmake/mingw-w64-x86_64.cmake"
sysroot=/usr/$host
export CC=$host-gcc-posix CXX=$host-g++-posix AR=$host-gcc-ar-posix RANLIB=$host-gcc-ranlib-posix

# cmake_library SOURCE BUILD-FOLDER OPTIONS...: a CMake project built as a
# static Release library and installed into the prefix.
cmake_library() {
  local source=$1 build=$2
  shift 2
  rm -rf "$build"
  cmake -S "$source" -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" -DCMAKE_PREFIX_PATH="$prefix" "$@"
  cmake --build "$build" -j "$jobs"
  cmake --install "$build"
}

build_bzip2() {
  (cd "$1" && make clean >/dev/null 2>&1 || true)
  (cd "$1" && make -j "$jobs" libbz2.a CC="$CC" AR="$AR" RANLIB="$RANLIB" CFLAGS="-O2 -D_FILE_OFFSET_BITS=64")
  mkdir -p "$prefix/lib" "$prefix/include"
  cp "$1/libbz2.a" "$prefix/lib/"
  cp "$1/bzlib.h" "$prefix/include/"
}

build_jpeg() {
  # With its SIMD code (nasm), as Debian's own build for x86-64.
  cmake_library "$1" "$1/win-build" -DENABLE_SHARED=OFF -DENABLE_STATIC=ON -DWITH_TURBOJPEG=OFF \
    -DWITH_SIMD=ON -DCMAKE_ASM_NASM_COMPILER=nasm
}

build_png() {
  # zlib by its static archive: the import library beside it would want a DLL.
  cmake_library "$1" "$1/win-build" -DPNG_SHARED=OFF -DPNG_STATIC=ON -DPNG_TESTS=OFF \
    -DPNG_EXECUTABLES=OFF -DZLIB_INCLUDE_DIR="$sysroot/include" -DZLIB_LIBRARY="$sysroot/lib/libz.a"
}

build_openmpt() {
  cd "$1"
  [ -f Makefile ] && make distclean >/dev/null 2>&1 || true
  # Only the library, as for the web: no player, examples, tests or codecs.
  CXXFLAGS="-O2" CFLAGS="-O2" ./configure --host=$host --prefix="$prefix" \
    --disable-shared --enable-static \
    --disable-openmpt123 --disable-examples --disable-tests --disable-doxygen-doc \
    --without-zlib --without-mpg123 --without-ogg --without-vorbis --without-vorbisfile \
    --without-pulseaudio --without-portaudio --without-portaudiocpp --without-sndfile --without-flac
  make -j "$jobs"
  make install
}

build_sdl() {
  cmake_library "$1" "$1/win-build" -DSDL_SHARED=OFF -DSDL_STATIC=ON -DSDL_TEST=OFF
}

ensure_source_lists
build_library bzip2 build_bzip2 libbz2-dev
build_library libjpeg-turbo build_jpeg libjpeg62-turbo-dev
build_library libpng1.6 build_png libpng-dev
build_library libopenmpt build_openmpt libopenmpt-dev
build_library libsdl2 build_sdl libsdl2-dev

# zlib and the compiler's runtime (libstdc++, libgcc, winpthreads) are linked
# in too: their licences go beside the others.
mkdir -p "$prefix/licences"
cp /usr/share/doc/libz-mingw-w64-dev/copyright "$prefix/licences/zlib.txt"
cp /usr/share/doc/gcc-mingw-w64-base/copyright "$prefix/licences/gcc-runtime.txt"
cp /usr/share/doc/mingw-w64-common/copyright "$prefix/licences/mingw-w64-runtime.txt"

mkdir -p "$repo/build/windows-deps"
[ -L "$repo/build/windows-deps/prefix" ] || rm -rf "$repo/build/windows-deps/prefix"
ln -sfn "$prefix" "$repo/build/windows-deps/prefix"
say "libraries ready in $prefix"
