#!/usr/bin/env bash
# Runs every test headless and prints ctest's summary; exits with ctest's status.
#
# The printing tests print on a real printer: a cups-pdf queue named PDF that
# is the server's default. When no CUPS scheduler runs, one is started here
# (as root) and stopped again on exit; a scheduler that was already running is
# left running, and its former default printer is restored on exit.
set -euo pipefail
build_dir=${1:-build}
export QT_QPA_PLATFORM=offscreen

queue=PDF
started_pid=
previous_default=

scheduler_running() {
  # lpstat -r exits 0 either way; only its text tells.
  lpstat -r 2>/dev/null | grep -q '^scheduler is running'
}

cleanup() {
  if [ -n "$previous_default" ]; then
    lpadmin -d "$previous_default" >/dev/null 2>&1 || true
  fi
  if [ -n "$started_pid" ]; then
    kill "$started_pid" 2>/dev/null || true
    wait "$started_pid" 2>/dev/null || true
  fi
}
trap cleanup EXIT

prepare_printer() {
  if ! command -v lpstat >/dev/null || ! command -v lpadmin >/dev/null; then
    echo "run-tests: CUPS client tools missing; the printing tests will be skipped." >&2
    return
  fi
  if ! scheduler_running; then
    if [ "$(id -u)" -ne 0 ] || [ ! -x /usr/sbin/cupsd ]; then
      echo "run-tests: no CUPS scheduler runs and none can be started here (needs root" \
        "and /usr/sbin/cupsd); the printing tests will be skipped." >&2
      return
    fi
    /usr/sbin/cupsd -f >/dev/null 2>&1 &
    started_pid=$!
    for _ in $(seq 1 100); do
      scheduler_running && break
      sleep 0.1
    done
    if ! scheduler_running; then
      echo "run-tests: the CUPS scheduler did not start within 10 s." >&2
      return
    fi
  fi
  local current output
  current=$(lpstat -d 2>/dev/null | sed -n 's/^system default destination: //p' || true)
  if ! output=$(lpadmin -p "$queue" -v cups-pdf:/ -E -m lsb/usr/cups-pdf/CUPS-PDF_opt.ppd 2>&1 &&
    lpadmin -d "$queue" 2>&1); then
    echo "run-tests: could not set up the cups-pdf queue $queue: $output" >&2
    return
  fi
  if [ -z "$started_pid" ] && [ -n "$current" ] && [ "$current" != "$queue" ]; then
    previous_default=$current
  fi
}

prepare_printer

status=0
ctest --test-dir "$build_dir" --output-on-failure -j "$(nproc)" --timeout 600 || status=$?
exit "$status"
