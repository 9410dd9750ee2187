#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs the Debian packages this project needs, but only those that are missing.
set -euo pipefail
packages=(cmake g++ make libicu-dev icu-devtools qt6-base-dev qt6-l10n-tools qt6-translations-l10n
          libgtest-dev libgmock-dev
          libbenchmark-dev nlohmann-json3-dev libxml2-utils xvfb xauth fonts-dejavu-core
          # packages, man pages and metadata checks; the fuzz targets
          dpkg-dev help2man man-db groff-base appstream desktop-file-utils
          clang libclang-rt-dev libxml2-dev)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi
echo "Installing: ${missing[*]}"
sudo_cmd=()
[ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
"${sudo_cmd[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
