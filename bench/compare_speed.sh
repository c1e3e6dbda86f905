#!/usr/bin/env bash
# The window benchmark and the start-up comparison of BASE and of the working
# tree, side by side: builds bench/window_bench.cpp against the layers of
# both (bench/revision), then runs the two in turn ROUNDS times (default 3).
# Usage: bench/compare_speed.sh [BASE]   (default: main)
set -euo pipefail
base=${1:-main}
rounds=${ROUNDS:-3}
root=$(git rev-parse --show-toplevel)
work=$(mktemp -d /tmp/kelvane-speed.XXXXXX)
trap 'rm -rf "$work"' EXIT

source "$root/bench/revision/build_sides.sh"
BuildSides "$base" window_bench "$work"

for ((round = 1; round <= rounds; ++round)); do
  for side in base head; do
    echo "== round $round, $side ($([ "$side" = base ] && echo "$base" || echo "working tree"))"
    QT_QPA_PLATFORM=offscreen "$work/build-$side/window_bench" --benchmark_repetitions=5 \
      --benchmark_enable_random_interleaving=true --benchmark_report_aggregates_only=true |
      sed -n '/^Median time per pass/,$p'
    RUNS=${RUNS:-5} bash "$root/bench/startup.sh" "$work/build-$side/window_bench" | tail -4
  done
done
