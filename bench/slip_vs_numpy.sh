#!/usr/bin/env bash
# kelvane-cli planes --uncertainty against numpy (bench/numpy_slip.py: the
# same sampling and formulas, vectorized) on the same random planes, side by
# side in one run. Usage: bench/slip_vs_numpy.sh [BUILD_DIR]
# (ROWS=10000 REALIZATIONS=10000 REPS=3). Then the probabilities are compared
# within the Monte Carlo error, and kelvane-cli's time on 1 and 2 threads.
set -euo pipefail
build_dir=${1:-build}
rows=${ROWS:-10000}
realizations=${REALIZATIONS:-10000}
reps=${REPS:-3}
python=${PYTHON:-/usr/bin/python3}
here=$(cd "$(dirname "$0")" && pwd)
cli=$build_dir/kelvane-cli
[ -x "$cli" ] || { echo "slip_vs_numpy: build $cli first" >&2; exit 2; }
data=$build_dir/bench-data
mkdir -p "$data"
planes=$data/planes-$rows.csv
out=$data/slip-out-$rows.csv
[ -s "$planes" ] || "$python" "$here/make_planes.py" "$rows" "$planes"
# The state and spreads numpy_slip.py samples.
args=(planes --stress 60,40,25,5,-4,3 --pp 10 --mu 0.6 --realizations "$realizations"
      --uncertainty s1=normal:2,s2=normal:2,s3=normal:2,azimuth=uniform:10,pp=uniform:5,mu=normal:0.05)

source "$here/side_by_side.sh"
side_by_side_out=$out side_by_side_goal=0.1 side_by_side "$data" "$rows" planes "$reps" -- \
  "$cli" "${args[@]}" "$planes" -- "$python" "$here/numpy_slip.py" "$planes" "$realizations"
"$python" "$here/numpy_slip.py" "$planes" "$realizations" "$out"
for threads in 1 2; do
  /usr/bin/time -f "%e s, peak RSS %M KiB on $threads thread(s)" \
    "$cli" "${args[@]}" --threads "$threads" "$planes" >/dev/null
done
rm -f "$out"
