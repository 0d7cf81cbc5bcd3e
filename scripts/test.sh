#!/usr/bin/env bash
# Builds both presets and runs every test: the logic natively under the
# sanitizers, then the Windows layer and the whole program under Wine, once
# with a Western and once with a Chinese system code page.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

scripts/setup.sh

cmake --preset native >/dev/null
cmake --build --preset native
ctest --preset native
cmake --preset native-tsan >/dev/null
cmake --build --preset native-tsan --target unit_tests
ctest --preset native-tsan
scripts/fuzz.sh 20  # a brief run of each fuzz target; scripts/fuzz.sh alone runs them long

cmake --preset windows >/dev/null
cmake --build --preset windows

# A file system too small for a save, to show that a write failing midway
# leaves the old file whole.
small_disk=$(mktemp -d)
# A read-only program folder: tallyfox.exe and three progress files on a mount
# that refuses writes (Wine as root writes through attributes and permissions).
readonly_folder=$(mktemp -d)
cleanup() {
  as_root umount "$small_disk" 2>/dev/null || true
  rmdir "$small_disk" || true
  as_root umount "$readonly_folder" 2>/dev/null || true
  rmdir "$readonly_folder" || true
}
trap cleanup EXIT
as_root() { if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi; }
as_root mount -t tmpfs -o size=64k,mode=1777 tallyfox-small-disk "$small_disk"
export TALLYFOX_SMALL_DISK=$small_disk
as_root mount -t tmpfs -o size=32m,mode=1777 tallyfox-readonly "$readonly_folder"
cp build/windows/tallyfox.exe "$readonly_folder/"
printf '90001\r\n90002' >"$readonly_folder/已看过.txt"
printf '10001\r\n23456\r\n300007' >"$readonly_folder/未看过.txt"
printf '80001' >"$readonly_folder/已筛选.txt"
as_root mount -o remount,ro "$readonly_folder"
export TALLYFOX_READONLY_FOLDER=$readonly_folder

for lang in C.UTF-8 zh_CN.UTF-8; do
  echo "== Windows tests under LANG=$lang"
  (cd build/windows && LANG=$lang ../../scripts/wine-run ctest --output-on-failure --timeout 300)
done
