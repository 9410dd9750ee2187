#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Renders the main window (with the bundled example chosen) and the About box of the desktop
# tool offscreen into docs/main-window.png, docs/main-window-de.png (in German) and
# docs/about-box.png.
#   scripts/screenshots.sh [BUILD_DIR]     (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build}"
tool="$build/velmar2tmx-screenshots"
if [[ ! -x "$tool" ]]; then
  cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release
  cmake --build "$build" -j2 --target velmar2tmx-screenshots
fi
# Show the example under a plain path, not the checkout's (a fresh folder if that one is taken).
work="/tmp/memories"
if ! mkdir "$work" 2>/dev/null; then work="$(mktemp -d)"; fi
trap 'rm -rf "$work"' EXIT
cp examples/sample.txt "$work/manual.txt"
mkdir -p docs
QT_QPA_PLATFORM=offscreen "$tool" docs "$work/manual.txt"
echo "written: docs/main-window.png docs/main-window-de.png docs/about-box.png"
