#!/usr/bin/env bash
# Installs what is missing, builds, and starts the editor on the default program
# folder (build/korvane). An optional argument is an estimate file to open.
set -euo pipefail
source "$(dirname "$0")/scripts/setup.sh"
korvane_install
korvane_build
# The program takes the whole command line as the full path of one estimate:
# a path given relative to here is made absolute.
if [ $# -gt 0 ] && [ -e "$*" ]; then
  set -- "$(realpath -- "$*")"
fi
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  echo "No display found: starting under Xvfb." >&2
  exec xvfb-run -a -s "-screen 0 1600x1000x24" "$KORVANE_BUILD/korvane/korvane" "$@"
fi
exec "$KORVANE_BUILD/korvane/korvane" "$@"
