#!/usr/bin/env bash
# Times taking a run of 32,766 objects back against making it, in process, on missions of 1.5
# million objects in /dev/shm: short records; the same, with the run's output saved with LF line
# ends (as an editor may); and records that all carry a tree's full lines, so that every record
# is looked at closely.
#
# Usage: bench/takeback/take_back.sh [path/to/bosquell_take_back_bench] [rounds]
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
program=${1:-$root/build/release/bench/bosquell_take_back_bench}
rounds=${2:-9}
source "$root/bench/cli/missions.sh"

source "$root/bench/cli/require.sh"
require_program "$program" benchmark

shm=$(mktemp -d /dev/shm/bosquell-bench.XXXXXX)
trap 'rm -rf "$shm"' EXIT

# make_tree_mission FILE RECORDS: records with every line of a tree the run writes.
make_tree_mission() {
  awk -v records="$2" 'BEGIN {
    srand(1)
    printf "begin objects\r\n  num_items %d\r\nend objects\r\n\r\n", records
    for (i = 0; i < records; i++) {
      printf "begin item %d\r\n  id %d\r\n  type_id %d\r\n  position %d %d 0\r\n  facing %d 0\r\n", \
        i, i + 1, 1020 + int(rand() * 12), int(rand() * 524288) - 262144, \
        int(rand() * 524288) - 262144, int(rand() * 360)
      printf "  wpdistance 4\r\n  fov 180\r\n  obliqueness 15\r\n  waccuracy2 100\r\n"
      printf "  perception2 100\r\n  perfectionist2 100\r\n  movetimer 3\r\n  crouchtimer 3\r\n"
      printf "  shoottimer 5\r\n  attention 30\r\n  advancetimer 10\r\n  edistances 16 1024\r\n"
      printf "end item\r\n\r\n"
    }
  }' > "$1"
}

echo "load average: $(cut -d' ' -f1-3 /proc/loadavg)"
make_mission "$shm/short.mis" 1500000
"$program" "$shm/short.mis" "$rounds"
"$program" "$shm/short.mis" "$rounds" 32766 lf
rm "$shm/short.mis"
make_tree_mission "$shm/trees.mis" 1500000
"$program" "$shm/trees.mis" "$rounds"
echo "load average: $(cut -d' ' -f1-3 /proc/loadavg)"
