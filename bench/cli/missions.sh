# Mission files for the whole-process benchmarks; sourced by the scripts beside it.

# make_mission FILE RECORDS [LINE_END]: a mission of short item records, the positions drawn
# from a fixed seed. LINE_END is "\r\n" (the default) or "\n" for a mission whose line ends
# were converted, which the run takes line by line, adding a CR to each.
make_mission() {
  awk -v records="$2" -v eol="${3:-\\r\\n}" 'BEGIN {
    gsub(/\\r/, "\r", eol); gsub(/\\n/, "\n", eol)
    srand(1)
    printf "begin header%s  title Benchmark%send header%s%s", eol, eol, eol, eol
    printf "begin objects%s  num_items %d%send objects%s%s", eol, records, eol, eol, eol
    for (i = 0; i < records; i++) {
      printf "begin item %d%s  id %d%s  position %d %d 0%send item%s%s", i, eol, i + 1, eol, \
        int(rand() * 524288) - 262144, int(rand() * 524288) - 262144, eol, eol, eol
    }
  }' > "$1"
}

# The pipes below end when head has enough; yes ending on the closed pipe is no failure.
# make_single_line FILE MEGABYTES: text without any CR or LF, one line of that size.
make_single_line() {
  (set +o pipefail; yes '  position 123456 -654321 0 ' | tr -d '\n' | head -c "$(($2 * 1000 * 1000))") > "$1"
}

# make_long_count FILE DIGITS: a small mission whose count line holds a number of that many
# digits.
make_long_count() {
  {
    printf 'begin objects\r\n  num_items 1'
    (set +o pipefail; yes 0123456789 | tr -d '\n' | head -c "$(($2 - 1))")
    printf '\r\nend objects\r\n\r\nbegin item 0\r\n  id 1\r\nend item\r\n'
  } > "$1"
}
