#!/usr/bin/env bash
# Runs libFuzzer targets built in <build_dir> (make fuzz), each for <seconds>,
# one after another: scripts/fuzz.sh <build_dir> <seconds> [target...]
# Targets: read_number, format_number, stress, plane_file, case_file,
# cli_tensors, cli_planes, uncertainty (all by default). Each runs on
# a working corpus in <build_dir>/fuzz-corpus/<target> seeded from
# fuzz/corpus/<target>, which stays untouched. An input that fails a property
# is written to <build_dir>/fuzz-artifacts/<target>/; copied into
# fuzz/regressions/<target>/ it is replayed by the tests from then on.
# Prints each run's executions; exits non-zero when any run found a failure.
# scripts/fuzz.sh --max-len <target> prints the target's input length only
# (the replay tests check that every seed fits it).
set -euo pipefail
cd "$(dirname "$0")/.."

# Longest input worth mutating, per target: numbers long enough for the
# exact decision (800 digits) and the shortened quote; whole files for the
# readers (a case seed is 1,100-1,300 bytes, a table seed a few hundred: 4096
# leaves room to grow them); the fixed-size fields of format_number (10
# bytes) and stress (81); a command-line argument of a few items.
max_len() {
  case $1 in
    read_number | plane_file | case_file | cli_tensors | cli_planes) echo 4096 ;;
    format_number) echo 16 ;;
    stress) echo 96 ;;
    uncertainty) echo 512 ;;
    *)
      echo "fuzz: no input length for target $1" >&2
      exit 2
      ;;
  esac
}

if [ "${1:-}" = --max-len ]; then
  max_len "${2:?a target}"
  exit 0
fi

build_dir=${1:-build-fuzz}
seconds=${2:-60}
shift $(($# < 2 ? $# : 2))
targets=("$@")
if ((${#targets[@]} == 0)); then
  targets=(read_number format_number stress plane_file case_file cli_tensors cli_planes uncertainty)
fi

status=0
for target in "${targets[@]}"; do
  binary=$build_dir/fuzz/fuzz_$target
  corpus=$build_dir/fuzz-corpus/$target
  artifacts=$build_dir/fuzz-artifacts/$target
  log=$build_dir/fuzz-$target.log
  mkdir -p "$corpus" "$artifacts"
  len=$(max_len "$target")
  options=(-max_total_time="$seconds" -max_len="$len" -timeout=10
    -rss_limit_mb=4096 -print_final_stats=1 -artifact_prefix="$artifacts/")
  if [ -f "fuzz/$target.dict" ]; then
    options+=(-dict="fuzz/$target.dict")
  fi
  echo "fuzz: $target for $seconds s (log: $log)"
  if "$binary" "${options[@]}" "$corpus" "fuzz/corpus/$target" >"$log" 2>&1; then
    result=passed
  else
    result="FAILED (input in $artifacts)"
    status=1
  fi
  executions=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  echo "fuzz: $target $result after ${executions:-?} executions in $seconds s"
done
exit "$status"
