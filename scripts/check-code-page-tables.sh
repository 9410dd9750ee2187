#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Runs the code page data generator into a temporary folder and compares what it writes with the
# checked-in data. Exits 1 on any difference (and shows it), 2 when the generator fails.
#
#   scripts/check-code-page-tables.sh GENERATOR TABLES-DIR
#
# To bring the data up to date: GENERATOR text/tables
set -euo pipefail
[[ $# -eq 2 ]] || { echo "usage: $0 GENERATOR TABLES-DIR" >&2; exit 2; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$1" "$work" || exit 2
if ! diff -r "$2" "$work" >"$work.diff" 2>&1; then
  head -40 "$work.diff"
  rm -f "$work.diff"
  echo "code page data differs from its generator's output: run $1 $2" >&2
  exit 1
fi
rm -f "$work.diff"
echo "code page data: $(ls "$work" | wc -l) files as generated"
