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

if [[ ! -x $program ]]; then
  echo "no bosquell-cli at $program; build the release preset first" >&2
  exit 2
fi

shm=$(mktemp -d /dev/shm/bosquell-bench.XXXXXX)
disk=$(mktemp -d "${BENCH_DISK_DIR:-/var/tmp}/bosquell-bench.XXXXXX")
trap 'rm -rf "$shm" "$disk"' EXIT

# measure COMMAND...: sets wall_us to the command's wall-clock microseconds, from the shell's
# own clock, and cpu_us to the processor time (user and system) of the processes it ran, from
# the shell's `times`. On a busy machine the processor time is the steadier of the two. Both
# snapshots are taken by builtins only, so that no helper process is counted with the command.
children_cpu_us() {
  tail -n 1 "$1" | awk 'function us(t, m) { split(t, m, /[ms]/); return (m[1] * 60 + m[2]) * 1e6 }
    { printf "%d\n", us($1) + us($2) + 0.5 }'
}
measure() {
  times > "$shm/times.before"
  local start=$EPOCHREALTIME
  "$@" > /dev/null
  local stop=$EPOCHREALTIME
  times > "$shm/times.after"
  wall_us=$((${stop/./} - ${start/./}))
  cpu_us=$(($(children_cpu_us "$shm/times.after") - $(children_cpu_us "$shm/times.before")))
}
median() { printf '%s\n' "$@" | sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

run_cli() { "$program" --seed 1 --count 20 --theme Jungel -o "$2" "$1"; }
run_cli_sync() { run_cli "$1" "$2" && sync "$2"; }
cp_sync() { cp "$1" "$2" && sync "$2"; }

# compare LABEL MISSION BASELINE RUN: the two commands take turns, the baseline first in even
# rounds and second in odd ones, so that a busy moment of the machine favours neither.
compare() {
  local label=$1 mission=$2 baseline=$3 run=$4 dir
  dir=$(dirname "$mission")
  local base_wall=() base_cpu=() run_wall=() run_cpu=()
  cat "$mission" > /dev/null  # every command starts from a warm cache
  for ((round = 0; round < rounds; round++)); do
    rm -f "$dir/copy.mis" "$dir/out.mis"
    for turn in 0 1; do
      if (((round + turn) % 2 == 0)); then
        measure "$baseline" "$mission" "$dir/copy.mis"
        base_wall+=("$wall_us") base_cpu+=("$cpu_us")
      else
        measure "$run" "$mission" "$dir/out.mis"
        run_wall+=("$wall_us") run_cpu+=("$cpu_us")
      fi
    done
  done
  awk -v label="$label" -v size="$(wc -c < "$mission")" -v bname="$baseline" \
      -v bw="$(median "${base_wall[@]}")" -v rw="$(median "${run_wall[@]}")" \
      -v bc="$(median "${base_cpu[@]}")" -v rc="$(median "${run_cpu[@]}")" 'BEGIN {
    printf "%s, %.1f MB\n", label, size / 1e6
    printf "  wall clock: %-7s %8.2f ms  bosquell-cli %8.2f ms  ratio %.2f\n", bname, bw / 1e3, rw / 1e3, rw / bw
    printf "  processor:  %-7s %8.2f ms  bosquell-cli %8.2f ms  ratio %.2f\n", bname, bc / 1e3, rc / 1e3, rc / bc
  }'
  rm -f "$dir/copy.mis" "$dir/out.mis"
}

echo "bosquell-cli: $program; medians of $rounds rounds"
echo "load average: $(cut -d' ' -f1-3 /proc/loadavg)"
make_mission "$shm/large.mis" 1500000
make_mission "$shm/small.mis" 14000
cp "$shm/large.mis" "$disk/large.mis"
compare "109 MB mission, /dev/shm" "$shm/large.mis" cp run_cli
compare "109 MB mission, disk + sync" "$disk/large.mis" cp_sync run_cli_sync
compare "1 MB mission, /dev/shm" "$shm/small.mis" cp run_cli
echo "load average: $(cut -d' ' -f1-3 /proc/loadavg)"
