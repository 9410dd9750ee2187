#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds the Debian packages velmar2tmx-cli and velmar2tmx from a Release build in BUILD_DIR
# (default build/) into BUILD_DIR/packages/, and prints their paths.
# Install them with: sudo apt install ./build/packages/*.deb
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build}"
./scripts/install-deps.sh
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release
cmake --build "$build" -j"$(nproc)"
rm -rf "$build/packages"
(cd "$build" && cpack -G DEB -B "$PWD/packages" >/dev/null)
ls "$build"/packages/*.deb
