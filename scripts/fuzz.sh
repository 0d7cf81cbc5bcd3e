#!/usr/bin/env bash
# Builds the fuzz preset and runs each target for the given seconds (600 by
# default), one after the other, on its committed corpus. New inputs go to
# build/fuzz/corpus-<target> (libFuzzer writes only to the first corpus
# directory); a fault stops the run and leaves its input in build/fuzz/faults.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

seconds=${1:-600}
targets=(delay_fuzz split_fuzz import_roundtrip_fuzz)

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz

mkdir -p build/fuzz/faults
for target in "${targets[@]}"; do
  echo "== $target for ${seconds}s"
  mkdir -p "build/fuzz/corpus-$target"
  if ! "build/fuzz/fuzz/$target" -max_total_time="$seconds" -print_final_stats=1 \
      -artifact_prefix="build/fuzz/faults/$target-" \
      "build/fuzz/corpus-$target" "fuzz/corpus/$target"; then
    echo "fuzz: $target found a fault; the input is build/fuzz/faults/$target-*" >&2
    echo "fuzz: reproduce with build/fuzz/fuzz/$target <input>" >&2
    exit 1
  fi
done
