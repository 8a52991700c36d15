#!/usr/bin/env bash
# Times bosquell-cli --remove-run against the run that it takes back, whole processes, on a
# mission of 1.5 million short records in /dev/shm: a run of 32,766 objects (theme Jungel, seed 1,
# the default area over the whole mission), and the same with --keep-clear 0.5, which the
# take-back draws again around the mission's objects less the run's. Each take-back reads the
# run's output; the run reads the mission.
#
# Usage: bench/takeback/take_back_cli.sh [path/to/bosquell-cli] [rounds]
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
program=${1:-$root/build/release/src/cli/bosquell-cli}
rounds=${2:-9}
source "$root/bench/cli/missions.sh"
source "$root/bench/cli/timing.sh"

source "$root/bench/cli/require.sh"
require_program "$program"

shm=$(mktemp -d /dev/shm/bosquell-bench.XXXXXX)
trap 'rm -rf "$shm"' EXIT
timing_dir=$shm

options=(--theme Jungel --count 32766 --seed 1)
run_cli() { "$program" "${options[@]}" -o "$2" "$1"; }
remove_run() { "$program" --remove-run "${options[@]}" -o "$2" "$shm/run.mis"; }

echo "bosquell-cli: $program; medians of $rounds rounds"
echo "load average: $(cut -d' ' -f1-3 /proc/loadavg)"
make_mission "$shm/large.mis" 1500000
for rules in "" "--keep-clear 0.5"; do
  options=(--theme Jungel --count 32766 --seed 1 $rules)
  run_cli "$shm/large.mis" "$shm/run.mis" > /dev/null
  compare "run ${rules:-without rules} and its take-back" "$shm/large.mis" run_cli remove_run
  remove_run - "$shm/back.mis" > /dev/null
  cmp -s "$shm/back.mis" "$shm/large.mis" || { echo "the take-back did not give the mission back" >&2; exit 1; }
  /usr/bin/time -f "  peak memory: take-back %M KB" "$program" --remove-run "${options[@]}" -o "$shm/back.mis" "$shm/run.mis" > /dev/null
  /usr/bin/time -f "  peak memory: run %M KB" "$program" "${options[@]}" -o "$shm/out.mis" "$shm/large.mis" > /dev/null
done
echo "load average: $(cut -d' ' -f1-3 /proc/loadavg)"
