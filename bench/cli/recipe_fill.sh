#!/usr/bin/env bash
# What an even draw of the largest run costs in a forest of 1,000 corners with a road of 100
# points through it, against a plain run of as many objects, on the 109 MB mission of 1.5
# million objects: an even count of 32,766 (a full fill, then that many chosen), and a fill, each
# also keeping clear of the mission's objects. Then the peak memory of each run. Missions and
# outputs live in /dev/shm.
#
# Usage: bench/cli/recipe_fill.sh [path/to/bosquell-cli] [rounds]
# Needs GNU time as /usr/bin/time (Debian package "time") for the memory figures.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
program=${1:-$root/build/release/src/cli/bosquell-cli}
rounds=${2:-9}
source "$root/bench/cli/missions.sh"
source "$root/bench/cli/timing.sh"

source "$root/bench/cli/require.sh"
require_program "$program"

work=$(mktemp -d /dev/shm/bosquell-fill.XXXXXX)
trap 'rm -rf "$work"' EXIT
timing_dir=$work

# forest_recipe FILE HOW [KEEP_CLEAR]: the forest with the road excluded, drawn "even" with HOW
# ("count = 32766" or "fill = true") at a spacing that holds about 35,000 or 32,000 trees.
forest_recipe() {
  awk -v how="$2" -v keep="${3:-0}" 'BEGIN {
    srand(1)
    spacing = (how ~ /fill/) ? 3.55 : 3.4
    printf "seed = 7\n[[layer]]\nmix = { 1017 = 3, 1134 = 1, 4075 = 0.5 }\n%s\n", how
    printf "pattern = \"even\"\nspacing = %s\nkeep-clear = %s\n", spacing, keep
    printf "  [[layer.area]]\n  polygon = ["
    # Corners at rising angles about the center, so that the outline never crosses itself.
    for (i = 0; i < 1000; i++) {
      angle = (i + 0.9 * rand()) * 6.283185307179586 / 1000
      radius = 420 + 80 * rand()
      printf "%s[%.2f, %.2f]", (i > 0 ? ", " : ""), radius * cos(angle), radius * sin(angle)
    }
    printf "]\n  [[layer.area]]\n  corridor = { points = ["
    for (i = 0; i < 100; i++) {
      x = -500 + i * 10.1
      printf "%s[%.1f, %.0f]", (i > 0 ? ", " : ""), x, 120 * sin(x / 90)
    }
    printf "], width = 6 }\n  exclude = true\n"
  }' > "$1"
}

forest_recipe "$work/count.toml" "count = 32766"
forest_recipe "$work/fill.toml" "fill = true"
forest_recipe "$work/count_clear.toml" "count = 32766" 0.5
forest_recipe "$work/fill_clear.toml" "fill = true" 0.5

plain() { "$program" --seed 1 --count 32766 --theme Jungel -o "$2" "$1"; }
even_count() { "$program" --recipe "$work/count.toml" -o "$2" "$1"; }
even_fill() { "$program" --recipe "$work/fill.toml" -o "$2" "$1"; }
count_clear() { "$program" --recipe "$work/count_clear.toml" -o "$2" "$1"; }
fill_clear() { "$program" --recipe "$work/fill_clear.toml" -o "$2" "$1"; }

# peak LABEL MISSION OPTION...: the largest resident set of one run, in MB.
peak() {
  /usr/bin/time -f '%M' "$program" "${@:3}" -o "$work/out.mis" "$2" 2>&1 >/dev/null | tail -n 1 |
    awk -v label="$1" '{ printf "  peak memory, %-22s %7.1f MB\n", label, $1 / 1024 }'
}

echo "bosquell-cli: $program; medians of $rounds rounds"
echo "load average: $(cut -d' ' -f1-3 /proc/loadavg)"
make_mission "$work/mission.mis" 1500000
"$program" --recipe "$work/fill.toml" -o "$work/out.mis" "$work/mission.mis" | grep filled
compare "even count of 32,766 in the forest" "$work/mission.mis" plain even_count
compare "even fill of the forest" "$work/mission.mis" plain even_fill
compare "even count, keeping clear 0.5" "$work/mission.mis" plain count_clear
compare "even fill, keeping clear 0.5" "$work/mission.mis" plain fill_clear
peak "plain" "$work/mission.mis" --seed 1 --count 32766 --theme Jungel
peak "even count" "$work/mission.mis" --recipe "$work/count.toml"
peak "even fill" "$work/mission.mis" --recipe "$work/fill.toml"
peak "even count, keeping clear" "$work/mission.mis" --recipe "$work/count_clear.toml"
peak "even fill, keeping clear" "$work/mission.mis" --recipe "$work/fill_clear.toml"
echo "load average: $(cut -d' ' -f1-3 /proc/loadavg)"
