#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds and runs every test, stage by stage, and ends with the time each stage took:
#   build     Release build (warnings are errors, benchmarks built)
#   release   every test of the Release build
#   packages  desktop file, metadata, man pages, hardening, Debian packages (check-packages.sh)
#   web       the web page built with emscripten and tested in headless chromium against the
#             Release command line (test-web.sh)
#   windows   the Windows command line built with mingw-w64 and tested under Wine against the
#             Release build (build-windows.sh, test-windows.sh)
#   sanitize  Debug build (-Og) with AddressSanitizer and UndefinedBehaviorSanitizer, every test;
#             the SSE2 paths are left out (-DVELMAR_SIMD=OFF), so the plain ones that a processor
#             without SSE2 and the WebAssembly build run are tested too
#   threads   the tests that run exports, under ThreadSanitizer (-Og; only their test files are
#             built)
#   fuzz      the fuzz targets side by side, VELMAR_FUZZ_SECONDS each (default 30); longer runs:
#             scripts/fuzz.sh SECONDS
# The first stage that fails ends the run. ccache is used when it is installed. A new stage is a
# function and one more "stage NAME FUNCTION" line at the end.
# What keeps a run on a fresh 2-core machine without a ccache cache short (about 1,050 s of
# processor time in all, printed at the end): the test programs' own code is compiled at -Og
# with precompiled headers (the code under test keeps each build's optimisation), the core
# tests in two unity batches, the sanitizer builds at -Og with line tables only, ctest starts
# the longest tests first, the Windows and fuzz runs use both processors, and the sanitizer,
# ThreadSanitizer and fuzz builds run in the background at the lowest priority from the end of
# the Release build on, in the processor time the tests and the packages, web and windows stages
# leave idle.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
jobs="$(nproc)"
cache=()
if command -v ccache >/dev/null; then cache=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache); fi

release_build() {
  cmake -S . -B build "${cache[@]}" -DCMAKE_BUILD_TYPE=Release -DVELMAR_WERROR=ON \
        -DVELMAR_BUILD_BENCH=ON
  cmake --build build -j"$jobs"
}

release() {
  (cd build && ctest --output-on-failure -j"$jobs")
}

packages() {
  ./scripts/check-packages.sh build
}

web() {
  ./scripts/test-web.sh build
}

windows() {
  ./scripts/build-windows.sh build-windows
  ./scripts/test-windows.sh build-windows/velmar2tmx-cli.exe build/velmar2tmx-cli \
      build/bench/velmar-make-corpus build/bench/velmar-make-txt examples/sample.txt 500
}

# The sanitizer builds keep line tables only (-g1): enough for the reports' stack traces, and
# much quicker to compile and link than full debugging information. They are optimised a little
# (-Og, GCC's level for code that is debugged: nearly -O1, which the sanitizers' own
# documentation suggests, and compiled about a third faster under them): the tests run several
# times faster than at -O0, and the reports still point at the right lines.
# A sanitizer's allocator ends the process when memory runs out instead of throwing, so the
# process test of running out of memory under an address-space limit runs in the release stage
# only (the engine's fault-injection tests cover every thread in every stage).
no_memory_limit='^CliProcess\.OutOfMemoryFailsOneFileOfABatch$'

sanitize_build() {
  cmake -S . -B build-sanitize "${cache[@]}" -DCMAKE_BUILD_TYPE=Debug "-DCMAKE_CXX_FLAGS_DEBUG=-Og -g1" \
        -DVELMAR_SANITIZE=address,undefined -DVELMAR_WERROR=ON -DVELMAR_BUILD_BENCH=OFF \
        -DVELMAR_SIMD=OFF
  cmake --build build-sanitize -j"$jobs"
}

sanitize() {
  await_build sanitize
  sanitize_build  # nothing left to do when the build ahead succeeded; its errors otherwise
  (cd build-sanitize && ctest --output-on-failure -j"$jobs" -E "$no_memory_limit")
}

# The conversion on several threads under ThreadSanitizer: the tests that run exports, and the
# code page tables built and read by several threads at once.
tsan_build() {
  cmake -S . -B build-tsan "${cache[@]}" -DCMAKE_BUILD_TYPE=Debug "-DCMAKE_CXX_FLAGS_DEBUG=-Og -g1" \
        -DVELMAR_SANITIZE=thread -DVELMAR_THREAD_TESTS_ONLY=ON \
        -DVELMAR_WERROR=ON -DVELMAR_BUILD_UI=OFF -DVELMAR_BUILD_BENCH=OFF
  cmake --build build-tsan -j"$jobs" --target velmar_core_tests velmar2tmx-cli
}

