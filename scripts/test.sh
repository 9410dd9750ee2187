#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds and runs every test: once as released (then the Debian packages are built and checked
# unpacked, the Windows command line is built and tested under Wine against this build, and the
# web page is built and tested in chromium against it), once with AddressSanitizer and
# UndefinedBehaviorSanitizer, the export tests once
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

./scripts/build-windows.sh build-windows
./scripts/test-windows.sh build-windows/velmar2tmx-cli.exe build/velmar2tmx-cli \
    build/bench/velmar-make-corpus build/bench/velmar-make-txt examples/sample.txt 500

cmake -S . -B build-sanitize -DCMAKE_BUILD_TYPE=Debug -DVELMAR_SANITIZE=address,undefined \
      -DVELMAR_WERROR=ON -DVELMAR_BUILD_BENCH=OFF
cmake --build build-sanitize -j"$jobs"
(cd build-sanitize && ctest --output-on-failure -j"$jobs")

# The conversion on several threads under ThreadSanitizer: the tests that run exports, and the
# code page tables built and read by several threads at once.
cmake -S . -B build-tsan -DCMAKE_BUILD_TYPE=Debug -DVELMAR_SANITIZE=thread -DVELMAR_WERROR=ON \
      -DVELMAR_BUILD_UI=OFF -DVELMAR_BUILD_BENCH=OFF
cmake --build build-tsan -j"$jobs" --target velmar_core_tests velmar2tmx-cli
(cd build-tsan && ctest --output-on-failure -j"$jobs" \
   -R '^(Export|ExportThreads|ExportAllLanguages|ExportReport|Cli|CliBatch|CliLanguages|CliProcess)\.|/ExportCorpus\.|^CodePages\.TextOfEveryCodePageDecodesTheSameOnSeveralThreads$|^CodePageCatalogue\.IsOneCatalogueSharedByEveryThread$')

./scripts/fuzz.sh "${VELMAR_FUZZ_SECONDS:-60}"
