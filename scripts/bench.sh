#!/usr/bin/env bash
# Builds the windows preset and runs every benchmark under Wine, then prints a
# table of medians, baselines measured in the same run, ratios and goals.
#   scripts/bench.sh            all of them (about ten minutes)
#   scripts/bench.sh --quick    fewer runs and no 1,000,000 import, to try it out
# Raw figures go to build/windows/bench/results.txt. Benchmarks are not tests:
# nothing here fails on a time.
set -uo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(cd "$here/.." && pwd)
build=$root/build/windows
results=$build/bench/results.txt
quick=${1:-}

cd "$root" || exit 1
cmake --preset windows >/dev/null || exit 1
cmake --build --preset windows --target tallyfox practice-find bench_driver bench_inprocess \
  bench_listbox_baseline bench_wait_baseline >/dev/null || exit 1

runs=5 slow=3 sizes="10000 100000 1000000" passes=20
if [ "$quick" = --quick ]; then runs=3 slow=1 sizes="10000 100000" passes=5; fi

driver="$build/bench/bench_driver.exe $build/tallyfox.exe $build/practice-find.exe $build/bench"
inprocess=$build/bench/bench_inprocess.exe
# One Wine session for all; each program's output goes to a file (a pipe
# around a Wine command can hang, design note §6).
session=$(mktemp)
cat >"$session" <<EOF
set -u
run() { echo "# \$*" >&2; "$here/wine-run" "\$@"; }
run $inprocess import $runs 10000 100000
run $inprocess import $slow 1000000
run $inprocess stages $slow 1000000
run $inprocess save $runs 100000
run $inprocess save $slow 1000000
run $driver import $runs ${sizes% 1000000}
$( [ "$sizes" != "${sizes% 1000000}" ] && echo "run $driver import $slow 1000000" )
run $driver startup $runs 100000 5
run $driver pacing $slow $passes 0.1 0.3
run $driver f10 $runs
EOF
mkdir -p "$(dirname "$results")"
export TALLYFOX_WINEPREFIX=${TALLYFOX_WINEPREFIX:-$build/wineprefix}
"$here/wine-run" bash "$session" >"$results" 2>"$results.log" </dev/null
rm -f "$session"

# ---- the table ----
value() { awk -v k="$1" '$1 == "RESULT" && $2 == k { print $3; exit }' "$results"; }
runs_of() { awk -v k="$1" '$1 == "RESULT" && $2 == k { sub(/.*runs: /, ""); print; exit }' "$results"; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (a == "" || b == "" || b + 0 == 0) print "-"; else printf "%.1f", a / b }'; }
meets() {  # value, operator, goal
  awk -v v="$1" -v op="$2" -v g="$3" 'BEGIN {
    if (v == "") { print "-"; exit }
    ok = (op == "<=") ? v + 0 <= g + 0 : v + 0 >= g + 0
    print ok ? "met" : "MISSED" }'
}
row() { printf '| %-46s | %10s | %10s | %7s | %-13s | %-6s |\n' "$@"; }

echo
echo "Tallyfox benchmarks — $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | xargs)," \
  "$(/usr/lib/wine/wine64 --version 2>/dev/null || wine --version)"
echo "Medians in ms unless stated; ratio = baseline / figure, both from this run."
echo
row "Figure" "median" "baseline" "ratio" "goal" "result"
row "------" "------" "--------" "-----" "----" "------"
for n in 10000 100000 1000000; do
  b=$(value import_baseline_$n)
  [ -z "$b" ] && [ $n -le 10000 ] && b=$(value inprocess_baseline_$n)
  goal="" op="<="
  [ $n = 100000 ] && goal=200
  [ $n = 1000000 ] && goal=2000
  for kind in startup_after_shown menu; do
    v=$(value import_${kind}_$n)
    [ -z "$v" ] && continue
    row "import $n, ${kind//_/ }" "$v" "${b:--}" "$(ratio "$b" "$v")" "${goal:+<= $goal}" \
      "$([ -n "$goal" ] && meets "$v" "$op" "$goal" || echo -)"
  done
  v=$(value import_startup_total_$n)
  [ -n "$v" ] && row "import $n, launch to status (start-up + import)" "$v" "" "" "" ""
  v=$(value inprocess_import_$n)
  [ -n "$v" ] && row "import $n, in process (ImportNumbersFromText)" "$v" "${b:--}" "$(ratio "$b" "$v")" \
    "${goal:+<= $goal}" "$([ -n "$goal" ] && meets "$v" "$op" "$goal" || echo -)"
  v=$(value import_startup_peak_working_set_mb_$n)
  [ -n "$v" ] && row "import $n, peak working set / pagefile MB" "$v" "$(value import_startup_peak_pagefile_mb_$n)" "" "" ""
done
r=$(ratio "$(value import_baseline_100000)" "$(value import_menu_100000)")
row "import 100000, times faster than baseline (menu)" "$r" "" "" ">= 5" "$(meets "$r" ">=" 5)"
for n in 100000 1000000; do
  goal=100; [ $n = 1000000 ] && goal=1000
  v=$(value save_$n)
  row "SaveProgress $n" "$v" "" "" "<= $goal" "$(meets "$v" "<=" $goal)"
done
nominal=$(value pass_nominal_ms)
for kind in tallyfox sleep waitms; do
  v=$(value pass_$kind)
  off=$(awk -v v="$v" -v n="$nominal" 'BEGIN { if (v == "") print ""; else printf "%.2f", (v - n) / n * 100 }')
  label="pass, $kind (nominal $nominal), % over"
  [ $kind = tallyfox ] && row "$label" "$v" "$(value pass_sleep)" "$off%" "<= 1 %" "$(meets "$off" "<=" 1)"
  [ $kind != tallyfox ] && row "$label" "$v" "" "$off%" "" ""
done
v=$(value f10_both)
row "F10 to worker ended and files written" "$v" "" "" "<= 50" "$(meets "$v" "<=" 50)"
v=$(value startup_shown_100000)
row "start-up to window shown, 100000 pending" "$v" "" "" "<= 500" "$(meets "$v" "<=" 500)"
row "start-up to import shown, 100000 pending" "$(value startup_status_100000)" "" "" "" ""
row "executable size, bytes" "$(value executable_bytes | cut -d. -f1)" "" "" "" ""
row "idle CPU, ms per s (Linux schedstat)" "$(value idle_cpu_ms_per_s)" "" "" "no polling" ""
echo
echo "Runs of each figure, the pass's line gaps and the import's stages: $results"
