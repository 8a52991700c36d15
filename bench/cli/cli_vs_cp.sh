#!/usr/bin/env bash
# Compares a whole bosquell-cli process with cp of the same mission: on a 109 MB mission in a
# RAM file system (/dev/shm), where flushing costs nothing and the difference is the program's
# own work; on the same mission on disk, each command followed by `sync FILE` of what it wrote;
# and on a 1 MB mission in /dev/shm, where starting the process counts most.
#
# Usage: bench/cli/cli_vs_cp.sh [path/to/bosquell-cli] [rounds]
# Default program: build/release/src/cli/bosquell-cli (cmake --preset release && cmake --build
# build/release). The disk case works in $BENCH_DISK_DIR, by default /var/tmp.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
program=${1:-$root/build/release/src/cli/bosquell-cli}
rounds=${2:-9}
source "$root/bench/cli/missions.sh"
source "$root/bench/cli/timing.sh"

source "$root/bench/cli/require.sh"
require_program "$program"

shm=$(mktemp -d /dev/shm/bosquell-bench.XXXXXX)
disk=$(mktemp -d "${BENCH_DISK_DIR:-/var/tmp}/bosquell-bench.XXXXXX")
trap 'rm -rf "$shm" "$disk"' EXIT
timing_dir=$shm

run_cli() { "$program" --seed 1 --count 20 --theme Jungel -o "$2" "$1"; }
run_cli_sync() { run_cli "$1" "$2" && sync "$2"; }
cp_sync() { cp "$1" "$2" && sync "$2"; }

echo "bosquell-cli: $program; medians of $rounds rounds"
echo "load average: $(cut -d' ' -f1-3 /proc/loadavg)"
make_mission "$shm/large.mis" 1500000
make_mission "$shm/small.mis" 14000
cp "$shm/large.mis" "$disk/large.mis"
compare "109 MB mission, /dev/shm" "$shm/large.mis" cp run_cli
compare "109 MB mission, disk + sync" "$disk/large.mis" cp_sync run_cli_sync
compare "1 MB mission, /dev/shm" "$shm/small.mis" cp run_cli
echo "load average: $(cut -d' ' -f1-3 /proc/loadavg)"
