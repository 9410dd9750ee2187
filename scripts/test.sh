#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds and runs every test: once as released (then the Debian packages are built and checked
# unpacked, and the web page is built and tested in chromium against that build's command line), once with AddressSanitizer and UndefinedBehaviorSanitizer, the export tests once
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
./scripts/test-web.sh build

cmake -S . -B build-sanitize -DCMAKE_BUILD_TYPE=Debug -DVELMAR_SANITIZE=address,undefined \
      -DVELMAR_WERROR=ON -DVELMAR_BUILD_BENCH=OFF
cmake --build build-sanitize -j"$jobs"
(cd build-sanitize && ctest --output-on-failure -j"$jobs")

# The conversion on several threads under ThreadSanitizer: the tests that run exports.
cmake -S . -B build-tsan -DCMAKE_BUILD_TYPE=Debug -DVELMAR_SANITIZE=thread -DVELMAR_WERROR=ON \
      -DVELMAR_BUILD_UI=OFF -DVELMAR_BUILD_BENCH=OFF
cmake --build build-tsan -j"$jobs" --target velmar_core_tests velmar2tmx-cli
(cd build-tsan && ctest --output-on-failure -j"$jobs" \
   -R '^(Export|ExportThreads|ExportAllLanguages|ExportReport|Cli|CliBatch|CliLanguages|CliProcess)\.')

./scripts/fuzz.sh "${VELMAR_FUZZ_SECONDS:-60}"
