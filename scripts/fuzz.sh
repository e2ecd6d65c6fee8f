#!/usr/bin/env bash
# Builds the libFuzzer targets (the fuzz preset) and runs each on its seeds
# from tests/fuzz/corpus for SECONDS (default 30), or only the targets named.
# New inputs collect in build/fuzz/corpus/TARGET and carry over to the next
# run; an input that fails lands in build/fuzz/findings/ and ends the run
# with status 1.
#   scripts/fuzz.sh [SECONDS] [TARGET...]
set -euo pipefail
cd "$(dirname "$0")/.."
script_name=fuzz
# shellcheck source=scripts/common.sh
source scripts/common.sh

seconds=${1:-30}
shift || true
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for seeds in tests/fuzz/corpus/*/; do targets+=("$(basename "$seeds")"); done
fi

# The targets that play the whole show embed the resources of the native
# build (made here unless they are there and up to date already).
make_host_assets >/dev/null
cmake --preset fuzz -DZEMRA_HOST_ASSETS="$PWD/build/default/assets" >/dev/null
cmake --build --preset fuzz

mkdir -p build/fuzz/findings
for target in "${targets[@]}"; do
  mkdir -p "build/fuzz/corpus/$target"
  echo "fuzz: $target for $seconds s"
  # A target's dictionary of words, where it has one, steers the mutations.
  dict=()
  [ -f "tests/fuzz/$target.dict" ] && dict=(-dict="tests/fuzz/$target.dict")
  # New inputs go to the first folder; the seeds in the tree stay as they are.
  "build/fuzz/tests/fuzz/$target" -max_total_time="$seconds" -print_final_stats=1 -rss_limit_mb=2048 "${dict[@]}" \
    -artifact_prefix="build/fuzz/findings/$target-" "build/fuzz/corpus/$target" "tests/fuzz/corpus/$target" \
    2>"build/fuzz/$target.log" || { tail -n 60 "build/fuzz/$target.log" >&2; exit 1; }
  grep -E "stat::number_of_executed_units|Done [0-9]+ runs" "build/fuzz/$target.log" | tail -n 2 || true
done
