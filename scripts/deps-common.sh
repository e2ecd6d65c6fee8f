# Sourced by scripts/web-deps.sh and scripts/windows-deps.sh: what building
# a static library from the Debian source package of the installed version
# takes, for any target. The caller sets
#   script_name a word for messages ("web-deps", "windows-deps")
#   deps_target the platform, for messages ("WebAssembly", "Windows x64")
# and calls deps_begin FOLDER-NAME first.
#
# The libraries live outside the checkout, in
# ${ZEMRA_DEPS_CACHE:-$HOME/.cache/zemra-deps}/FOLDER-NAME, so that every
# checkout and every later run on this machine reuses them. Each library
# carries a stamp with the Debian source version it was built from and is
# built again only when that version changes. A lock keeps two checkouts
# from building into the same cache at once.

# say and run_as_root come from the shared file.
# shellcheck source=scripts/common.sh
source scripts/common.sh

# deps_begin FOLDER-NAME: sets root (the cache folder), prefix (where the
# libraries are installed) and jobs, and takes the cache's lock until the
# script ends.
deps_begin() {
  root="${ZEMRA_DEPS_CACHE:-$HOME/.cache/zemra-deps}/$1"
  prefix="$root/prefix"
  mkdir -p "$root/src" "$prefix"
  jobs=$(nproc)
  [ "$jobs" -gt 2 ] && jobs=2
  exec {deps_lock}>"$root/.lock"
  if ! flock -n "$deps_lock"; then
    say "another build is filling $root; waiting for it"
    flock "$deps_lock"
  fi
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

# The version of the installed binary package, or the source package's
# version apt offers when no binary package is named or installed.
wanted_version() {
  local package=$1 binary=${2:-}
  local installed=""
  if [ -n "$binary" ]; then
    installed=$(dpkg-query -W -f='${Version}' "$binary" 2>/dev/null || true)
  fi
  if [ -n "$installed" ]; then
    echo "$installed"
  else
    apt-cache showsrc "$package" | sed -n 's/^Version: //p' | head -1
  fi
}

# The source versions apt can fetch for a package, newest first.
offered_versions() {
  apt-cache showsrc "$1" | sed -n 's/^Version: //p' | sort -rV | uniq
}

# candidate_versions PACKAGE WANTED: WANTED when the mirror lists its
# source, then the other versions it lists, newest first (a mirror may list
# a version whose files it no longer has). A binary rebuild (+b1) shares its
# source with the version without the suffix.
candidate_versions() {
  local package=$1 wanted=${2%+b[0-9]*}
  if offered_versions "$package" | grep -qxF "$wanted"; then echo "$wanted"; fi
  offered_versions "$package" | grep -vxF "$wanted" || true
}

# fetch PACKAGE VERSION: unpacks its Debian source into $root/src and
# prints the tree's path; fails when apt cannot fetch it.
fetch() {
  local package=$1 version=$2
  # No epoch in the folder name: make cannot take a colon in a path.
  local dir="$root/src/$package-${version#*:}"
  if [ ! -d "$dir" ]; then
    local work="$root/src/.fetch-$package"
    rm -rf "$work" && mkdir -p "$work"
    (cd "$work" && apt-get source -q "$package=$version" >/dev/null 2>&1) || {
      rm -rf "$work"
      return 1
    }
    local tree
    tree=$(find "$work" -mindepth 1 -maxdepth 1 -type d | head -1)
    mv "$tree" "$dir"
    rm -rf "$work"
  fi
  echo "$dir"
}

# build_library SOURCE-PACKAGE BUILDER [INSTALLED-BINARY-PACKAGE [RECIPE]]:
# runs BUILDER on the unpacked source tree unless the stamp names the same
# version and recipe. With a binary package, the version is the one
# installed on this machine (so the library matches the native build's);
# else apt's newest. RECIPE names a way of building that differs from the
# plain one; changing it builds the library again.
build_library() {
  local package=$1 builder=$2 binary=${3:-} recipe=${4:-}
  local wanted stamp="$prefix/.$package.version"
  wanted=$(wanted_version "$package" "$binary")
  if [ -z "$wanted" ]; then
    say "apt knows no source package $package" >&2
    exit 1
  fi
  local key="$wanted${recipe:+ ($recipe)}"
  if [ -f "$stamp" ] && [ "$(head -1 "$stamp")" = "$key" ]; then
    return
  fi
  local dir="" version=""
  for version in $(candidate_versions "$package" "$wanted"); do
    if dir=$(fetch "$package" "$version"); then break; fi
    dir=""
  done
  if [ -z "$dir" ]; then
    say "apt-get source found no source of $package that it could fetch" >&2
    exit 1
  fi
  if [ "$version" != "${wanted%+b[0-9]*}" ]; then
    say "the source of $package $wanted is not on the mirror; building $version instead"
  fi
  say "building $package $version for $deps_target"
  # set -e holds inside the builder only outside an || list, hence the status.
  local status
  set +e
  (set -e; "$builder" "$dir") >"$root/$package.log" 2>&1
  status=$?
  set -e
  [ "$status" = 0 ] || {
    say "building $package failed; the log is $root/$package.log" >&2
    tail -20 "$root/$package.log" >&2
    exit 1
  }
  # The licence travels with the library (the Windows zip ships it).
  mkdir -p "$prefix/licences"
  cp "$dir/debian/copyright" "$prefix/licences/$package.txt"
  # The first line is what was asked for (the key), the second what was built.
  printf '%s\n%s\n' "$key" "$version" >"$stamp"
}
