# Sourced by the bench scripts that time kelvane-cli against numpy: runs two
# commands in turn, REPS times, each whole process timed by /usr/bin/time, and
# prints the medians of time, items per second and peak resident memory, and
# the ratio of the first to the second.
#
#   side_by_side DATA_DIR ITEMS UNIT REPS -- FIRST... -- SECOND...
# FIRST's standard output goes to $side_by_side_out when set (else nowhere).

median() { sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

side_by_side() {
  local data=$1 items=$2 unit=$3 reps=$4
  shift 4
  [ "$1" = "--" ] && shift
  local first=() second=()
  while [ $# -gt 0 ] && [ "$1" != "--" ]; do first+=("$1"); shift; done
  shift
  second=("$@")
  : >"$data/cli.times"
  : >"$data/numpy.times"
  for ((r = 1; r <= reps; r++)); do
    /usr/bin/time -f '%e %M' -o "$data/t" "${first[@]}" >"${side_by_side_out:-/dev/null}"
    cat "$data/t" >>"$data/cli.times"
    /usr/bin/time -f '%e %M' -o "$data/t" "${second[@]}"
    cat "$data/t" >>"$data/numpy.times"
  done
  local cli_s numpy_s cli_kb numpy_kb
  cli_s=$(cut -d' ' -f1 "$data/cli.times" | median)
  numpy_s=$(cut -d' ' -f1 "$data/numpy.times" | median)
  cli_kb=$(cut -d' ' -f2 "$data/cli.times" | median)
  numpy_kb=$(cut -d' ' -f2 "$data/numpy.times" | median)
  echo "$unit $items, $reps repetitions, nproc $(nproc), load $(cut -d' ' -f1-3 /proc/loadavg)"
  echo "kelvane-cli: times $(cut -d' ' -f1 "$data/cli.times" | tr '\n' ' ')"
  echo "numpy:       times $(cut -d' ' -f1 "$data/numpy.times" | tr '\n' ' ')"
  awk -v c="$cli_s" -v n="$numpy_s" -v r="$items" -v ck="$cli_kb" -v nk="$numpy_kb" -v u="$unit" -v g="${side_by_side_goal:-0.25}" 'BEGIN {
    printf "kelvane-cli: median %.3f s, %.0f %s/s, peak RSS %.1f MiB\n", c, r / c, u, ck / 1024
    printf "numpy:       median %.3f s, %.0f %s/s, peak RSS %.1f MiB\n", n, r / n, u, nk / 1024
    printf "ratio kelvane-cli / numpy: %.3f (goal <= %s)\n", c / n, g }'
  rm -f "$data/t"
}
