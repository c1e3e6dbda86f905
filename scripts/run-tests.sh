#!/usr/bin/env bash
# Runs every test headless and prints ctest's summary.
set -euo pipefail
build_dir=${1:-build}
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "$build_dir" --output-on-failure -j "$(nproc)" --timeout 600
