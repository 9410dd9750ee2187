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
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# One corpus file, as UTF-8 and as UTF-16 (with the options of its .args side file): converted
# once with 1 thread and then with 2, 3 and 8, each compared with the first (TMX bytes and exit
# status). Prints a line for what differs.
compare_one() {
  local txt=$1 name args=() encoding threads one many
  name=$(basename "$txt" .txt)
  if [[ -f ${txt%.txt}.args ]]; then read -r -a args <"${txt%.txt}.args"; fi
  for encoding in "" --utf16; do
    one=0
    "$CLI" -q "${args[@]}" $encoding --threads 1 -o "$WORK/$name.1.tmx" "$txt" >/dev/null 2>&1 ||
      one=$?
    for threads in 2 3 8; do
      many=0
      "$CLI" -q "${args[@]}" $encoding --threads "$threads" -o "$WORK/$name.n.tmx" "$txt" \
        >/dev/null 2>&1 || many=$?
      [[ $one == "$many" ]] ||
        echo "$name ${encoding:-utf8}: exit $one with 1 thread, $many with $threads"
      if [[ -e $WORK/$name.1.tmx || -e $WORK/$name.n.tmx ]] &&
         ! cmp -s "$WORK/$name.1.tmx" "$WORK/$name.n.tmx"; then
        echo "$name ${encoding:-utf8}: $threads threads differ from 1"
      fi
      rm -f "$WORK/$name.n.tmx"
    done
    rm -f "$WORK/$name.1.tmx"
  done
}
compare_some() {
  local txt
  for txt in "$@"; do compare_one "$txt"; done
}
export -f compare_one compare_some
export CLI=$cli WORK=$work

status=0
mkdir "$work/corpus"
"$corpus" "$work/corpus" "$count" 1 >/dev/null
find "$work/corpus" -name '*.txt' -print0 | sort -z |
  xargs -0 -n 25 -P "$(nproc)" bash -c 'compare_some "$@"' _ >"$work/differences"
files=$(find "$work/corpus" -name '*.txt' | wc -l)
if [[ -s $work/differences ]]; then
  cat "$work/differences"
  status=1
fi
echo "$files files compared (each as UTF-8 and UTF-16), $(wc -l <"$work/differences") differences"
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
