#!/usr/bin/env bash
# Moving a corner of a drawn forest on the map, on a 109 MB mission of 1.5 million objects with
# 32,766 trees previewed: the shapes redrawn at each step of the drag, the release, and the time
# from the release until the preview drawn on its thread is handed over. Medians of the rounds.
#
# Usage: bench/map/preview.sh [path/to/bosquell_preview_bench] [rounds]
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
program=${1:-$root/build/release/bench/bosquell_preview_bench}
rounds=${2:-9}
source "$root/bench/cli/require.sh"
require_program "$program" benchmark
source "$root/bench/cli/missions.sh"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
make_mission "$work/large.mis" 1500000
"$program" "$work/large.mis" "$rounds"
