#!/usr/bin/env bash
# Installs what is missing, builds, and starts the editor on the default program
# folder (build/korvane). An optional argument is an estimate file to open.
set -euo pipefail
source "$(dirname "$0")/scripts/setup.sh"
korvane_install
# The editor and what it needs only; ./test.sh builds the tests and benchmarks.
echo "Building the editor in $KORVANE_BUILD (the first build takes some minutes)..." >&2
korvane_build korvane_program
# The program takes the whole command line as the full path of one estimate:
# a path given relative to here is made absolute.
if [ $# -gt 0 ] && [ -e "$*" ]; then
  set -- "$(realpath -- "$*")"
fi
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  echo "No display (DISPLAY is not set): the editor runs under Xvfb, a virtual display that cannot be seen; to see it, run ./run.sh with DISPLAY set to your screen (e.g. DISPLAY=:0 ./run.sh)." >&2
  exec xvfb-run -a -s "-screen 0 1600x1000x24" "$KORVANE_BUILD/korvane/korvane" "$@"
fi
exec "$KORVANE_BUILD/korvane/korvane" "$@"
