#!/usr/bin/env bash
# Builds tallyfox.exe, starts it under Wine on a private X display with a
# sample number list beside it, and takes a screenshot of its main window:
#   scripts/demo.sh            -> build/demo/main-window.png
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
root=$PWD

# The part that runs inside one Wine session (see the end of this file).
if [ "${1:-}" = --in-session ]; then
  folder=$2
  shot=$3
  tool=$root/build/windows/tests/e2e/window_tool.exe
  # Output to a file, never a pipe: Wine's helpers would inherit it.
  "$TALLYFOX_WINE" "$folder/tallyfox.exe" >"$folder/tallyfox.log" 2>&1 </dev/null &
  program_pid=$!
  if ! scripts/wine-run "$tool" wait Tallyfox 60; then
    echo "demo: the Tallyfox window did not appear" >&2
    kill "$program_pid" 2>/dev/null
    exit 1
  fi
  # The X server may show the painting a little later: wait for the pending
  # list's blue on screen before the shot that is kept.
  shown=
  for _ in $(seq 100); do
    import -window root "$shot"
    if [ "$(convert "$shot" -fill black +opaque 'rgb(128,128,255)' -format '%[fx:maxima.b>0]' info:)" = 1 ]; then
      shown=1
      break
    fi
    sleep 0.1
  done
  [ -n "$shown" ] || echo "demo: the pending list never showed its colour; keeping the last shot" >&2
  scripts/wine-run "$tool" close Tallyfox 30 || echo "demo: Tallyfox did not close in time" >&2
  wait "$program_pid" 2>/dev/null || true
  exit 0
fi

scripts/setup.sh
cmake --preset windows >/dev/null && cmake --build --preset windows

mkdir -p build/demo
shot=$root/build/demo/main-window.png
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

# An X display of our own, so the screenshot shows only Tallyfox.
for number in $(seq 150 199); do
  [ -e "/tmp/.X$number-lock" ] || [ -e "/tmp/.X11-unix/X$number" ] && continue
  Xvfb ":$number" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
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
rm -f "$shot"
scripts/wine-run "$0" --in-session "$folder" "$shot"
[ -s "$shot" ] || { echo "demo: no screenshot was taken" >&2; exit 1; }
echo "demo: screenshot of the main window: $shot"
