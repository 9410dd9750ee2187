#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Tests the Windows build of the command line under Wine, against the Linux build:
#  - a generated corpus (COUNT files, default 500, from velmar-make-corpus) converts to the same
#    bytes and exit statuses with both builds, as UTF-8 and UTF-16, with --threads 1 and the
#    default (files without options in one batch run, the others grouped by their options);
#  - the process behaviour: Unicode names (Japanese, Greek, emoji) in, out and in -O, Windows'
#    spelling of paths (drive letter, backslashes); a path of
#    over 300 characters; standard input and output; the device NUL; a read-only TMX is left as
#    it is; a run that writes no unit keeps the existing TMX; a missing file; Ctrl-C (Wine turns
#    SIGINT into the console's Ctrl-C event) leaves no file, status 130; a full disk (a small
#    tmpfs, when root or sudo can mount one) fails with status 3 and keeps the old TMX.
# Wine gets a prefix of its own in a temporary folder (its first start creates it).
#
#   scripts/test-windows.sh WINDOWS-EXE LINUX-CLI MAKE-CORPUS MAKE-TXT SAMPLE-TXT [COUNT]
set -euo pipefail
[[ $# -ge 5 ]] || { grep -m1 '^#   scripts/test-windows.sh' "$0" | sed 's/^# *//' >&2; exit 2; }
exe=$(realpath "$1") linux=$(realpath "$2") make_corpus=$(realpath "$3")
make_txt=$(realpath "$4") sample=$(realpath "$5") count=${6:-500}
command -v wine >/dev/null || { echo "test-windows: wine is not installed" >&2; exit 1; }

work=$(mktemp -d)
export WINEPREFIX=$work/prefix WINEDEBUG=-all LC_ALL=C.UTF-8
cleanup() {
  if mountpoint -q "$work/small" 2>/dev/null; then
    umount "$work/small" 2>/dev/null || sudo -n umount "$work/small" || true
  fi
  wineserver -k >/dev/null 2>&1 || true
  rm -rf "$work"
}
trap cleanup EXIT
cd "$work"
failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}
# Runs the Windows build. The program says why whenever it fails: a failure without a word of
# it is Wine's, which now and then cannot start a program on a loaded machine. Such a run is made
# once more, and the log says so.
win() {
  local status=0 err
  err=$(mktemp "$work/wine-XXXXXX.err")
  wine "$exe" "$@" 2>"$err" || status=$?
  if [[ $status != 0 ]] && ! grep -q '^velmar2tmx-cli' "$err"; then
    echo "test-windows: status $status and no message of the program ($(head -c 300 "$err"))," \
      "run again: $*" >&2
    status=0
    wine "$exe" "$@" 2>"$err" || status=$?
  fi
  cat "$err" >&2
  rm -f "$err"
  return "$status"
}

# Creates the prefix; the server then stays for the whole test.
win --version >/dev/null 2>&1 || true
wineserver -p >/dev/null 2>&1 || true
[[ "$(win --version 2>/dev/null)" == velmar2tmx-cli* ]] || fail "--version under Wine"

# --- the corpus -----------------------------------------------------------------------------
# run_both NAME OPTIONS... -- FILES...: the same batch with both builds into lin/NAME, win/NAME.
run_both() {
  local name=$1 options=() status_l=0 status_w=0
  shift
  while [[ $1 != -- ]]; do options+=("$1"); shift; done
  shift
  mkdir -p "lin/$name" "win/$name"
  "$linux" -q "${options[@]}" -O "lin/$name" "$@" >"lin/$name.out" 2>/dev/null || status_l=$?
  win -q "${options[@]}" -O "win/$name" "$@" >"win/$name.out" 2>"win/$name.err" || status_w=$?
  [[ $status_l == "$status_w" ]] ||
    fail "$name: exit $status_l on Linux, $status_w on Windows: $(head -c 600 "win/$name.err")"
  sed "s#/win/#/lin/#g" "win/$name.out" | cmp -s - "lin/$name.out" ||
    fail "$name: the lists of files differ"
}

mkdir corpus
"$make_corpus" corpus "$count" 1 >/dev/null
plain=()
declare -A groups=()
for txt in corpus/*.txt; do
  if [[ -f ${txt%.txt}.args ]]; then
    groups[$(cat "${txt%.txt}.args")]+="$txt"$'\n'
  else
    plain+=("$txt")
  fi
done
# run_config NAME:OPTIONS: every batch of the corpus with one set of options; its failures are
# the FAIL lines of NAME.log.
run_config() {
  local name=${1%%:*} options args extra files index=0
  read -r -a options <<<"${1#*:}"
  run_both "$name-plain" "${options[@]}" -- "${plain[@]}"
  for args in "${!groups[@]}"; do
    read -r -a extra <<<"$args"
    mapfile -t files < <(printf '%s' "${groups[$args]}")
    run_both "$name-$((index++))" "${options[@]}" "${extra[@]}" -- "${files[@]}"
  done
}
# The configurations run side by side, one per processor (each batch is a Wine start that
# waits on its wineserver as much as it computes).
configs=("utf8:" "utf16:--utf16" "utf8-t1:--threads 1" "utf16-t1:--utf16 --threads 1")
for config in "${configs[@]}"; do
  while [[ $(jobs -rp | wc -l) -ge $(nproc) ]]; do wait -n || true; done
  run_config "$config" >"${config%%:*}.log" &
done
wait
for config in "${configs[@]}"; do
  if grep '^FAIL:' "${config%%:*}.log"; then
    failures=$((failures + $(grep -c '^FAIL:' "${config%%:*}.log")))
  fi
done
compared=0
while IFS= read -r -d '' tmx; do
  other=win/${tmx#lin/}
  compared=$((compared + 1))
  cmp -s "$tmx" "$other" || fail "corpus: $other differs from the Linux build's"
done < <(find lin -name '*.tmx' -print0)
written_w=$(find win -name '*.tmx' | wc -l)
[[ $compared == "$written_w" ]] || fail "corpus: $compared TMX files on Linux, $written_w on Windows"
[[ $compared -ge $((count * 2)) ]] || fail "corpus: only $compared TMX files written"
echo "corpus: $count files, $compared TMX files compared in ${#configs[@]} runs each"

# --- names, paths and streams ---------------------------------------------------------------
"$linux" -q -o expected.tmx "$sample"
mkdir -p "u/日本語"
for name in 日本語 Ελληνικά 😀; do cp "$sample" "u/$name.txt"; done
win -q "u/日本語.txt" && cmp -s "u/日本語.tmx" expected.tmx || fail "Japanese name in"
win -q -o "u/出力 Ελ 😀.tmx" "u/Ελληνικά.txt" && cmp -s "u/出力 Ελ 😀.tmx" expected.tmx ||
  fail "Greek name in, mixed name out"
win -q -O "u/日本語" "u/😀.txt" && cmp -s "u/日本語/😀.tmx" expected.tmx || fail "emoji name in -O"
# Windows' own spelling: a drive and backslashes.
win -q -O "$(winepath -w "u/日本語")" "$(winepath -w "u/Ελληνικά.txt")" &&
  cmp -s "u/日本語/Ελληνικά.tmx" expected.tmx || fail "Windows paths (drive, backslashes) in -O"

long=$work/long
for part in a b c d e f; do long+=/$(printf "%s%.0s" "$part" {1..50}); done
mkdir -p "$long"
cp "$sample" "$long/memory.txt"
(( ${#long} > 300 )) || fail "long path is only ${#long} characters"
win -q "$long/memory.txt" && cmp -s "$long/memory.tmx" expected.tmx || fail "300-character path"

win -q -o - "$sample" >stdout.tmx && cmp -s stdout.tmx expected.tmx || fail "-o - (standard output)"
win -q -s EN-US -t DE -o stdin.tmx - <"$sample" && cmp -s stdin.tmx expected.tmx ||
  fail "standard input"
win -q -o NUL "$sample" || fail "-o NUL"
[[ ! -e NUL ]] || fail "-o NUL made a file"

# --- existing files -------------------------------------------------------------------------
leftovers() { find "$work" -maxdepth 1 -name '.velmar2tmx-*' | grep -q .; }
printf 'an older TMX\n' >readonly.tmx
chmod a-w readonly.tmx
status=0
win -q -o readonly.tmx "$sample" 2>readonly.err || status=$?
[[ $status == 3 ]] || fail "read-only TMX: exit $status, expected 3"
[[ "$(cat readonly.tmx)" == "an older TMX" ]] || fail "read-only TMX was changed"
leftovers && fail "read-only TMX: a temporary file was left"

printf 'an older TMX\n' >kept.tmx
status=0
win -q -s EN-US -t FI -o kept.tmx "$sample" 2>/dev/null || status=$?
[[ $status == 1 ]] || fail "no unit written: exit $status, expected 1"
[[ "$(cat kept.tmx)" == "an older TMX" ]] || fail "a run that wrote no unit changed the TMX"

status=0
win -q missing.txt 2>/dev/null || status=$?
[[ $status == 3 ]] || fail "missing TXT file: exit $status, expected 3"

# --- a full disk (a small tmpfs; mounting one needs root) ---------------------------------
mkdir small
if [[ $(id -u) == 0 ]] && mount -t tmpfs -o size=256k tmpfs small 2>/dev/null ||
   sudo -n mount -t tmpfs -o size=256k tmpfs small 2>/dev/null; then
  "$make_txt" mid.txt 3000 >/dev/null
  printf 'an older TMX\n' >small/full.tmx
  status=0
  win -q -o small/full.tmx mid.txt 2>full.err || status=$?
  [[ $status == 3 ]] || fail "full disk: exit $status, expected 3"
  grep -q "No space left on device" full.err || fail "full disk: $(cat full.err)"
  [[ "$(cat small/full.tmx)" == "an older TMX" ]] || fail "full disk: the TMX was changed"
  [[ $(ls -A small) == full.tmx ]] || fail "full disk: files left: $(ls -A small)"
  umount small 2>/dev/null || sudo -n umount small
else
  echo "NOTE: full disk not tested: mounting a small tmpfs needs root or sudo without a password"
fi

# --- Ctrl-C ---------------------------------------------------------------------------------
"$make_txt" big.txt 1000000 >/dev/null
printf 'an older TMX\n' >big.tmx
wine "$exe" -q -o big.tmx big.txt 2>/dev/null &
pid=$!
# Once the temporary file is there, the conversion is under way.
for ((wait = 0; wait < 300; ++wait)); do
  leftovers && break
  sleep 0.1
done
sleep 0.3
kill -INT "$pid" 2>/dev/null || true
status=0
wait "$pid" || status=$?
[[ $status == 130 ]] || fail "Ctrl-C: exit $status, expected 130"
[[ "$(cat big.tmx)" == "an older TMX" ]] || fail "Ctrl-C: the TMX was changed"
leftovers && fail "Ctrl-C: a temporary file was left"

if [[ $failures -gt 0 ]]; then
  echo "test-windows: $failures failures"
  exit 1
fi
echo "test-windows: all passed"
