#!/usr/bin/env bash
# Runs the Linux and the Windows bosquell-cli with the same fixed-seed option sets on one mission
# and fails unless both write byte-identical mission outputs and plots.
#
#   same_output.sh MISSION LINUX_CLI WINDOWS_COMMAND...
#
# WINDOWS_COMMAND is the Windows program with whatever runs it (Wine) in front. Both programs run
# in folders of their own with the same relative file names, since the plot's title names its
# output file. The recipe runs take every pattern in every shape: examples/forest.toml and
# patterns.toml beside this script.
set -euo pipefail
mission=$(realpath "$1")
linux_cli=$(realpath "$2")
shift 2
windows_cli=("$@")

option_sets=(
  "--theme Jungel --seed 7"
  "--id 1055 --count 5 --center-x -3 --range-x 2 --range-y 2 --seed 11"
  "--theme Zaire --count 12.5 --center-y -1.5 --range-x 2.5 --range-y 1.5 --seed 123"
  "--theme Snow --count 32766 --range-x 120 --range-y 80 --seed 0"
  "--theme Peru --count 300 --center-x 20 --range-x 60 --seed 4294967295"
  "--theme Georgia --count 400 --center-x 0.001 --range-x 30 --range-y 30 --keep-clear 0.7 --spacing 1.3 --seed 99"
  "--recipe forest.toml"
  "--recipe forest.toml --seed 2024"
  "--recipe patterns.toml"
  "--recipe patterns.toml --seed 3"
)

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/linux" "$work/windows"
cp "$mission" "$work/linux/mission.mis"
cp "$mission" "$work/windows/mission.mis"
# The same mission saved with LF line ends, which both read line by line.
tr -d '\r' <"$mission" >"$work/linux/mission_lf.mis"
cp "$work/linux/mission_lf.mis" "$work/windows/mission_lf.mis"
here=$(dirname "$(realpath "$0")")
for folder in linux windows; do
  cp "$here/../../examples/forest.toml" "$here/../../examples/terrain.png" "$here/patterns.toml" "$work/$folder/"
done

# run FOLDER INPUT COMMAND... OPTIONS...: one run on INPUT writing out.mis and out.svg in FOLDER.
run() {
  local folder=$1 input=$2
  shift 2
  rm -f "$folder/out.mis" "$folder/out.svg"
  if ! (cd "$folder" && "$@" -o out.mis --plot out.svg "$input" >stdout.txt 2>stderr.txt); then
    echo "failed in $folder: $*" >&2
    cat "$folder/stderr.txt" >&2
    return 1
  fi
}

failures=0
runs=()
for options in "${option_sets[@]}"; do runs+=("mission.mis $options"); done
runs+=("mission_lf.mis ${option_sets[5]}" "mission_lf.mis ${option_sets[8]}")
for options in "${runs[@]}"; do
  read -ra words <<<"$options"
  run "$work/linux" "${words[0]}" "$linux_cli" "${words[@]:1}"
  run "$work/windows" "${words[0]}" "${windows_cli[@]}" "${words[@]:1}"
  for file in out.mis out.svg; do
    if cmp -s "$work/linux/$file" "$work/windows/$file"; then
      echo "same $file: $options"
    else
      echo "DIFFERENT $file: $options" >&2
      cmp "$work/linux/$file" "$work/windows/$file" >&2 || true
      failures=$((failures + 1))
    fi
  done
done
# A run that kept clear, taken back from its output: both programs write the same copy, which is
# the mission again.
take_back=(--theme Georgia --count 400 --center-x 0.001 --range-x 30 --range-y 30 --keep-clear 0.7
  --spacing 1.3 --seed 99)
for folder in linux windows; do
  command=("$linux_cli")
  [[ $folder == windows ]] && command=("${windows_cli[@]}")
  if ! (cd "$work/$folder" && "${command[@]}" "${take_back[@]}" -o run.mis mission.mis >/dev/null &&
    "${command[@]}" --remove-run "${take_back[@]}" -o back.mis run.mis >/dev/null); then
    echo "failed to take the run back in $folder" >&2
    failures=$((failures + 1))
  fi
done
if cmp -s "$work/linux/back.mis" "$work/windows/back.mis" &&
  cmp -s "$work/linux/back.mis" "$work/linux/mission.mis"; then
  echo "same back.mis: --remove-run ${take_back[*]}"
else
  echo "DIFFERENT back.mis: --remove-run ${take_back[*]}" >&2
  failures=$((failures + 1))
fi
exit $((failures > 0))
