#!/usr/bin/env bash
# Draws the manual's pictures anew: the program, started on the sample
# estimate on Qt's offscreen platform, draws its main windows into PNG files
# in dist/help/ (main_window.png, calc_menu.png, options_dialog.png,
# print_dialog.png, reference_window.png, help_window.png). The next build puts them into the
# help collection. Look at them before committing.
set -euo pipefail
source "$(dirname "$0")/setup.sh"
korvane_install
korvane_build korvane_window_tests
KORVANE_HELP_PICTURES="$KORVANE_ROOT/dist/help" QT_QPA_PLATFORM=offscreen \
  "$KORVANE_BUILD/tests/korvane_window_tests" --gtest_filter='HelpPictures.*'
echo "Pictures written to $KORVANE_ROOT/dist/help/" >&2
