#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs the Debian packages this project needs, but only those that are missing.
set -euo pipefail
packages=(cmake g++ make libicu-dev icu-devtools qt6-base-dev qt6-l10n-tools qt6-translations-l10n
          libgtest-dev libgmock-dev
          libbenchmark-dev nlohmann-json3-dev libxml2-utils xvfb xauth fonts-dejavu-core
          # packages, man pages and metadata checks; the fuzz targets
          dpkg-dev help2man man-db groff-base appstream desktop-file-utils lintian
          clang libclang-rt-dev libxml2-dev
          # the report's segment accounts over a generated corpus
          python3
          # the Windows build and its tests under Wine; Windows' code page tables (libwine) that
          # the decoding is compared with
          g++-mingw-w64-x86-64-posix wine wine64 unzip
          # the web page: the WebAssembly compiler, and the browser of its tests
          emscripten chromium)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
# Node and npm: npm is installed only where the command is missing (a Node from another source
# brings its own npm, which Debian's npm package would conflict with).
command -v node >/dev/null || missing+=(nodejs)
command -v npm >/dev/null || missing+=(npm)
if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi
echo "Installing: ${missing[*]}"
sudo_cmd=()
[ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
"${sudo_cmd[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
