#!/usr/bin/env bash
# Start-up of the real window against a minimal window holding one QChartView
# and an empty Qt window, the latter two as large as the real one: from exec to
# the end of the first painted frame, the process's CPU time and its peak
# resident memory (VmHWM) at that moment. All run on one virtual X server, in turn, RUNS times each
# (default 10); prints every start and the medians.
#
# The windows are started by the window benchmark's built-in probe
# (KELVANE_STARTUP_PROBE=window|chart|empty), so all three load the same
# executable and libraries.
# Usage: bench/startup.sh [path to window_bench]
# (The script runs itself again inside xvfb-run with --on-display.)
set -euo pipefail
on_display=
if [ "${1:-}" = --on-display ]; then
  on_display=1
  shift
fi
bench=${1:-build/bench/window_bench}
runs=${RUNS:-10}
[ -x "$bench" ] || {
  echo "startup: $bench not built (make bench builds it)" >&2
  exit 1
}

measure() {
  local kinds=(window chart empty) kind start line painted cpu rss
  # One untimed start of each first, so that every timed start finds the
  # libraries and fonts in the page cache.
  for kind in "${kinds[@]}"; do
    KELVANE_STARTUP_PROBE=$kind "$bench" >/dev/null 2>&1
  done
  for ((i = 1; i <= runs; ++i)); do
    for kind in "${kinds[@]}"; do
      start=$EPOCHREALTIME
      painted=
      cpu=
      rss=
      while read -r line; do
        case $line in
          painted*) painted=${line#painted } ;;
          cpu_ms*) cpu=${line#cpu_ms } ;;
          peak_rss_kib*) rss=${line#peak_rss_kib } ;;
        esac
      done < <(KELVANE_STARTUP_PROBE=$kind "$bench" 2>/dev/null)
      [ -n "$painted" ] || {
        echo "startup: the $kind probe reported no painted frame" >&2
        exit 1
      }
      awk -v k="$kind" -v s="$start" -v p="$painted" -v c="$cpu" -v r="$rss" \
        'BEGIN { printf "%s %.2f %.2f %.1f\n", k, (p - s) * 1000, c, r / 1024 }'
    done
  done
}

if [ -n "$on_display" ]; then
  measure
  exit
fi
xvfb-run -a -s "-screen 0 1024x768x24 -dpi 96" bash "$0" --on-display "$bench" | awk '
  {
    ms[$1] = ms[$1] " " $2; cpu[$1] = cpu[$1] " " $3; mib[$1] = mib[$1] " " $4
    printf "  %-7s %7.2f ms  cpu %7.2f ms  %6.1f MiB\n", $1, $2, $3, $4
  }
  function median(list,   v, n, i, j, t) {
    n = split(list, v, " ")
    for (i = 1; i <= n; ++i) for (j = i + 1; j <= n; ++j) if (v[j] + 0 < v[i] + 0) { t = v[i]; v[i] = v[j]; v[j] = t }
    return n % 2 ? v[(n + 1) / 2] : (v[n / 2] + v[n / 2 + 1]) / 2
  }
  END {
    w = median(ms["window"]); c = median(ms["chart"]); e = median(ms["empty"])
    rw = median(mib["window"]); rc = median(mib["chart"]); re = median(mib["empty"])
    cw = median(cpu["window"]); cc = median(cpu["chart"]); ce = median(cpu["empty"])
    printf "Median exec to first painted frame: window %.1f ms, one-chart window %.1f ms, empty window %.1f ms\n", w, c, e
    printf "Window / one-chart window: %.3f (goal <= 1.3)\n", w / c
    printf "Median CPU time to it: window %.1f ms, one-chart window %.1f ms, empty window %.1f ms; window / one-chart %.3f\n", cw, cc, ce, cw / cc
    printf "Peak RSS: window %.1f MiB, one-chart window %.1f MiB, empty window %.1f MiB; window / one-chart %.3f (goal <= 1.15)\n", rw, rc, re, rw / rc
  }'
