#!/usr/bin/env bash
# kelvane-cli fabric against numpy (bench/numpy_fabric.py: the same
# statistics, vectorized) on the same planes, side by side in one run.
# Usage: bench/fabric_vs_numpy.sh [BUILD_DIR]  (ROWS=1000000 REPS=3)
# Makes ROWS planes in three sets (bench/make_fabric.py, fixed seed), then
# REPS times in turn: `kelvane-cli fabric FILE > OUT` and `numpy_fabric.py
# FILE --out OUT2` (numpy.loadtxt, the statistics of the whole file and of
# each set, the rows written), each whole process timed by /usr/bin/time.
# Prints the medians and their ratio for equal work (kelvane-cli with
# --density none, numpy computing no density) and for kelvane-cli searching
# for each row's density maximum too, then checks every number against numpy
# to 1e-9 and the density maxima at their points.
set -euo pipefail
build_dir=${1:-build}
rows=${ROWS:-1000000}
reps=${REPS:-3}
python=${PYTHON:-/usr/bin/python3}  # Debian's python3, which python3-numpy serves
here=$(cd "$(dirname "$0")" && pwd)
cli=$build_dir/kelvane-cli
[ -x "$cli" ] || { echo "fabric_vs_numpy: build $cli first" >&2; exit 2; }
data=$build_dir/bench-data
mkdir -p "$data"
planes=$data/fabric-$rows.csv
out=$data/fabric-out-$rows.csv
numpy_out=$data/fabric-numpy-$rows.csv
[ -s "$planes" ] || "$python" "$here/make_fabric.py" "$rows" "$planes"
# A current numpy is slowed where OPENBLAS_CORETYPE is set for older builds:
# it is left out of numpy's command alone.
numpy=(env -u OPENBLAS_CORETYPE -u OPENBLAS_L2_SIZE "$python")
"${numpy[@]}" -c 'import re, numpy
maps = open("/proc/self/maps").read()
print("numpy", numpy.__version__, "with", " ".join(sorted(set(re.findall(r"\S*lib\w*blas\S*", maps)))))'

source "$here/side_by_side.sh"
echo "== equal work: kelvane-cli fabric --density none against numpy"
side_by_side "$data" "$rows" planes "$reps" -- \
  "$cli" fabric --density none "$planes" -- "${numpy[@]}" "$here/numpy_fabric.py" "$planes" --out "$numpy_out"
echo "== kelvane-cli fabric with the density maxima (numpy searches for none)"
side_by_side_out=$out side_by_side "$data" "$rows" planes "$reps" -- \
  "$cli" fabric "$planes" -- "${numpy[@]}" "$here/numpy_fabric.py" "$planes" --out "$numpy_out"
"${numpy[@]}" "$here/numpy_fabric.py" "$planes" --check "$out"
for density in none exponential-kamb; do
  for threads in 1 2; do
    /usr/bin/time -f "--density $density: %e s (%U s user, %S s system), peak RSS %M KiB on $threads thread(s)" \
      "$cli" fabric --density "$density" --threads "$threads" "$planes" >/dev/null
  done
done
rm -f "$out" "$numpy_out"
