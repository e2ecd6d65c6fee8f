#!/usr/bin/env bash
# Installs the Debian packages that building, playing and testing Zemra need.
# Safe to run again: only missing packages are installed. With
# ZEMRA_FUZZ_PACKAGES=1 it also installs clang for the fuzz targets; with
# ZEMRA_WEB_PACKAGES=1 the WebAssembly compiler, the tools that unpack Debian
# source packages, and the headless browser and Node.js for the page's test;
# with ZEMRA_RELEASE_PACKAGES=1 the tools that make and check release files;
# with ZEMRA_WINDOWS_PACKAGES=1 the mingw-w64 cross compiler (posix threads),
# nasm and zlib for the Windows libraries, and Wine to run the Windows program.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config python3
  libsdl2-dev libopenmpt-dev libjpeg-dev libbz2-dev libpng-dev zlib1g-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  ffmpeg xvfb xauth xdotool x11-apps
)
if [ "${ZEMRA_FUZZ_PACKAGES:-0}" = 1 ]; then
  packages+=(clang-14 libclang-rt-14-dev)
fi
if [ "${ZEMRA_RELEASE_PACKAGES:-0}" = 1 ]; then
  packages+=(zip unzip brotli lintian desktop-file-utils appstream man-db)
fi
if [ "${ZEMRA_WEB_PACKAGES:-0}" = 1 ]; then
  packages+=(emscripten dpkg-dev chromium-headless-shell)
  # A machine may carry Node.js from elsewhere, with npm inside it.
  command -v npm >/dev/null 2>&1 || packages+=(nodejs npm)
fi
if [ "${ZEMRA_WINDOWS_PACKAGES:-0}" = 1 ]; then
  packages+=(g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
    nasm libz-mingw-w64-dev dpkg-dev wine wine64 zip unzip)
fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "zemra setup: installing ${missing[*]}"
sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
  if command -v sudo >/dev/null 2>&1; then
    sudo_cmd=(sudo)
  else
    echo "zemra setup: these packages are missing and this user cannot install them: ${missing[*]}" >&2
    echo "zemra setup: install them as root (apt-get install ${missing[*]}) and run again." >&2
    exit 1
  fi
fi

export DEBIAN_FRONTEND=noninteractive
if ! "${sudo_cmd[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"; then
  echo "zemra setup: apt-get install failed; refreshing the package lists and trying once more" >&2
  "${sudo_cmd[@]}" apt-get update -q || true
  if ! "${sudo_cmd[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"; then
    echo "zemra setup: could not install ${missing[*]}; check the network and apt sources." >&2
    exit 1
  fi
fi
