#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds the Windows command line with Debian's mingw-w64 cross compiler into build-windows/
# (velmar2tmx-cli.exe, linked statically) and packs it with cpack as
# build-windows/velmar2tmx-cli-VERSION-win64.zip (the program, README.txt, LICENSE.txt).
#
#   scripts/build-windows.sh [BUILD-DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-windows}
launcher=()
if command -v ccache >/dev/null; then launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache); fi
cmake -S . -B "$build" -DCMAKE_TOOLCHAIN_FILE=cmake/toolchains/mingw-w64-x86_64.cmake \
      -DCMAKE_BUILD_TYPE=Release -DVELMAR_WERROR=ON "${launcher[@]}" >/dev/null
cmake --build "$build" -j"$(nproc)" --target velmar2tmx-cli
(cd "$build" && cpack -G ZIP >/dev/null)
ls "$build"/velmar2tmx-cli-*-win64.zip
