#!/usr/bin/env bash
# Shows practice-find with a search result and its profile window under Xvfb and
# saves the screen to build/practice-find.png (or the file given).
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
out=${1:-$root/build/practice-find.png}
exe=$root/build/windows/practice-find.exe
driver=$root/build/windows/tools/practice-find/practice_find_selftest.exe
[ -f "$exe" ] && [ -f "$driver" ] || { echo "build practice-find and practice_find_selftest first" >&2; exit 1; }
# One Wine session: the driver leaves the windows open, the runner stops them afterwards.
"$root/scripts/wine-run" bash -c '
  "$TALLYFOX_WINE" "$1" "$2" --leave-open >"$3.driver.log" 2>&1 </dev/null || exit 1
  sleep 0.5  # let the last paint reach the X server
  import -window root "$3"
' screenshot "$driver" "$exe" "$out"
rm -f "$out.driver.log"
echo "$out"
