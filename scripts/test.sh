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

cmake --preset windows >/dev/null
cmake --build --preset windows
for lang in C.UTF-8 zh_CN.UTF-8; do
  echo "== Windows tests under LANG=$lang"
  (cd build/windows && LANG=$lang ../../scripts/wine-run ctest --output-on-failure --timeout 300)
done
