#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Converts a generated corpus with --report, as a pair and with all languages, and checks that
# the report accounts for every Seg line: per language, read = written + in skipped units + left
# out (and the reasons add up to the left-out count); the Seg lines read are those of the TXT
# file, counted here on their own; the segments written are the <tuv> elements of the TMX.
#
#   scripts/check-segment-accounts.sh CLI CORPUS-GENERATOR [COUNT] [SEED]
set -euo pipefail
[[ $# -ge 2 ]] || { sed -n '8p' "$0" | sed 's/^# *//' >&2; exit 2; }
cli=$(realpath "$1") corpus=$(realpath "$2") count=${3:-300} seed=${4:-1}
command -v python3 >/dev/null || { echo "check-segment-accounts: python3 is missing" >&2; exit 2; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

"$corpus" "$work" "$count" "$seed"
for txt in "$work"/*.txt; do
  base=${txt%.txt}
  args=()
  [[ -f $base.args ]] && read -r -a args <"$base.args"
  # With all languages there is no target: its options go.
  all=(-A)
  for ((i = 0; i < ${#args[@]}; ++i)); do
    case ${args[i]} in
      -t | --target-codepage) i=$((i + 1)) ;;
      *) all+=("${args[i]}") ;;
    esac
  done
  for mode in pair all; do
    options=("${args[@]}")
    [[ $mode == all ]] && options=("${all[@]}")
    status=0
    "$cli" -q "${options[@]}" --report "$base.$mode.json" -o "$base.$mode.tmx" "$txt" ||
      status=$?
    # 0: written, 1: nothing to write; anything else is a failure of its own.
    if [[ $status -gt 1 ]]; then
      echo "$(basename "$txt") $mode: status $status"
      exit 1
    fi
  done
done

cat >"$work/check.py" <<'PYTHON'
import glob, json, os, re, sys

# The Seg lines of a TXT file, found as the reader finds them: a UTF-8 mark, UTF-16 with a mark
# or starting "<" NUL / NUL "<", 8-bit otherwise; NUL characters are skipped.
def seg_lines(path):
    raw = open(path, "rb").read()
    if raw.startswith(b"\xef\xbb\xbf"):
        text = raw[3:].decode("utf-8", "replace")
    elif raw.startswith(b"\xff\xfe") or raw.startswith(b"<\0"):
        text = raw[2 if raw.startswith(b"\xff\xfe") else 0:].decode("utf-16-le", "replace")
    elif raw.startswith(b"\xfe\xff") or raw.startswith(b"\0<"):
        text = raw[2 if raw.startswith(b"\xfe\xff") else 0:].decode("utf-16-be", "replace")
    else:
        text = raw.decode("latin-1")
    text = text.replace("\0", "")
    return sum(1 for line in re.split("[\r\n]", text) if line.startswith("<Seg") and ">" in line)

def problems(txt, tmx, report_path):
    found = []
    file = json.load(open(report_path))["files"][0]
    read = written = 0
    for language in file["segments"]["languages"]:
        out, name = language["leftOut"], language["language"]
        reasons = (out["unknownLanguageCode"] + out["otherLanguage"] + out["repeatedLanguage"]
                   + out["empty"])
        if out["total"] != reasons:
            found.append(f"{name}: left out {out['total']}, reasons {reasons}")
        if language["read"] != language["written"] + language["inSkippedUnits"] + out["total"]:
            found.append(f"{name}: read != written + in skipped units + left out")
        read += language["read"]
        written += language["written"]
    lines = seg_lines(txt)
    if read != lines:
        found.append(f"{read} Seg lines read, the file has {lines}")
    tuvs = open(tmx, "rb").read().decode("utf-8-sig").count("<tuv ") if os.path.exists(tmx) else 0
    if written != tuvs:
        found.append(f"{written} segments written, the TMX has {tuvs} <tuv> elements")
    return found

checked, failed = 0, False
for txt in sorted(glob.glob(os.path.join(sys.argv[1], "*.txt"))):
    for mode in ("pair", "all"):
        base = txt[:-4] + "." + mode
        found = problems(txt, base + ".tmx", base + ".json")
        if found:
            print(os.path.basename(txt), mode + ":", "; ".join(found))
            failed = True
        checked += 1
print(f"{checked} conversions: {'not ' if failed else ''}every Seg line accounted for")
sys.exit(1 if failed else 0)
PYTHON
python3 "$work/check.py" "$work"
