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

# On a loaded machine Wine's server has once dropped a program's connection
# ("wine client error:0: recvmsg: Connection reset by peer") before the
# program ran. That is Wine failing, not the program: run it once more. The
# program's own messages still reach stderr as they are written.
errors=$(mktemp)
trap 'rm -f "$errors"' EXIT
for attempt in 1 2; do
  # stdout goes straight out; stderr goes through tee (pipefail keeps
  # Wine's status, tee does not fail).
  status=0
  { wine "$@" 2>&1 1>&3 3>&- | tee "$errors" >&2; } 3>&1 || status=$?
  if [ "$status" = 0 ] || [ "$attempt" = 2 ] || ! grep -q '^wine client error' "$errors"; then
    exit "$status"
  fi
  echo "wine-run: Wine lost its server's connection; running $1 once more" >&2
done
