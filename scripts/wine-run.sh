#!/usr/bin/env bash
# Runs a Windows program under Wine in Zemra's own Wine prefix
# (build/windows/wine, or $WINEPREFIX when set), made on first use. Wine's
# installers for .NET and Gecko are not wanted, nor its debug chatter.
#
#   bash scripts/wine-run.sh PROGRAM.exe ARGUMENTS...
set -euo pipefail
repo="$(cd "$(dirname "$0")/.." && pwd)"
export WINEPREFIX="${WINEPREFIX:-$repo/build/windows/wine}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEARCH=win64
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  mkdir -p "$WINEPREFIX"
  wineboot --init >/dev/null 2>&1 || true
  wineserver --wait || true
fi
exec wine "$@"
