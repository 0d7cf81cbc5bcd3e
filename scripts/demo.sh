#!/usr/bin/env bash
# Builds Tallyfox and runs a short session under Wine on a private X display:
# the practice Find window beside Tallyfox, a run started, one number kept
# with F11, the run paused with F10, the window closed. It prints the three
# progress files and leaves screenshots in build/demo/:
#   1-main-window.png   both windows before the run
#   2-mid-run.png       a number searched, its profile open, one number kept
#   3-paused.png        after F10: the progress saved
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
root=$PWD
shots=$root/build/demo

# The Find window's place; Tallyfox is moved to its left, the profile window
# opens to its right, so that nothing overlaps on the 1280 x 720 screen.
find_at=322,150
tallyfox_x=24
tallyfox_y=180

# The part that runs inside one Wine session (see the end of this file).
if [ "${1:-}" = --in-session ]; then
  folder=$2
  tool=$root/build/windows/tests/e2e/window_tool.exe
  log=$folder/practice.log
  program_pid=
  practice_pid=

  say() { echo "demo: $*"; }
  tool() { scripts/wine-run "$tool" "$@"; }
  fail() {
    echo "demo: $*" >&2
    exit 1
  }
  # Whatever is still running when the session part ends, by its own PID.
  stop_started() {
    tool close Tallyfox 10 >/dev/null 2>&1 || true
    tool close 查找 10 >/dev/null 2>&1 || true
    for pid in $program_pid $practice_pid; do
      kill "$pid" 2>/dev/null || true
      wait "$pid" 2>/dev/null || true
    done
  }
  trap stop_started EXIT
  # Waits for a line in the practice window's log (LF line ends).
  wait_line() {
    for _ in $(seq 600); do
      [ -f "$log" ] && grep -qxF "$1" "$log" && return 0
      sleep 0.1
    done
    fail "the practice window never logged \"$1\""
  }
  shoot() {
    tool paint || true
    import -window root "$shots/$1"
    say "screenshot $shots/$1"
  }

  # Output to a file, never a pipe: Wine's helpers would inherit it.
  "$TALLYFOX_WINE" "$root/build/windows/practice-find.exe" --at "$find_at" --log "Z:${log//\//\\}" \
    >"$folder/practice-find.out" 2>&1 </dev/null &
  practice_pid=$!
  wait_line ready
  "$TALLYFOX_WINE" "$folder/tallyfox.exe" >"$folder/tallyfox.log" 2>&1 </dev/null &
  program_pid=$!
  tool wait Tallyfox 60 || fail "the Tallyfox window did not appear"
  tool move Tallyfox "$tallyfox_x" "$tallyfox_y" || fail "could not move the Tallyfox window"
  # Slow enough to follow: 0.3 s a step, 1 s to look at each search.
  tool delays 0.3 1.0 || fail "could not set the delays"

  # The X server may show the painting a little later: wait for the pending
  # list's blue on screen before the shot that is kept.
  shown=
  for _ in $(seq 100); do
    shoot 1-main-window.png >/dev/null
    if [ "$(convert "$shots/1-main-window.png" -fill black +opaque 'rgb(128,128,255)' -format '%[fx:maxima.b>0]' info:)" = 1 ]; then
      shown=1
      break
    fi
    sleep 0.1
  done
  [ -n "$shown" ] || echo "demo: the pending list never showed its colour; keeping the last shot" >&2
  say "screenshot $shots/1-main-window.png"

  say "Start: Tallyfox searches each number in the practice window"
  tool start
  wait_line "profile 12345"
  say "F11 while 12345's profile is open: it is kept"
  tool key F11
  tool wait-status 2 "筛选1个QQ!" 10 || fail "12345 was not kept"
  wait_line "profile 20088"
  shoot 2-mid-run.png
  say "F10: the run pauses and the progress is saved"
  tool key F10
  tool wait-status 1 "保存数据完成！" 10 || fail "F10 did not save"
  shoot 3-paused.png
  say "the instructions, from the pending list's menu"
  tool instructions 10 || fail "the instructions did not open"
  shoot 4-instructions.png
  tool close 使用说明 10 || fail "the instructions did not close"

  say "closing Tallyfox and the practice window"
  tool close Tallyfox 30 || fail "Tallyfox did not close in time"
  wait "$program_pid" 2>/dev/null || true
  program_pid=
  tool close 查找 30 || fail "the practice window did not close in time"
  wait "$practice_pid" 2>/dev/null || true
  practice_pid=
  exit 0
fi

scripts/setup.sh
cmake --preset windows >/dev/null && cmake --build --preset windows

mkdir -p "$shots"
folder=$(mktemp -d "${TMPDIR:-/tmp}/tallyfox-demo.XXXXXX")
xvfb_pid=

cleanup() {
  if [ -n "$xvfb_pid" ]; then
    kill "$xvfb_pid" 2>/dev/null
    wait "$xvfb_pid" 2>/dev/null
  fi
  rm -rf "$folder"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

cp build/windows/tallyfox.exe "$folder/"
# Made-up numbers, one a line, CR LF; Wine maps the UTF-8 file name.
printf '%s\r\n' 10001 10002 12345 20088 31415 52000 66666 70707 80011 90210 123456 2718281 \
  >"$folder/未看过.txt"

# An X display of our own, so the screenshots show only this session.
for number in $(seq 150 199); do
  [ -e "/tmp/.X$number-lock" ] || [ -e "/tmp/.X11-unix/X$number" ] && continue
  Xvfb ":$number" -screen 0 1280x720x24 -nolisten tcp >/dev/null 2>&1 &
  xvfb_pid=$!
  for _ in $(seq 100); do
    [ -e "/tmp/.X11-unix/X$number" ] && break
    kill -0 "$xvfb_pid" 2>/dev/null || break
    sleep 0.05
  done
  if [ -e "/tmp/.X11-unix/X$number" ]; then
    export DISPLAY=":$number"
    break
  fi
  xvfb_pid=
done
[ -n "${DISPLAY:-}" ] && [ -n "$xvfb_pid" ] || { echo "demo: could not start Xvfb" >&2; exit 1; }

# A Chinese system code page, as the program's users have.
export LANG=zh_CN.UTF-8
rm -f "$shots"/*.png
scripts/wine-run "$0" --in-session "$folder"

# The files are in the system code page (GBK); the numbers read the same in UTF-8.
for name in 已看过 未看过 已筛选; do
  echo "demo: $name.txt:"
  if [ -f "$folder/$name.txt" ]; then
    iconv -f GBK -t UTF-8 "$folder/$name.txt" | tr -d '\r' | sed 's/^/  /'
    echo
  else
    echo "  (not written)"
  fi
done
for shot in 1-main-window 2-mid-run 3-paused; do
  [ -s "$shots/$shot.png" ] || { echo "demo: no screenshot $shot.png was taken" >&2; exit 1; }
done
echo "demo: screenshots in $shots: 1-main-window.png, 2-mid-run.png, 3-paused.png, 4-instructions.png"
