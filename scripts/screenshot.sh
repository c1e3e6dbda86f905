#!/usr/bin/env bash
# Takes the screenshot of Kelvane's window that the README shows.
# Usage: scripts/screenshot.sh <kelvane program> [<png file>]
#   e.g. scripts/screenshot.sh build/kelvane          (after make run)
#        scripts/screenshot.sh /usr/bin/kelvane       (the installed package)
# Builds nothing. Starts the program on a virtual X server at 96 dpi with the
# "." decimal separator, waits for its window, and takes just that window (no
# frame: the virtual server has no window manager) into the PNG file,
# docs/kelvane-window.png by default, without time stamps so that the same
# window gives the same file.
set -euo pipefail
program=${1:?usage: scripts/screenshot.sh <kelvane program> [<png file>]}
output=${2:-$(dirname "$0")/../docs/kelvane-window.png}
caption='Morvane in 3D space'

if [ -z "${KELVANE_SCREENSHOT_INSIDE:-}" ]; then
  KELVANE_SCREENSHOT_INSIDE=1 exec xvfb-run -a -s "-screen 0 1024x768x24 -dpi 96" \
    bash "$0" "$program" "$output"
fi

unset QT_QPA_PLATFORM
export LC_ALL=C.UTF-8
"$program" &
pid=$!
trap 'kill "$pid" 2>/dev/null || true; wait "$pid" 2>/dev/null || true' EXIT

window=
for _ in $(seq 1 100); do
  window=$(xdotool search --onlyvisible --name "^${caption}\$" 2>/dev/null | head -n 1 || true)
  [ -n "$window" ] && break
  kill -0 "$pid" 2>/dev/null || { echo "screenshot: $program ended before its window showed" >&2; exit 1; }
  sleep 0.1
done
[ -n "$window" ] || { echo "screenshot: no window '$caption' within 10 s" >&2; exit 1; }
# The first calculation runs as the window is shown; give the net time to paint.
sleep 1
import -window "$window" -strip -define png:exclude-chunks=date,time "$output"
echo "screenshot: $output ($(identify -format '%wx%h' "$output"))"
