#!/usr/bin/env bash
# kelvane-cli planes against numpy on the same random planes, side by side in
# one run. Usage: bench/planes_vs_numpy.sh [BUILD_DIR]  (ROWS=1000000 REPS=5)
# Makes ROWS planes (bench/make_planes.py, fixed seed), then REPS times in
# turn: `kelvane-cli planes ... FILE > OUT` and `numpy_planes.py FILE`
# (numpy.loadtxt and the same formulas vectorized), each whole process timed
# by /usr/bin/time. Prints the medians of wall-clock time, planes per second
# and peak resident memory, the ratio, and checks every number against numpy.
set -euo pipefail
build_dir=${1:-build}
rows=${ROWS:-1000000}
reps=${REPS:-5}
python=${PYTHON:-/usr/bin/python3}  # Debian's python3, which python3-numpy serves
here=$(cd "$(dirname "$0")" && pwd)
cli=$build_dir/kelvane-cli
[ -x "$cli" ] || { echo "planes_vs_numpy: build $cli first" >&2; exit 2; }
data=$build_dir/bench-data
mkdir -p "$data"
planes=$data/planes-$rows.csv
out=$data/planes-out-$rows.csv
[ -s "$planes" ] || "$python" "$here/make_planes.py" "$rows" "$planes"
# The state numpy_planes.py assesses.
args=(planes --stress 60,40,25,5,-4,3 --pp 10 --phi 31 --cohesion 0.5)

median() { sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

: >"$data/cli.times"
: >"$data/numpy.times"
for ((r = 1; r <= reps; r++)); do
  /usr/bin/time -f '%e %M' -o "$data/t" "$cli" "${args[@]}" "$planes" >"$out"
  cat "$data/t" >>"$data/cli.times"
  /usr/bin/time -f '%e %M' -o "$data/t" "$python" "$here/numpy_planes.py" "$planes"
  cat "$data/t" >>"$data/numpy.times"
done

cli_s=$(cut -d' ' -f1 "$data/cli.times" | median)
numpy_s=$(cut -d' ' -f1 "$data/numpy.times" | median)
cli_kb=$(cut -d' ' -f2 "$data/cli.times" | median)
numpy_kb=$(cut -d' ' -f2 "$data/numpy.times" | median)
echo "planes $rows, $reps repetitions, nproc $(nproc), load $(cut -d' ' -f1-3 /proc/loadavg)"
echo "kelvane-cli: times $(cut -d' ' -f1 "$data/cli.times" | tr '\n' ' ')"
echo "numpy:       times $(cut -d' ' -f1 "$data/numpy.times" | tr '\n' ' ')"
awk -v c="$cli_s" -v n="$numpy_s" -v r="$rows" -v ck="$cli_kb" -v nk="$numpy_kb" 'BEGIN {
  printf "kelvane-cli: median %.3f s, %.0f planes/s, peak RSS %.1f MiB\n", c, r / c, ck / 1024
  printf "numpy:       median %.3f s, %.0f planes/s, peak RSS %.1f MiB\n", n, r / n, nk / 1024
  printf "ratio kelvane-cli / numpy: %.3f (goal <= 0.25)\n", c / n }'
"$python" "$here/numpy_planes.py" "$planes" "$out"
rm -f "$out" "$data/t"
