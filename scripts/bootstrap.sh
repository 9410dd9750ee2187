#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs what is missing, builds, and converts the bundled example.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release
cmake --build build -j"$(nproc)"
./build/velmar2tmx-cli -o build/sample.tmx examples/sample.txt
echo "Wrote build/sample.tmx"
