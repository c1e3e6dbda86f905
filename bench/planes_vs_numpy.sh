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

source "$here/side_by_side.sh"
side_by_side_out=$out side_by_side "$data" "$rows" planes "$reps" -- \
  "$cli" "${args[@]}" "$planes" -- "$python" "$here/numpy_planes.py" "$planes"
"$python" "$here/numpy_planes.py" "$planes" "$out"
rm -f "$out"
