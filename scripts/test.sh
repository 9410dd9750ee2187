#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds and runs every test: once as released (then the Debian packages are built and checked
# unpacked), once with AddressSanitizer and UndefinedBehaviorSanitizer, the export tests once
# more with ThreadSanitizer, and the fuzz targets for a bounded time each (VELMAR_FUZZ_SECONDS,
# default 60).
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
jobs="$(nproc)"

cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DVELMAR_WERROR=ON -DVELMAR_BUILD_BENCH=ON
cmake --build build -j"$jobs"
(cd build && ctest --output-on-failure -j"$jobs")
./scripts/check-packages.sh build

# The sanitizer build also leaves out the SSE2 paths, so the tests run the plain ones (what a
# processor without SSE2 and the WebAssembly build run); the Release build runs the SSE2 ones.
cmake -S . -B build-sanitize -DCMAKE_BUILD_TYPE=Debug -DVELMAR_SANITIZE=address,undefined \
      -DVELMAR_WERROR=ON -DVELMAR_BUILD_BENCH=OFF -DVELMAR_SIMD=OFF
cmake --build build-sanitize -j"$jobs"
(cd build-sanitize && ctest --output-on-failure -j"$jobs")

# The conversion on several threads under ThreadSanitizer: the tests that run exports.
cmake -S . -B build-tsan -DCMAKE_BUILD_TYPE=Debug -DVELMAR_SANITIZE=thread -DVELMAR_WERROR=ON \
      -DVELMAR_BUILD_UI=OFF -DVELMAR_BUILD_BENCH=OFF
cmake --build build-tsan -j"$jobs" --target velmar_core_tests velmar2tmx-cli
(cd build-tsan && ctest --output-on-failure -j"$jobs" \
   -R '^(Export|ExportThreads|ExportAllLanguages|ExportReport|Cli|CliBatch|CliLanguages|CliProcess)\.')

./scripts/fuzz.sh "${VELMAR_FUZZ_SECONDS:-60}"
