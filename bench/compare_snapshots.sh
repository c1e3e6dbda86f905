#!/usr/bin/env bash
# Shows that two revisions draw the same: builds bench/revision/pass_snapshot
# against the layers of BASE and of the working tree, runs both offscreen and
# compares every step's stored points, Qt series and window grab, byte for byte.
# Usage: bench/compare_snapshots.sh [BASE]   (default: main)
set -euo pipefail
base=${1:-main}
root=$(git rev-parse --show-toplevel)
work=$(mktemp -d /tmp/kelvane-snapshots.XXXXXX)
trap 'rm -rf "$work"' EXIT

source "$root/bench/revision/build_sides.sh"
BuildSides "$base" pass_snapshot "$work"
for side in base head; do
  QT_QPA_PLATFORM=offscreen "$work/build-$side/pass_snapshot" "$work/out-$side"
done

steps=$(find "$work/out-base" -name '*.txt' | wc -l)
if diff -r "$work/out-base" "$work/out-head" >/dev/null; then
  echo "compare_snapshots: $steps steps, points, Qt series and grabs identical ($base vs working tree)"
else
  echo "compare_snapshots: differences ($base vs working tree):"
  diff -rq "$work/out-base" "$work/out-head" || true
  exit 1
fi
