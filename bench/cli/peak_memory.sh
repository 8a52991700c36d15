#!/usr/bin/env bash
# Peak resident memory of whole bosquell-cli runs on the worst cases for a line-by-line
# reader: one line of 200 MB, a 100 MB mission with LF line ends (each line gains a CR), a
# count line of 10 million digits, and an ordinary 109 MB mission for comparison;
# the long line once more with --plot, which reads the mission a second time for its positions.
# The files live in /dev/shm, whose pages are not counted in the process's memory.
#
# Usage: bench/cli/peak_memory.sh [path/to/bosquell-cli]
# Needs GNU time as /usr/bin/time (Debian package "time").
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
program=${1:-$root/build/release/src/cli/bosquell-cli}
source "$root/bench/cli/missions.sh"

source "$root/bench/cli/require.sh"
require_program "$program"
if [[ ! -x /usr/bin/time ]]; then
  echo "no /usr/bin/time; install the Debian package \"time\"" >&2
  exit 2
fi

work=$(mktemp -d /dev/shm/bosquell-memory.XXXXXX)
trap 'rm -rf "$work"' EXIT

# peak LABEL MISSION [OPTION...]: the largest resident set of one run, in MB.
peak() {
  local kilobytes
  kilobytes=$(/usr/bin/time -v "$program" --seed 1 --count 20 --theme Jungel "${@:3}" \
    -o "$work/out.mis" "$2" 2>&1 >/dev/null | awk -F': ' '/Maximum resident set size/ { print $2 }')
  awk -v label="$1" -v size="$(wc -c < "$2")" -v kb="$kilobytes" 'BEGIN {
    printf "%-34s %7.1f MB input  peak memory %7.1f MB\n", label, size / 1e6, kb / 1024
  }'
  rm -f "$work/out.mis" "$work/out.svg" "$2"
}

make_mission "$work/ordinary.mis" 1500000
peak "ordinary mission" "$work/ordinary.mis"
make_single_line "$work/single.mis" 200
peak "one line of 200 MB" "$work/single.mis"
make_single_line "$work/single.mis" 200
peak "one line of 200 MB, with --plot" "$work/single.mis" --plot "$work/out.svg"
make_mission "$work/lf.mis" 1480000 '\n'
peak "mission with LF line ends" "$work/lf.mis"
make_long_count "$work/count.mis" 10000000
peak "count line of 10 million digits" "$work/count.mis"
