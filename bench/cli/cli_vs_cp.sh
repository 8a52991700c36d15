#!/usr/bin/env bash
# Compares a whole bosquell-cli process on a large mission with a plain cp of the same file.
# The command line should add nothing measurable to the copy the run has to make anyway.
#
# Usage: bench/cli/cli_vs_cp.sh [path/to/bosquell-cli] [item records]
# Default program: build/cli-release/src/cli/bosquell-cli (configure with -DCMAKE_BUILD_TYPE=Release).
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
program=${1:-$root/build/cli-release/src/cli/bosquell-cli}
records=${2:-1500000}
runs=5

if [[ ! -x $program ]]; then
  echo "no bosquell-cli at $program; build a Release configuration first" >&2
  exit 2
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mission=$work/large.mis

# A mission of short item records with CR LF line ends, the positions drawn from a fixed seed.
awk -v records="$records" 'BEGIN {
  srand(1)
  printf "begin header\r\n  title Benchmark\r\nend header\r\n\r\n"
  printf "begin objects\r\n  num_items %d\r\nend objects\r\n\r\n", records
  for (i = 0; i < records; i++) {
    printf "begin item %d\r\n  id %d\r\n  position %d %d 0\r\nend item\r\n\r\n", \
      i, i + 1, int(rand() * 524288) - 262144, int(rand() * 524288) - 262144
  }
}' > "$mission"

now() { date +%s%N; }

# Wall-clock time of the command, in nanoseconds.
elapsed() {
  local start
  start=$(now)
  "$@" > /dev/null
  echo $(($(now) - start))
}

size=$(wc -c < "$mission")
cat "$mission" > /dev/null  # every command starts from a warm cache
# The three commands take turns, so that a busy moment of the machine does not favour one of
# them; each keeps its best time. dd copies through user space in blocks, as the run must, while
# cp may leave the copy to the kernel.
#
# Every command writes a new file: replacing an existing output costs the run more on some file
# systems (ext4 writes the new file's blocks before a rename may replace the old one, so that a
# crash cannot leave an empty file), and that safety is measured separately.
cp_ns=0 dd_ns=0 cli_ns=0 replace_ns=0
for ((round = 0; round < runs; round++)); do
  rm -f "$work/copy.mis" "$work/dd.mis" "$work/out.mis"
  t=$(elapsed cp "$mission" "$work/copy.mis")
  ((cp_ns == 0 || t < cp_ns)) && cp_ns=$t
  t=$(elapsed dd if="$mission" of="$work/dd.mis" bs=256K status=none)
  ((dd_ns == 0 || t < dd_ns)) && dd_ns=$t
  t=$(elapsed "$program" --seed 1 --count 20 --theme Jungel -o "$work/out.mis" "$mission")
  ((cli_ns == 0 || t < cli_ns)) && cli_ns=$t
  t=$(elapsed "$program" --seed 1 --count 20 --theme Jungel -o "$work/out.mis" "$mission")
  ((replace_ns == 0 || t < replace_ns)) && replace_ns=$t
done

awk -v size="$size" -v records="$records" -v cp="$cp_ns" -v dd="$dd_ns" -v cli="$cli_ns" \
    -v replace="$replace_ns" -v runs="$runs" 'BEGIN {
  printf "mission:         %.1f MB, %d item records\n", size / 1e6, records
  printf "cp:              %.1f ms (best of %d)\n", cp / 1e6, runs
  printf "dd bs=256K:      %.1f ms (best of %d)\n", dd / 1e6, runs
  printf "bosquell-cli:    %.1f ms (best of %d), new output file\n", cli / 1e6, runs
  printf "bosquell-cli:    %.1f ms (best of %d), replacing an earlier output\n", replace / 1e6, runs
  printf "ratio to cp:     %.2f (new), %.2f (replacing)\n", cli / cp, replace / cp
  printf "ratio to dd:     %.2f (new)\n", cli / dd
}'
