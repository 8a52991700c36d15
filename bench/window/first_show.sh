#!/usr/bin/env bash
# Times the window's first show against a minimal Qt Widgets window (a QMainWindow with one
# label) under Xvfb: whole processes, taking turns round after round, medians and their ratio.
#
# Usage: bench/window/first_show.sh [path/to/bosquell_first_show] [rounds]
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
program=${1:-$root/build/release/bench/bosquell_first_show}
rounds=${2:-21}
source "$root/bench/cli/require.sh"
require_program "$program" benchmark
program=$(realpath "$program")
command -v Xvfb >/dev/null || { echo "Xvfb is missing (Debian package xvfb)" >&2; exit 2; }

display=:$((90 + RANDOM % 100))
# -noreset: with no other client, Xvfb otherwise resets itself each time a program closes its
# connection (its keymap compiled anew by xkbcomp, its extensions set up again), some 80 ms of
# work on top of the end of one program and the start of the next. A desktop's display server
# keeps running between programs.
Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp -noreset >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null' EXIT
sleep 1
export DISPLAY=$display QT_QPA_PLATFORM=xcb
# Start in examples/, as ./scripts/run does: the lists show a folder with a mission in it.
cd "$root/examples"

elapsed_ms() {
  local start end
  start=$(date +%s%N)
  "$@" >/dev/null 2>&1
  end=$(date +%s%N)
  echo $(((end - start) / 1000))  # microseconds
}
median() { sort -n | awk '{v[NR] = $1} END {print v[int((NR + 1) / 2)]}'; }

# Warm the caches, and make sure both windows come up at all.
"$program" --minimal >/dev/null 2>&1 && "$program" >/dev/null 2>&1 ||
  { echo "$program could not show its window on $display" >&2; exit 1; }
bosquell=() minimal=()
for ((round = 0; round < rounds; round++)); do
  if ((round % 2 == 0)); then
    minimal+=("$(elapsed_ms "$program" --minimal)")
    bosquell+=("$(elapsed_ms "$program")")
  else
    bosquell+=("$(elapsed_ms "$program")")
    minimal+=("$(elapsed_ms "$program" --minimal)")
  fi
done
m=$(printf '%s\n' "${minimal[@]}" | median)
b=$(printf '%s\n' "${bosquell[@]}" | median)
awk -v m="$m" -v b="$b" -v n="$rounds" 'BEGIN {
  printf "first show, medians of %d: minimal window %.1f ms, Bosquell %.1f ms, ratio %.2f\n",
         n, m / 1000, b / 1000, b / m
}'
