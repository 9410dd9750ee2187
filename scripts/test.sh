#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds and runs every test: once as released, once with AddressSanitizer and
# UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
jobs="$(nproc)"

cmake -S . -B build -DCMAKE_BUILD_TYPE=Release
cmake --build build -j"$jobs"
(cd build && ctest --output-on-failure -j"$jobs")

cmake -S . -B build-sanitize -DCMAKE_BUILD_TYPE=Debug -DVELMAR_SANITIZE=address,undefined \
      -DVELMAR_BUILD_BENCH=OFF
cmake --build build-sanitize -j"$jobs"
(cd build-sanitize && ctest --output-on-failure -j"$jobs")
