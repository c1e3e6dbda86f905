#!/usr/bin/env bash
# Starts Kelvane. On a machine without a display (a bare server or container)
# it runs on a virtual X server so that the program still starts.
set -euo pipefail
program=${1:-build/kelvane}
if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  exec "$program"
fi
echo "run: no display found; starting Kelvane on a virtual X server (xvfb-run)." >&2
exec xvfb-run -a -s "-screen 0 1024x768x24 -dpi 96" "$program"
