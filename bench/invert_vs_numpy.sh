#!/usr/bin/env bash
# kelvane-cli invert against numpy (bench/numpy_invert.py: the same methods
# written from their definitions) on the same focal mechanisms, side by side
# in one run. Usage: bench/invert_vs_numpy.sh [BUILD_DIR]
# (MECHANISMS=300 BOOTSTRAP=2000 REPS=3)
# Makes MECHANISMS mechanisms from a known stress plus noise
# (bench/make_mechanisms.py, fixed seed), then:
# 1. without bootstrap, both programs on the same data for faults and
#    mechanisms, linear and iterative (automatic friction): the largest angle
#    between their axes and difference of their stress ratios (goals 0.01
#    degrees and 1e-4);
# 2. REPS times in turn, `kelvane-cli invert --data mechanisms --friction auto
#    --bootstrap BOOTSTRAP` (all processors) and numpy_invert.py with the same
#    settings (its own random stream, the same number of replicates), each
#    whole process timed by /usr/bin/time: medians, fault-replicates per
#    second, peak resident memory and the ratio (goal <= 0.03);
# 3. REPS times in turn, kelvane-cli on one and on two threads (goal: two
#    threads <= 0.6 x one), and whether their outputs are the same bytes.
# numpy runs without OPENBLAS_CORETYPE and OPENBLAS_L2_SIZE, which this
# machine may set for old OpenBLAS builds and which slow a current one.
set -euo pipefail
build_dir=${1:-build}
count=${MECHANISMS:-300}
bootstrap=${BOOTSTRAP:-2000}
reps=${REPS:-3}
python=${PYTHON:-/usr/bin/python3}  # Debian's python3, which python3-numpy serves
here=$(cd "$(dirname "$0")" && pwd)
cli=$build_dir/kelvane-cli
[ -x "$cli" ] || { echo "invert_vs_numpy: build $cli first" >&2; exit 2; }
data=$build_dir/bench-data
mkdir -p "$data"
mechanisms=$data/mechanisms-$count.csv
[ -s "$mechanisms" ] || "$python" "$here/make_mechanisms.py" "$count" "$mechanisms"
numpy=(env -u OPENBLAS_CORETYPE -u OPENBLAS_L2_SIZE "$python" "$here/numpy_invert.py")
echo "numpy $("${numpy[@]:0:6}" -c 'import numpy; print(numpy.__version__)'), BLAS $(readlink -f /usr/lib/x86_64-linux-gnu/libblas.so.3 2>/dev/null || echo '?')"

echo "== agreement without bootstrap (angle between axes in degrees, |dPhi|, |dmu|)"
for kind in faults mechanisms; do
  for method in linear iterative; do
    "$cli" invert --data "$kind" --method "$method" "$mechanisms" >"$data/cli.csv" 2>/dev/null
    "${numpy[@]}" "$mechanisms" --data "$kind" --method "$method" >"$data/numpy.csv"
    echo "$kind $method: $("${numpy[@]}" --compare "$data/cli.csv" "$data/numpy.csv")"
  done
done | tee "$data/agreement.txt"
awk '{ if ($3 > a) a = $3; if ($4 > p) p = $4 } END {
  printf "worst: axes %.3g degrees (goal 0.01), Phi %.3g (goal 1e-4)\n", a, p }' "$data/agreement.txt"

args=(invert --data mechanisms --friction auto --bootstrap "$bootstrap" "$mechanisms")
echo "== kelvane-cli (all processors) against numpy, $count mechanisms x $bootstrap replicates"
source "$here/side_by_side.sh"
side_by_side_out=$data/cli-bootstrap.csv side_by_side_goal=0.03 \
  side_by_side "$data" "$((count * bootstrap))" fault-replicates "$reps" -- \
  "$cli" "${args[@]}" -- "${numpy[@]}" "${args[@]:1}" --output /dev/null
echo "kelvane-cli: $(tail -1 "$data/cli-bootstrap.csv" | cut -d, -f14-18) (Phi interval, cones)"
"${numpy[@]}" "${args[@]:1}" | tail -1 | cut -d, -f14-18 | sed 's/^/numpy:       /;s/$/ (its own draws)/'

echo "== kelvane-cli on one and two threads"
: >"$data/t1.times"
: >"$data/t2.times"
for ((r = 1; r <= reps; r++)); do
  for threads in 1 2; do
    /usr/bin/time -f '%e %M %U %S' -o "$data/t" "$cli" "${args[@]}" --threads "$threads" \
      >"$data/out-$threads.csv" 2>/dev/null
    cat "$data/t" >>"$data/t$threads.times"
  done
  cmp -s "$data/out-1.csv" "$data/out-2.csv" || echo "outputs differ on 1 and 2 threads!"
done
one=$(cut -d' ' -f1 "$data/t1.times" | median)
two=$(cut -d' ' -f1 "$data/t2.times" | median)
# CPU time (user + system) too: on a machine that others load, the wall-clock
# ratio says how much of a second core the run got, the CPU time that the
# work is the same.
for threads in 1 2; do
  echo "$threads thread(s): wall $(cut -d' ' -f1 "$data/t$threads.times" | tr '\n' ' ')->" \
    "median $(cut -d' ' -f1 "$data/t$threads.times" | median) s," \
    "CPU median $(awk '{ print $3 + $4 }' "$data/t$threads.times" | median) s," \
    "peak RSS $(cut -d' ' -f2 "$data/t$threads.times" | median) KiB"
done
awk -v a="$one" -v b="$two" -v r="$((count * bootstrap))" 'BEGIN {
  printf "two / one: %.3f (goal <= 0.6); %.0f and %.0f fault-replicates/s\n", b / a, r / a, r / b }'
echo "load $(cut -d' ' -f1-3 /proc/loadavg)"
rm -f "$data/t" "$data/cli.csv" "$data/numpy.csv" "$data/out-1.csv" "$data/out-2.csv"
