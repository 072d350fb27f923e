#!/usr/bin/env bash
# The build's copy of its files into the program folder (dist/program_files_copy.cmake):
# a missing file is made, one still as the previous build made it is renewed,
# one the program or the user changed is kept byte for byte.
#   program_folder_copy_test.sh <source dir>
set -euo pipefail
script="$1/dist/program_files_copy.cmake"
t="$(mktemp -d)"
trap 'rm -rf "$t"' EXIT
stage="$t/stage" prog="$t/prog" prev="$t/previous"
mkdir -p "$stage/DATA" "$prog"
copy() { cmake -DSTAGE="$stage" -DPREVIOUS="$prev" -DPROGRAM="$prog" -P "$script" >"$t/log" 2>&1; }
fail() { echo "FAILED: $*"; cat "$t/log"; exit 1; }

# First build: everything is made.
printf 'settings 1' >"$stage/KVSSYS.INI"
printf 'sample 1' >"$stage/DATA/サンプル見積.YZH"
printf 'base 1' >"$stage/KVTEXT.Y1"
copy
[ "$(cat "$prog/KVSSYS.INI")" = "settings 1" ] || fail "settings not made"
[ "$(cat "$prog/DATA/サンプル見積.YZH")" = "sample 1" ] || fail "sample not made"

# The program rewrites its settings, the user saves the sample; the base
# text stays as built. The next build offers new versions of all three.
printf 'settings saved at exit' >"$prog/KVSSYS.INI"
printf 'sample the user changed' >"$prog/DATA/サンプル見積.YZH"
printf 'settings 2' >"$stage/KVSSYS.INI"
printf 'sample 2' >"$stage/DATA/サンプル見積.YZH"
printf 'base 2' >"$stage/KVTEXT.Y1"
copy
[ "$(cat "$prog/KVSSYS.INI")" = "settings saved at exit" ] || fail "changed settings written over"
[ "$(cat "$prog/DATA/サンプル見積.YZH")" = "sample the user changed" ] || fail "changed sample written over"
[ "$(cat "$prog/KVTEXT.Y1")" = "base 2" ] || fail "unchanged base text not renewed"
grep -q "KVSSYS.INI was changed after the build made it" "$t/log" || fail "no note on the kept file"

# Still kept at the build after that; a deleted file is made again.
copy
[ "$(cat "$prog/DATA/サンプル見積.YZH")" = "sample the user changed" ] || fail "changed sample written over later"
rm "$prog/DATA/サンプル見積.YZH"
copy
[ "$(cat "$prog/DATA/サンプル見積.YZH")" = "sample 2" ] || fail "deleted sample not made again"
echo "ok"
