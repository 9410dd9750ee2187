#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Checks the include layers: text/ <- inline/ <- engine/ <- cli/, ui/, web/. A folder never
# includes a higher one or a sibling front end, and engine/, inline/, text/ and web/ never
# include Qt. Prints every offending include
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

check text '"(inline|engine|cli|ui|web)/' "text/ includes a higher layer"
check inline '"(engine|cli|ui|web)/' "inline/ includes a higher layer"
check engine '"(cli|ui|web)/' "engine/ includes a higher layer"
check web '"(cli|ui)/' "web/ includes another front end"
for folder in engine inline text web; do
  check "$folder" '<Q' "$folder/ includes Qt"
done

if [[ $found -eq 0 ]]; then echo "layers: no violation"; fi
exit "$found"
