#!/usr/bin/env bash
# The Qt map window with an 8192 x 8192 picture under examples/sample.mis and its forest, offscreen:
# the time from opening the recipe to the first paint, pan and zoom redraws, and the process's
# peak memory, for the PNG and the JPEG the background benchmark makes.
#
# Usage: bench/window/map_background.sh [build folder] [redraws]
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
build=${1:-$root/build/release}
redraws=${2:-40}
program=$build/bench/bosquell_map_background
source "$root/bench/cli/require.sh"
require_program "$program" benchmark
pictures=${TMPDIR:-/tmp}/bosquell-background-bench
if [[ ! -f $pictures.png || ! -f $pictures.jpg ]]; then
  # The benchmark makes both pictures the first time it runs.
  "$build/bench/bosquell_background_benchmarks" --benchmark_filter=Decode/jpeg >/dev/null
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# The example's recipe without its picture, to tell the picture's share.
sed '/^\[background\]/,/^opacity/d' "$root/examples/forest.toml" >"$work/forest-none.toml"
for extension in none png jpg; do
  # The example's recipe with the large picture over the same corners.
  [[ $extension == none ]] ||
    sed "s|^image = .*|image = \"$pictures.$extension\"|" "$root/examples/forest.toml" \
      >"$work/forest-$extension.toml"
  echo "== $extension"
  QT_QPA_PLATFORM=offscreen /usr/bin/time -v "$program" "$root/examples/sample.mis" \
    "$work/forest-$extension.toml" "$redraws" 2>"$work/time.txt"
  grep -E "Maximum resident|Elapsed" "$work/time.txt"
done
