#!/usr/bin/env bash
# Checks the files scripts/release.sh made in dist/ as the people who
# download them use them:
#  - the Debian package is installed with apt-get, its program, manual page
#    and desktop entry are checked, a short render from the installed program
#    must equal the build tree's byte for byte, and it is purged again,
#    leaving no file behind;
#  - the web bundle is unpacked into an empty folder and the page's browser
#    test runs against that folder, served by the project's server;
#  - the Windows zip is unpacked and its zemra.exe checked under Wine.
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
for file in "$deb" "$web" "$win" "$dist/SHA256SUMS"; do
  [ -f "$file" ] || fail "$file is missing: run scripts/release.sh"
done
(cd "$dist" && sha256sum --quiet -c SHA256SUMS) || fail "a file in dist/ does not match SHA256SUMS"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

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
manual=$(man -w 6 zemra) || fail "man -w 6 zemra finds no manual page"
say "  manual page: $manual"
desktop-file-validate /usr/share/applications/zemra.desktop || fail "the desktop entry is not valid"
say "  desktop entry: valid"
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
(cd tests/web && npm ci --no-audit --no-fund --loglevel=error)
node tests/web/page_test.mjs "$site" build/release-check/web || fail "the unpacked web page's test"

say "the Windows zip: unpacked and run under Wine"
mkdir "$work/windows" && unzip -q "$win" -d "$work/windows"
exe=$(find "$work/windows" -name zemra.exe | head -1)
[ -n "$exe" ] || fail "$win holds no zemra.exe"
bash scripts/windows.sh --test-exe "$exe" || fail "the unpacked zemra.exe under Wine"
say "every release file passed"
