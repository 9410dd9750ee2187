#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Every text of the desktop tool has a finished translation in every Qt Linguist file of
# ui/translations: lupdate (qt6-l10n-tools) adds the program's current texts to a copy of each
# file, and lrelease must then count no unfinished or untranslated one.
#   scripts/check-translations.sh [SOURCE_DIR]
set -euo pipefail
src="${1:-$(dirname "$0")/..}"
bin=/usr/lib/qt6/bin
lupdate="$(command -v lupdate || echo "$bin/lupdate")"
lrelease="$(command -v lrelease || echo "$bin/lrelease")"
for tool in "$lupdate" "$lrelease"; do
  [[ -x "$tool" ]] || { echo "check-translations: $tool missing (qt6-l10n-tools)" >&2; exit 1; }
done
tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT
status=0
for ts in "$src"/ui/translations/*.ts; do
  cp "$ts" "$tmp/check.ts"
  "$lupdate" -silent -locations none "$src/ui" -ts "$tmp/check.ts" >/dev/null 2>&1
  out="$("$lrelease" "$tmp/check.ts" -qm "$tmp/check.qm")"
  if ! grep -q " 0 unfinished" <<<"$out" || grep -q "untranslated" <<<"$out"; then
    echo "check-translations: $(basename "$ts"): $(tail -1 <<<"$out")" >&2
    status=1
  fi
done
exit "$status"
