#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for a bounded time
# (FUZZ_SECONDS, 30 by default) from the corpus kept in fuzz/corpus. New
# inputs found on the way go to the build folder, so the kept corpus stays
# small; a crash stops the run with the fuzzer's report and a non-zero exit.
set -euo pipefail
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD="$ROOT/build/fuzz"
SECONDS_EACH=${FUZZ_SECONDS:-30}

CC=clang CXX=clang++ cmake -S "$ROOT/fuzz" -B "$BUILD" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$BUILD" -j"$(nproc)"

for target in share_link_import_fuzzer http_response_fuzzer; do
  corpus="$ROOT/fuzz/corpus/${target%_fuzzer}"
  found="$BUILD/found/${target%_fuzzer}"
  mkdir -p "$found"
  log="$BUILD/$target.log"
  echo "fuzzing $target for ${SECONDS_EACH}s"
  if ! (cd "$BUILD" && "./$target" -max_total_time="$SECONDS_EACH" "$found" "$corpus" >"$log" 2>&1); then
    cat "$log"
    echo "$target failed; the input that did it is in $BUILD (crash-*, leak-*, timeout-*)"
    exit 1
  fi
  grep -E '^Done [0-9]+ runs' "$log" || tail -n 3 "$log"
done
