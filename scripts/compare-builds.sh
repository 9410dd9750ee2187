#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Converts a generated corpus with two builds of velmar2tmx-cli and compares every TMX file.
#
#   scripts/compare-builds.sh [-n COUNT] [-s SEED] [-j JOBS] [-g GENERATOR] [-a OLD-OPTIONS]
#                             [-b NEW-OPTIONS] [-k] OLD NEW
#
# -a and -b add options to the old and the new build's command lines (e.g. -b "--threads 8"
# with the same binary twice compares thread counts).
# OLD and NEW are velmar2tmx-cli binaries or git revisions; a revision is checked out in a
# temporary worktree and built (Release, command line only) under build-compare/. The corpus
# (COUNT files, default 2000, seed SEED, default 1) comes from velmar-make-corpus, built from
# this checkout unless -g names one. Each file is converted with both builds as UTF-8 and as
# UTF-16 (--utf16), with the options of its .args side file when it has one (languages, code
# pages; with -A among the added options, without its -t and --target-codepage), otherwise with
# the file's default languages. The TMX files are compared with cmp and the exit statuses with
# each other. Prints "N files compared, M differ" and the differing files; exits 1 when any
# differ, 2 on a usage or build error. -k keeps the work folder.
set -euo pipefail

count=2000 seed=1 jobs=2 generator="" keep=0 old_args="" new_args=""
usage() {
  sed -n '4,5p' "$0" | sed 's/^# *//' >&2
  exit 2
}
while getopts "n:s:j:g:a:b:kh" opt; do
  case $opt in
    a) old_args=$OPTARG ;;
    b) new_args=$OPTARG ;;
    n) count=$OPTARG ;;
    s) seed=$OPTARG ;;
    j) jobs=$OPTARG ;;
    g) generator=$OPTARG ;;
    k) keep=1 ;;
    *) usage ;;
  esac
done
shift $((OPTIND - 1))
[[ $# -eq 2 ]] || usage

repo=$(cd "$(dirname "$0")/.." && pwd)
cache=$repo/build-compare
mkdir -p "$cache"

# Prints the path of program $2 in build folder $1 (revisions differ in where they put it).
find_built() {
  local path
  for path in "$1/$2" "$1/cli/$2" "$1/bench/$2"; do
    if [[ -x $path ]]; then
      echo "$path"
      return 0
    fi
  done
  return 1
}

# Prints the path of a velmar2tmx-cli for a binary path or a git revision, building if needed.
resolve_cli() {
  if [[ -f $1 && -x $1 ]]; then
    realpath "$1"
    return
  fi
  local sha
  sha=$(git -C "$repo" rev-parse --verify --quiet "$1^{commit}") ||
    { echo "compare-builds: '$1' is neither a binary nor a git revision" >&2; return 2; }
  local build=$cache/build-$sha
  if ! find_built "$build" velmar2tmx-cli >/dev/null; then
    local src=$cache/src-$sha
    rm -rf "$src"
    git -C "$repo" worktree add --detach --quiet "$src" "$sha" >&2
    cmake -S "$src" -B "$build" -DCMAKE_BUILD_TYPE=Release -DVELMAR_BUILD_UI=OFF \
          -DVELMAR_BUILD_TESTS=OFF -DVELMAR_BUILD_BENCH=OFF >/dev/null
    cmake --build "$build" -j"$jobs" --target velmar2tmx-cli >&2
    git -C "$repo" worktree remove --force "$src" >&2
  fi
  find_built "$build" velmar2tmx-cli
}

build_generator() {
  local build=$cache/generator
  cmake -S "$repo" -B "$build" -DCMAKE_BUILD_TYPE=Release -DVELMAR_BUILD_UI=OFF \
        -DVELMAR_BUILD_TESTS=OFF -DVELMAR_BUILD_BENCH=ON >/dev/null
  cmake --build "$build" -j"$jobs" --target velmar-make-corpus >&2
  find_built "$build" velmar-make-corpus
}

old=$(resolve_cli "$1") || exit 2
new=$(resolve_cli "$2") || exit 2
[[ -n $generator ]] || generator=$(build_generator) || exit 2

work=$(mktemp -d "$cache/run.XXXXXX")
[[ $keep -eq 1 ]] || trap 'rm -rf "$work"' EXIT
mkdir -p "$work/corpus" "$work/old" "$work/new"
"$generator" "$work/corpus" "$count" "$seed"

# One TXT file: both builds, both encodings. Prints "name: what differs" when anything does,
# and "status OLD-STATUS" per conversion for the summary.
compare_one() {
  local txt=$1 name args=() enc side status
  name=$(basename "$txt" .txt)
  if [[ -f ${txt%.txt}.args ]]; then read -r -a args <"${txt%.txt}.args"; fi
  # With every language (-A), a side file's target and its code page are left out: the command
  # line refuses them beside -A, and the file would only be compared as that refusal.
  if [[ " $OLD_ARGS $NEW_ARGS " =~ " "(-A|--all-languages)" " ]]; then
    local kept=() i
    for ((i = 0; i < ${#args[@]}; i++)); do
      case ${args[i]} in
        -t | --target-codepage) ((i += 1)) ;;
        *) kept+=("${args[i]}") ;;
      esac
    done
    args=("${kept[@]}")
  fi
  local differs=""
  for enc in utf8 utf16; do
    local extra=()
    [[ $enc == utf16 ]] && extra=(--utf16)
    declare -A code=()
    for side in old new; do
      local bin=$OLD_CLI side_args=()
      read -r -a side_args <<<"$OLD_ARGS"
      if [[ $side == new ]]; then
        bin=$NEW_CLI
        read -r -a side_args <<<"$NEW_ARGS"
      fi
      status=0
      "$bin" -q "${args[@]}" "${extra[@]}" "${side_args[@]}" -o "$WORK/$side/$name.$enc.tmx" "$txt" \
        >/dev/null 2>"$WORK/$side/$name.$enc.err" || status=$?
      code[$side]=$status
    done
    echo "status ${code[old]}"
    [[ ${code[old]} == "${code[new]}" ]] || differs+=" $enc: exit ${code[old]} vs ${code[new]};"
    local a=$WORK/old/$name.$enc.tmx b=$WORK/new/$name.$enc.tmx
    if [[ -e $a || -e $b ]] && ! cmp -s "$a" "$b"; then differs+=" $enc: TMX differs;"; fi
  done
  if [[ -n $differs ]]; then
    echo "differs $name:$differs"
  else
    rm -f "$WORK"/{old,new}/"$name".*
  fi
}
compare_some() {
  local txt
  for txt in "$@"; do compare_one "$txt"; done
}
export -f compare_one compare_some
export OLD_CLI=$old NEW_CLI=$new WORK=$work OLD_ARGS=$old_args NEW_ARGS=$new_args

start=$SECONDS
find "$work/corpus" -name '*.txt' -print0 | sort -z |
  xargs -0 -n 25 -P "$jobs" bash -c 'compare_some "$@"' _ >"$work/results"
files=$(find "$work/corpus" -name '*.txt' | wc -l)
differing=$(grep -c '^differs ' "$work/results" || true)

echo "exit statuses of the old build (conversions per status):" \
  "$(grep '^status ' "$work/results" | sort | uniq -c | awk '{printf " %s: %s", $3, $1}')"
grep '^differs ' "$work/results" | sed 's/^differs /  /' | sort || true
echo "$files files compared (each as UTF-8 and UTF-16), $differing differ" \
  "($((SECONDS - start)) s; old: $old, new: $new)"
[[ $keep -eq 1 ]] && echo "work folder kept: $work"
[[ $differing -eq 0 ]]
