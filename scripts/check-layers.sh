#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Checks the include layers: text/ <- inline/ <- engine/ <- cli/, ui/. A folder never includes
# a higher one, and engine/, inline/ and text/ never include Qt. Prints every offending include
# and exits 1 when there is one.
#
#   scripts/check-layers.sh [SOURCE-DIR]   (default: the checkout this script belongs to)
set -euo pipefail

root=${1:-$(cd "$(dirname "$0")/.." && pwd)}
found=0

# check FOLDER PATTERN WHAT: reports the includes in FOLDER whose target matches PATTERN.
check() {
  local folder=$1 pattern=$2 what=$3 line
  [[ -d $root/$folder ]] || return 0
  while IFS= read -r line; do
    echo "layer violation ($what): ${line#"$root"/}"
    found=1
  done < <(grep -rnE --include='*.h' --include='*.hpp' --include='*.cpp' \
             "^[[:space:]]*#[[:space:]]*include[[:space:]]*$pattern" "$root/$folder" || true)
}

check text '"(inline|engine|cli|ui)/' "text/ includes a higher layer"
check inline '"(engine|cli|ui)/' "inline/ includes a higher layer"
check engine '"(cli|ui)/' "engine/ includes a higher layer"
for folder in engine inline text; do
  check "$folder" '<Q' "$folder/ includes Qt"
done

if [[ $found -eq 0 ]]; then echo "layers: no violation"; fi
exit "$found"
