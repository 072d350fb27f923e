#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test through ctest on the
# offscreen Qt platform.
#
#   ./test.sh [ctest options]              the normal build, in ./build
#   ./test.sh --sanitize [ctest options]   every test again, built with
#       AddressSanitizer and UndefinedBehaviorSanitizer in ./build-sanitize
#       (no benchmarks); any report fails the test that caused it
set -euo pipefail
ROOT="$(cd "$(dirname "$0")" && pwd)"
if [ "${1:-}" = "--sanitize" ]; then
  shift
  export KORVANE_BUILD="${KORVANE_SANITIZE_BUILD:-$ROOT/build-sanitize}"
  KORVANE_CMAKE_OPTIONS=(-DKORVANE_SANITIZE=ON -DKORVANE_BENCH=OFF)
  # Leaks are reported at exit; only those inside third-party libraries are
  # suppressed (tests/sanitizer/lsan.supp). Build-time tools run under the
  # sanitizers too.
  export ASAN_OPTIONS="detect_leaks=1:strict_init_order=1:check_initialization_order=1"
  export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
  export LSAN_OPTIONS="suppressions=$ROOT/tests/sanitizer/lsan.supp:print_suppressions=0"
fi
source "$ROOT/scripts/setup.sh"
korvane_install
korvane_build
export QT_QPA_PLATFORM=offscreen
cd "$KORVANE_BUILD"
ctest --output-on-failure -j "$(nproc)" "$@"
