#!/usr/bin/env bash
# Builds the show as a Windows program on this Debian machine.
#
#   bash scripts/windows.sh          build build/windows/zemra.exe and zemra-golden.exe
#   bash scripts/windows.sh --test   build, then check them under Wine
#   bash scripts/windows.sh --zip    build, then pack build/windows/zemra-VERSION-windows-x64.zip
#   bash scripts/windows.sh --test-exe EXE   check a zemra.exe made before (such as
#                                    one unpacked from the zip) under Wine
#
# Installs what it needs (the mingw-w64 cross compiler, nasm, zlib for
# mingw, Wine), builds Debian's sources of the libraries it links statically
# (kept in a cache outside the checkout, see scripts/windows-deps.sh), makes
# the pictures and music with the native generators and cross-compiles the
# same sources as the desktop program.
set -euo pipefail
cd "$(dirname "$0")/.."

mode=build
exe=build/windows/zemra.exe
case "${1:-}" in
  "") ;;
  --test) mode=test ;;
  --zip) mode=zip ;;
  --test-exe)
    mode=test-exe
    exe=${2:?--test-exe needs the path of a zemra.exe}
    ;;
  *)
    echo "usage: bash scripts/windows.sh [--test | --zip | --test-exe EXE]" >&2
    exit 2
    ;;
esac

script_name=windows
# shellcheck source=scripts/common.sh
source scripts/common.sh

version=$(zemra_version)
out=build/windows
mkdir -p "$out"

ZEMRA_WINDOWS_PACKAGES=1 bash scripts/setup.sh

# The generators are programs of this machine; their files go into the
# program. The checks compare with the Linux program, so they build it too.
case "$mode" in
  test | test-exe) make_host_assets zemra ;;
  *) make_host_assets ;;
esac

if [ "$mode" != test-exe ]; then
  bash scripts/windows-deps.sh
  cmake --preset windows >/dev/null
  cmake --build --preset windows
  # Only Windows' own DLLs: everything else is linked in.
  for program in zemra zemra-golden; do
    strangers=$(x86_64-w64-mingw32-objdump -p "$out/$program.exe" | sed -n 's/^\s*DLL Name: //p' |
      grep -viE '^(kernel32|user32|gdi32|winmm|imm32|ole32|oleaut32|version|advapi32|setupapi|shell32|dinput8|msvcrt|shlwapi|cfgmgr32|api-ms-win-.*)\.dll$' || true)
    [ -z "$strangers" ] || fail "$program.exe needs DLLs that Windows lacks: $strangers"
  done
  say "built $out/zemra.exe ($(du -h "$out/zemra.exe" | cut -f1)) and zemra-golden.exe, no DLLs beyond Windows' own"
fi

make_zip() {
  local name="zemra-$version-windows-x64" stage="$out/zip"
  rm -rf "$stage" && mkdir -p "$stage/$name/licences"
  cp "$out/zemra.exe" "$stage/$name/"
  sed "s/@VERSION@/$version/; s/\$/\r/" docs/windows-readme.txt >"$stage/$name/README.txt"
  sed 's/$/\r/' LICENSE >"$stage/$name/LICENSE.txt"
  for licence in build/windows-deps/prefix/licences/*.txt; do
    sed 's/$/\r/' "$licence" >"$stage/$name/licences/$(basename "$licence")"
  done
  rm -f "$out/$name.zip"
  (cd "$stage" && zip -q -r -9 "../$name.zip" "$name")
  say "packed $out/$name.zip ($(du -h "$out/$name.zip" | cut -f1))"
}

# The checks of one zemra.exe against the Linux program.
check_program() {
  local wine=scripts/wine-run.sh check="$out/check" linux=build/default/zemra
  rm -rf "$check" && mkdir -p "$check"
  # A fresh Wine prefix: nothing from an earlier run or from ~/.wine counts.
  rm -rf "$out/wine"

  local printed
  printed=$($wine "$exe" --version | tr -d '\r')
  case "$printed" in
    "zemra $version" | "zemra $version "*) ;;
    *) fail "zemra.exe --version printed '$printed'" ;;
  esac
  say "zemra.exe --version under Wine: $printed"

  $wine "$exe" --list | tr -d '\r' >"$check/list-windows.txt"
  "$linux" --list >"$check/list-linux.txt"
  cmp -s "$check/list-windows.txt" "$check/list-linux.txt" ||
    fail "--list differs from the Linux program's (diff $check/list-windows.txt $check/list-linux.txt)"
  say "--list equals the Linux program's"

  # A short stretch with a scene change and a flash, frame for frame.
  local stretch=(--start 9:0 --end 10:8 --fps 30)
  $wine "$exe" --render "$check/frames-windows" "${stretch[@]}" 2>"$check/render-windows.log" ||
    fail "the render under Wine failed: $(tail -3 "$check/render-windows.log")"
  "$linux" --render "$check/frames-linux" "${stretch[@]}" 2>"$check/render-linux.log"
  diff -r -q "$check/frames-windows" "$check/frames-linux" >/dev/null ||
    fail "the render differs from the Linux render ($check/frames-windows, $check/frames-linux)"
  say "the render of ${stretch[*]} ($(ls "$check/frames-linux" | wc -l) files) is byte-identical to Linux's"

  # The window for a few seconds on a virtual display; a key ends it. Wine's
  # server from the runs above lingers a moment without a display, and a
  # program started while it lives cannot open a window: wait for it to end.
  WINEPREFIX="$PWD/$out/wine" wineserver --wait || true
  mkdir -p "$check/window"
  xvfb-run -a -s "-screen 0 1280x1024x24" bash tests/desktop/play_under_xvfb.sh "$wine" "$check/window" \
    "$exe" --mute &
  local player=$!
  sleep 6
  touch "$check/window/press"
  wait "$player"
  grep -qx "status 0" "$check/window/result" ||
    fail "the window under Wine did not end with status 0: $(tr '\n' ' ' <"$check/window/result")"
  say "the window opened under Wine and a key ended it with status 0"
}

# The whole program's checks: the golden list by zemra-golden.exe and the
# tests that need no POSIX.
check_build() {
  local wine=scripts/wine-run.sh check="$out/check"
  $wine "$out/zemra-golden.exe" tests/golden/show_frames.txt >"$check/golden.log" 2>&1 ||
    fail "the golden frames differ under Wine: $(tr -d '\r' <"$check/golden.log" | tail -5)"
  say "golden frames under Wine: $(tr -d '\r' <"$check/golden.log" | grep . | tail -1)"

  # The tests of the areas that need no POSIX, under Wine.
  ctest --preset windows
}

case "$mode" in
  build) ;;
  test)
    check_program
    check_build
    ;;
  test-exe) check_program ;;
  zip) make_zip ;;
esac
