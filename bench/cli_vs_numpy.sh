#!/usr/bin/env bash
# kelvane-cli against numpy on the same random tensors, side by side in one run.
# Usage: bench/cli_vs_numpy.sh [BUILD_DIR]   (ROWS=1000000 REPS=5 by default)
# Makes ROWS tensors (bench/make_tensors.py, fixed seed), then REPS times in
# turn: `kelvane-cli tensors FILE > OUT` and `numpy_eigh.py FILE` (numpy.loadtxt
# and numpy.linalg.eigh), each whole process timed by /usr/bin/time. Prints
# the medians of wall-clock time, rows per second and peak resident memory,
# the ratio, and checks the eigenvalues of every row (numpy_eigh.py).
set -euo pipefail
build_dir=${1:-build}
rows=${ROWS:-1000000}
reps=${REPS:-5}
python=${PYTHON:-/usr/bin/python3}  # Debian's python3, which python3-numpy serves
here=$(cd "$(dirname "$0")" && pwd)
cli=$build_dir/kelvane-cli
[ -x "$cli" ] || { echo "cli_vs_numpy: build $cli first" >&2; exit 2; }
data=$build_dir/bench-data
mkdir -p "$data"
tensors=$data/tensors-$rows.csv
out=$data/cli-out-$rows.csv
[ -s "$tensors" ] || "$python" "$here/make_tensors.py" "$rows" "$tensors"

source "$here/side_by_side.sh"
side_by_side_out=$out side_by_side "$data" "$rows" rows "$reps" -- \
  "$cli" tensors "$tensors" -- "$python" "$here/numpy_eigh.py" "$tensors"
"$python" "$here/numpy_eigh.py" "$tensors" "$out"
rm -f "$out"
