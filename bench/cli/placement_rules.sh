#!/usr/bin/env bash
# What the placement rules cost: 32,766 objects added to a mission with both rules off, then
# with --keep-clear and --spacing on, taking turns; on the 109 MB mission of 1.5 million objects
# (all of them inside the area, so every one is kept for the keep-clear questions) and on one
# of 200,000. Then the peak memory of each run. Missions and outputs live in /dev/shm.
#
# Usage: bench/cli/placement_rules.sh [path/to/bosquell-cli] [rounds]
# Needs GNU time as /usr/bin/time (Debian package "time") for the memory figures.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
program=${1:-$root/build/release/src/cli/bosquell-cli}
rounds=${2:-9}
source "$root/bench/cli/missions.sh"
source "$root/bench/cli/timing.sh"

source "$root/bench/cli/require.sh"
require_program "$program"

work=$(mktemp -d /dev/shm/bosquell-rules.XXXXXX)
trap 'rm -rf "$work"' EXIT
timing_dir=$work

rules=(--keep-clear 0.5 --spacing 0.5)
rules_off() { "$program" --seed 1 --count 32766 --theme Jungel -o "$2" "$1"; }
rules_on() { "$program" --seed 1 --count 32766 --theme Jungel "${rules[@]}" -o "$2" "$1"; }

# peak LABEL MISSION [OPTION...]: the largest resident set of one run, in MB.
peak() {
  /usr/bin/time -f '%M' "$program" --seed 1 --count 32766 --theme Jungel "${@:3}" \
    -o "$work/out.mis" "$2" 2>&1 >/dev/null | tail -n 1 |
    awk -v label="$1" '{ printf "  peak memory, %-10s %7.1f MB\n", label, $1 / 1024 }'
}

echo "bosquell-cli: $program; medians of $rounds rounds; rules: ${rules[*]}"
echo "load average: $(cut -d' ' -f1-3 /proc/loadavg)"
for records in 1500000 200000; do
  make_mission "$work/mission.mis" "$records"
  compare "$records objects" "$work/mission.mis" rules_off rules_on
  peak "rules off" "$work/mission.mis"
  peak "rules on" "$work/mission.mis" "${rules[@]}"
done
echo "load average: $(cut -d' ' -f1-3 /proc/loadavg)"
