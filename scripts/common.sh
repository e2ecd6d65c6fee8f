# Sourced by the scripts that build, check and release the show, from the
# checkout's top folder. The caller sets script_name, the word its messages
# carry ("zemra NAME: ..."), and may set failure_mark ("FAILED: ") to make
# its failures stand out among its progress lines.

say() { echo "zemra $script_name: $*"; }

fail() {
  echo "zemra $script_name: ${failure_mark:-}$*" >&2
  exit 1
}

run_as_root() { if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi; }

# The version in CMakeLists.txt's project() line; a script cannot name its
# files without it.
zemra_version() {
  local version
  version=$(sed -n 's/^project(zemra VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
  [ -n "$version" ] || fail "no version in CMakeLists.txt"
  echo "$version"
}

# make_host_assets [TARGET...]: configures the native build (the default
# preset) and makes the pictures and music with its generators, plus the
# targets named. The cross builds and the fuzz targets embed these files
# rather than make their own.
make_host_assets() {
  cmake --preset default >/dev/null
  cmake --build --preset default --target zemra_generated_assets "$@"
}
