#!/usr/bin/env bash
# What the arrangement of a mission's objects does to a run with --keep-clear: 32,766 objects
# added in a range of 1 x 1 user units around the origin, rules off, then --keep-clear 1000 (or
# 5) on, taking turns, on missions of one million objects arranged against the keep-clear
# questions: in the corners of the area grown by the distance but beyond it; in a band or on one
# exact circle about the area's center just beyond the distance, which the corners of the area
# reach into; on a circle so near that only 2% of the draws keep clear (the rule then asks for
# some 54 draws an object); on a quarter circle about a corner just within it; in clusters
# inside clusters just within it beside an edge; on a line along an edge; all at one spot. (Objects spread
# evenly over a large area: bench/cli/placement_rules.sh.) Each mission also runs with a
# keep-clear distance so short that no object is kept, which leaves the cost of reading the
# positions. Missions and outputs live in /dev/shm.
#
# Usage: bench/cli/keep_clear_arrangements.sh [path/to/bosquell-cli] [rounds] [objects]
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
program=${1:-$root/build/release/src/cli/bosquell-cli}
rounds=${2:-5}
objects=${3:-1000000}
source "$root/bench/cli/timing.sh"

source "$root/bench/cli/require.sh"
require_program "$program"

work=$(mktemp -d /dev/shm/bosquell-keep-clear.XXXXXX)
trap 'rm -rf "$work"' EXIT
timing_dir=$work

# arrangement FILE KIND DISTANCE: a mission of $objects item records arranged as KIND for the
# area [-256, 256] x [-256, 256] and a keep-clear distance of DISTANCE map units. Whole
# positions, as most missions hold, except where an arrangement needs every digit.
arrangement() {
  awk -v records="$objects" -v kind="$2" -v d="$3" 'BEGIN {
    srand(1)
    h = 256; pi = 3.14159265358979
    printf "begin objects\r\n  num_items %d\r\nend objects\r\n\r\n", records
    for (i = 0; i < records; i++) {
      u = rand(); v = rand(); exact = 0
      if (kind == "corners") {
        x = (u < 0.5 ? -1 : 1) * (h + d * (0.8 + 0.4 * (u < 0.5 ? u : u - 0.5)))
        y = (v < 0.5 ? -1 : 1) * (h + d * (0.8 + 0.4 * (v < 0.5 ? v : v - 0.5)))
      } else if (kind == "band" || kind == "circle" || kind == "tight") {
        r = kind == "band" ? d + 150 + 50 * v : kind == "tight" ? d + 40 : d + 200
        exact = kind == "circle"
        x = r * cos(2 * pi * u); y = r * sin(2 * pi * u)
      } else if (kind == "quarter") {
        x = h + (d - 1) * cos(pi / 2 * u); y = h + (d - 1) * sin(pi / 2 * u); exact = 1
      } else if (kind == "nested") {
        s = 64
        while (rand() >= 0.7 && s > 1e-6) s /= 300
        x = h + d - 1 - 64 + s * u; y = -32 + s * v; exact = 1
      } else if (kind == "line") {
        x = h + d - 1; y = -512 + 1024 * u
      } else {
        x = h + d - 1; y = 0
      }
      printf "begin item %d\r\n  id %d\r\n", i, i + 1
      if (exact) printf "  position %.17g %.17g 0\r\nend item\r\n", x, y
      else printf "  position %d %d 0\r\nend item\r\n", x < 0 ? -int(-x + 0.5) : int(x + 0.5), y < 0 ? -int(-y + 0.5) : int(y + 0.5)
    }
  }' > "$1"
}

keep_clear=1000
common=(--seed 1 --count 32766 --theme Jungel --range-x 1 --range-y 1)
rules_off() { "$program" "${common[@]}" -o "$2" "$1"; }
rules_on() { "$program" "${common[@]}" --keep-clear "$keep_clear" -o "$2" "$1"; }
read_only() { "$program" "${common[@]}" --keep-clear 0.000001 -o "$2" "$1"; }

echo "bosquell-cli: $program; medians of $rounds rounds; $objects objects a mission"
echo "load average: $(cut -d' ' -f1-3 /proc/loadavg)"
for case in corners:1000 band:1000 circle:1000 circle:5 tight:1000 quarter:1000 nested:1000 \
  line:1000 spot:1000; do
  kind=${case%%:*} keep_clear=${case##*:}
  arrangement "$work/mission.mis" "$kind" "$((keep_clear * 256))"
  compare "$kind, --keep-clear $keep_clear" "$work/mission.mis" rules_off rules_on
  compare "$kind, positions read, none kept" "$work/mission.mis" rules_off read_only
done
echo "load average: $(cut -d' ' -f1-3 /proc/loadavg)"
