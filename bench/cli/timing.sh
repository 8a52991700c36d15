# Timing for the whole-process benchmarks; sourced by the scripts beside it, which set
# timing_dir (a folder for scratch files, best in /dev/shm) and rounds.

# measure COMMAND...: sets wall_us to the command's wall-clock microseconds, from the shell's
# own clock, and cpu_us to the processor time (user and system) of the processes it ran, from
# the shell's `times`. On a busy machine the processor time is the steadier of the two. Both
# snapshots are taken by builtins only, so that no helper process is counted with the command.
children_cpu_us() {
  tail -n 1 "$1" | awk 'function us(t, m) { split(t, m, /[ms]/); return (m[1] * 60 + m[2]) * 1e6 }
    { printf "%d\n", us($1) + us($2) + 0.5 }'
}
measure() {
  times > "$timing_dir/times.before"
  local start=$EPOCHREALTIME
  "$@" > /dev/null
  local stop=$EPOCHREALTIME
  times > "$timing_dir/times.after"
  wall_us=$((${stop/./} - ${start/./}))
  cpu_us=$(($(children_cpu_us "$timing_dir/times.after") - $(children_cpu_us "$timing_dir/times.before")))
}
median() { printf '%s\n' "$@" | sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

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
  awk -v label="$label" -v size="$(wc -c < "$mission")" -v bname="$baseline" -v rname="$run" \
      -v bw="$(median "${base_wall[@]}")" -v rw="$(median "${run_wall[@]}")" \
      -v bc="$(median "${base_cpu[@]}")" -v rc="$(median "${run_cpu[@]}")" 'BEGIN {
    printf "%s, %.1f MB\n", label, size / 1e6
    printf "  wall clock: %-7s %8.2f ms  %s %8.2f ms  ratio %.2f\n", bname, bw / 1e3, rname, rw / 1e3, rw / bw
    printf "  processor:  %-7s %8.2f ms  %s %8.2f ms  ratio %.2f\n", bname, bc / 1e3, rname, rc / 1e3, rc / bc
  }'
  rm -f "$dir/copy.mis" "$dir/out.mis"
}
