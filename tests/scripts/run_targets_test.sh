#!/usr/bin/env bash
# ./run.sh builds the program alone: the target it names (korvane_program)
# depends, directly or not, on no test or benchmark target, and does bring in
# the editor, its program folder and the programs it starts.
#   run_targets_test.sh <source dir> <build dir>
set -euo pipefail
src="$1" build="$2"
grep -qE '^korvane_build korvane_program$' "$src/run.sh" || { echo "run.sh does not build korvane_program alone"; exit 1; }
makefile="$build/CMakeFiles/Makefile2"
[ -f "$makefile" ] || { echo "not a Makefile build: skipped"; exit 77; }
# The "all" rules of the generated makefile: target folder -> the folders it needs.
closure="$(awk '
  /^[^ \t#].*\.dir\/all:/ {
    split($0, side, ":"); t = side[1]; n = split(side[2], d, " ")
    for (i = 1; i <= n; i++) if (d[i] ~ /\.dir\/all$/) deps[t] = deps[t] " " d[i]
  }
  END {
    todo[1] = "CMakeFiles/korvane_program.dir/all"; seen[todo[1]] = 1; k = 1; m = 1
    while (k <= m) {
      n = split(deps[todo[k]], d, " ")
      for (i = 1; i <= n; i++) if (!(d[i] in seen)) { seen[d[i]] = 1; todo[++m] = d[i] }
      k++
    }
    for (t in seen) print t
  }' "$makefile")"
for wanted in CMakeFiles/korvane.dir dist/CMakeFiles/korvane_program_folder.dir tools/CMakeFiles/dozur3.dir \
              tools/CMakeFiles/pixout.dir tools/CMakeFiles/vorlet.dir; do
  grep -q "^$wanted/all$" <<<"$closure" || { echo "korvane_program lacks $wanted"; echo "$closure"; exit 1; }
done
if grep -E '^(tests|bench)/' <<<"$closure"; then
  echo "korvane_program builds tests or benchmarks"
  exit 1
fi
echo "ok"
