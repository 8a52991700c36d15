# Checks for the benchmark scripts; sourced by them.

# require_program PATH [WHAT]: ends the script (status 2) unless PATH is an executable, saying
# which preset builds it. WHAT names it in the message (bosquell-cli unless given).
require_program() {
  if [[ ! -x $1 ]]; then
    echo "no ${2:-bosquell-cli} at $1; build the release preset first" >&2
    exit 2
  fi
}
