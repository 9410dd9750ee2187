#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Converts a generated corpus and two larger files (many batches of units) with 1 thread and
# with 2, 3 and 8 threads, and compares every TMX file: the output must not depend on the
# number of threads.
#
#   scripts/compare-threads.sh CLI CORPUS-GENERATOR TXT-GENERATOR [COUNT]
set -euo pipefail
[[ $# -ge 3 ]] || { sed -n '7p' "$0" | sed 's/^# *//' >&2; exit 2; }
cli=$(realpath "$1") corpus=$(realpath "$2") maketxt=$(realpath "$3") count=${4:-300}
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

status=0
for threads in 2 3 8; do
  "$here/compare-builds.sh" -n "$count" -g "$corpus" -a "--threads 1" -b "--threads $threads" \
    "$cli" "$cli" | tail -n 1 || status=1
done
"$maketxt" "$work/plain.txt" 3000 >/dev/null
"$maketxt" "$work/rtf.txt" 3000 rtf >/dev/null
for txt in "$work/plain.txt" "$work/rtf.txt"; do
  for encoding in "" --utf16; do
    "$cli" -q $encoding --threads 1 -o "$work/one.tmx" "$txt"
    for threads in 2 3 8; do
      "$cli" -q $encoding --threads "$threads" -o "$work/many.tmx" "$txt"
      if ! cmp -s "$work/one.tmx" "$work/many.tmx"; then
        echo "$(basename "$txt") ${encoding:-utf8}: $threads threads differ from 1"
        status=1
      fi
    done
  done
done
[[ $status -eq 0 ]] && echo "thread counts 1, 2, 3, 8: identical output"
exit "$status"
