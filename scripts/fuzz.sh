#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds the libFuzzer targets with clang, AddressSanitizer and UndefinedBehaviorSanitizer in
# build-fuzz/ and runs them side by side, each for SECONDS (default 60; the test command gives
# 30, a longer search e.g. 600) from the seeds of tests/fuzz/seeds/.
# New inputs collect in build-fuzz/corpus-NAME/; a crash, a leak, a timeout or an ill-formed
# document ends the run with a failure and leaves the input as build-fuzz/NAME-crash-... .
# The blocks target starts from the export seeds: it makes each input into a file larger than
# the reader's 64 KB blocks and converts it on one thread and on several.
# Usage: scripts/fuzz.sh [SECONDS] [TARGET...]   (targets: segment export blocks)
#        scripts/fuzz.sh --build-only              (builds the targets, runs none)
set -euo pipefail
cd "$(dirname "$0")/.."
build_only=false
if [ "${1:-}" = --build-only ]; then build_only=true; fi
seconds="${1:-60}"
shift || true
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(segment export blocks)

cache=()
if command -v ccache >/dev/null; then cache=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache); fi
# Line tables only (-g1): enough for the stack traces of a report, and quicker to build.
CC=clang CXX=clang++ cmake -S . -B build-fuzz "${cache[@]}" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
      "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O2 -g1 -DNDEBUG" \
      -DVELMAR_SANITIZE=address,undefined -DVELMAR_BUILD_FUZZ=ON -DVELMAR_BUILD_UI=OFF \
      -DVELMAR_BUILD_TESTS=OFF -DVELMAR_BUILD_BENCH=OFF >/dev/null
cmake --build build-fuzz -j"$(nproc)" --target "${targets[@]/#/velmar-fuzz-}"
if $build_only; then exit 0; fi

# run_target NAME: fuzzes one target for the time given; its output goes to its log.
run_target() {
  local name=$1
  mkdir -p "build-fuzz/corpus-$name"
  local seeds="tests/fuzz/seeds/$name"
  [ -d "$seeds" ] || seeds=tests/fuzz/seeds/export
  build-fuzz/velmar-fuzz-"$name" -max_total_time="$seconds" -timeout=20 -rss_limit_mb=2560 \
      -max_len=8192 -dict=tests/fuzz/rtf_txt.dict -print_final_stats=1 -artifact_prefix="build-fuzz/$name-" \
      "build-fuzz/corpus-$name" "$seeds" 2>"build-fuzz/fuzz-$name.log"
}

# The targets run side by side (each takes one core), then each one's result is looked at.
pids=()
for name in "${targets[@]}"; do
  echo "fuzzing $name for $seconds s"
  run_target "$name" &
  pids+=($!)
done
failed=0
for i in "${!targets[@]}"; do
  name=${targets[$i]}
  if ! wait "${pids[$i]}"; then
    tail -n 40 "build-fuzz/fuzz-$name.log" >&2
    echo "fuzz target $name failed; the input is in build-fuzz/$name-*" >&2
    failed=1
    continue
  fi
  grep -E '^#[0-9]+ +DONE|stat::number_of_executed_units' "build-fuzz/fuzz-$name.log" || true
done
exit "$failed"