threads() {
  await_build threads
  tsan_build  # nothing left to do when the build ahead succeeded; its errors otherwise
  (cd build-tsan && ctest --output-on-failure -j"$jobs" \
     -R '^(Export|ExportThreads|ExportAllLanguages|ExportReport|Cli|CliBatch|CliLanguages|CliProcess)\.|/ExportCorpus\.|^CodePages\.TextOfEveryCodePageDecodesTheSameOnSeveralThreads$|^CodePageCatalogue\.IsOneCatalogueSharedByEveryThread$' \
     -E "$no_memory_limit")
}

fuzz_build() {
  ./scripts/fuzz.sh --build-only
}

fuzz() {
  await_build fuzz
  ./scripts/fuzz.sh "${VELMAR_FUZZ_SECONDS:-30}"
}

# The Release tests and the packages, web and windows stages leave a processor idle much of the
# time (tests that wait, chromium and Wine, single-threaded steps), so the builds of the later
# stages are started ahead of them, one after the other at the lowest priority, in the
# background. Each build ahead holds a lock (build/ahead-NAME.lock) until it ends, and the stage
# that needs it waits for that lock and then builds again: nothing is left to do when the build
# ahead succeeded, and a failure shows its errors there as it would have. The output of the
# builds ahead is in build/ahead-NAME.log.
ahead=(sanitize threads fuzz)
declare -A ahead_build=([sanitize]=sanitize_build [threads]=tsan_build [fuzz]=fuzz_build)
first_lock_fd=10
start_builds_ahead() {
  local i
  for i in "${!ahead[@]}"; do
    eval "exec $((first_lock_fd + i))>build/ahead-${ahead[$i]}.lock"
    flock "$((first_lock_fd + i))"
  done
  set -m  # the builds ahead get a process group of their own, ended with the run
  (
    renice -n 19 -p "$BASHPID" >/dev/null
    for i in "${!ahead[@]}"; do
      "${ahead_build[${ahead[$i]}]}" >"build/ahead-${ahead[$i]}.log" 2>&1 || true
      flock -u "$((first_lock_fd + i))"  # the stage that waits for this build may start
    done
  ) &
  ahead_pid=$!
  set +m
  trap 'kill -- "-$ahead_pid" 2>/dev/null || true' EXIT
  for i in "${!ahead[@]}"; do
    eval "exec $((first_lock_fd + i))>&-"  # the lock stays with the builds ahead
  done
}
await_build() {
  flock "build/ahead-$1.lock" true
}

stage_names=()
stage_seconds=()
stage_cpu=()

# Processor time (user and system, in seconds) of the finished children of this shell so far:
# on a busy machine a stage's processor time says more than its time on the clock. (Processes
# that leave their parent, such as Wine's server, are not counted.)
children_cpu() {
  local stat
  read -r -a stat <"/proc/$$/stat"
  echo $(((stat[15] + stat[16]) / $(getconf CLK_TCK)))
}

print_times() {
  echo "--- time per stage (on the clock, and processor time)"
  local i
  for i in "${!stage_names[@]}"; do
    printf '%-10s %5d s %6d s cpu\n' "${stage_names[$i]}" "${stage_seconds[$i]}" "${stage_cpu[$i]}"
  done
  printf '%-10s %5d s %6d s cpu\n' total "$SECONDS" "$(children_cpu)"
}

# stage NAME FUNCTION: runs the function (in a child shell, so that any failing command in it
# fails the stage) and notes its time; a failure prints the times so far and ends the run.
stage() {
  local name=$1 started=$SECONDS cpu_before status=0
  cpu_before=$(children_cpu)
  echo "=== $name"
  set +e
  (
    set -e
    "$2"
  )
  status=$?
  set -e
  stage_names+=("$name")
  stage_seconds+=($((SECONDS - started)))
  stage_cpu+=($(($(children_cpu) - cpu_before)))
  if [[ $status -ne 0 ]]; then
    print_times
    echo "test.sh: stage $name failed (status $status)" >&2
    exit "$status"
  fi
}

stage build release_build
start_builds_ahead
stage release release
stage packages packages
stage web web
stage windows windows
stage sanitize sanitize
stage threads threads
stage fuzz fuzz
print_times
echo "test.sh: every stage passed"
