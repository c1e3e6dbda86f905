#!/usr/bin/env bash
# What the tendency map adds to a pass with new input in the real window,
# offscreen, at the net's size and at QT_SCALE_FACTOR=2: the medians of
# BM_PassWithMap (None against the slip tendency; the pass alone and with its
# repaint), their ratios, and the mean time until the map is shown (it is
# made off the GUI thread). Usage: bench/map_pass.sh [BUILD_DIR] (default build).
set -euo pipefail
build=${1:-build}
reps=${REPS:-7}
make -C "$build" window_bench >/dev/null
for scale in 1 2; do
  echo "QT_SCALE_FACTOR=$scale"
  QT_QPA_PLATFORM=offscreen QT_SCALE_FACTOR=$scale "$build/bench/window_bench" \
    --benchmark_filter=BM_PassWithMap --benchmark_repetitions="$reps" \
    --benchmark_report_aggregates_only=true 2>/dev/null |
    sed 's/\x1b\[[0-9;]*m//g' |
    awk '/^BM_PassWithMap.*_median/ {
      split($1, n, "/"); key = n[2] "/" n[3]; t[key] = $2; shown[key] = $NF }
      END {
        for (r = 0; r <= 1; ++r) {
          what = r == 0 ? "pass alone" : "pass and repaint"
          printf "  %-17s none %8.0f us  map %8.0f us  ratio %.2f  map shown after %.1f ms\n",
                 what, t["0/" r], t["1/" r], t["1/" r] / t["0/" r], shown["1/" r]
        }
      }'
done
