#!/usr/bin/env bash
# kelvane-cli planes at their own depth (--gradients) against the same
# command on the same planes under one fixed state, side by side in one run.
# Usage: bench/depth_planes.sh [BUILD_DIR]  (ROWS=1000000 REPS=3)
# Makes ROWS planes (bench/make_planes.py, fixed seed) with a depth column
# (every depth from 500 to 4,500 m, in steps of 0.01 m, so that nearly every
# plane has a depth of its own), then REPS times in turn runs both commands,
# each whole process timed; prints each run's wall-clock seconds and the
# ratio of the medians.
set -euo pipefail
build_dir=${1:-build}
rows=${ROWS:-1000000}
reps=${REPS:-3}
python=${PYTHON:-/usr/bin/python3}
here=$(cd "$(dirname "$0")" && pwd)
cli=$build_dir/kelvane-cli
[ -x "$cli" ] || { echo "depth_planes: build $cli first" >&2; exit 2; }
data=$build_dir/bench-data
mkdir -p "$data"
planes=$data/planes-$rows.csv
deep=$data/planes-depth-$rows.csv
[ -s "$planes" ] || "$python" "$here/make_planes.py" "$rows" "$planes"
[ -s "$deep" ] || awk -F, 'NR == 1 { print $0 ",depth"; next }
  { printf "%s,%.2f\n", $0, 500 + ((NR * 7919) % 400000) / 100 }' "$planes" > "$deep"
fixed=(planes --stress 60,40,25,5,-4,3 --pp 10 --phi 31 --cohesion 0.5 "$deep")
depth=(planes --gradients sv=25,shmax=30,shmin=18,pp=10,azimuth=45 --phi 31 --cohesion 0.5
  "$deep")
seconds() {
  local start end
  start=$(date +%s.%N)
  "$@" > /dev/null
  end=$(date +%s.%N)
  "$python" -c "print(round($end - $start, 3))"
}
fixed_times=()
depth_times=()
for ((k = 0; k < reps; ++k)); do
  fixed_times+=("$(seconds "$cli" "${fixed[@]}")")
  depth_times+=("$(seconds "$cli" "${depth[@]}")")
done
median() { printf '%s\n' "$@" | sort -g | awk '{ a[NR] = $1 } END { print a[int((NR + 1) / 2)] }'; }
f=$(median "${fixed_times[@]}")
d=$(median "${depth_times[@]}")
echo "depth_planes: $rows planes, $reps runs each, $(nproc) threads"
echo "  one state:      ${fixed_times[*]} s (median $f)"
echo "  at their depth: ${depth_times[*]} s (median $d)"
echo "  ratio: $("$python" -c "print(round($d / $f, 2))") (goal <= 1.5)"
