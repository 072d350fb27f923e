#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test through ctest on the
# offscreen Qt platform.
set -euo pipefail
source "$(dirname "$0")/scripts/setup.sh"
korvane_install
korvane_build
export QT_QPA_PLATFORM=offscreen
cd "$KORVANE_BUILD"
ctest --output-on-failure -j "$(nproc)" "$@"
