#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Writes the seed corpora of the fuzz targets into tests/fuzz/seeds/ (replacing what is there).
# A segment seed is a code page byte (0 1252, 1 932, 2 936, 3 65001, 4 1251), the source
# segment, a NUL byte and the target segment; an export seed is a code page byte and a TXT file.
set -euo pipefail
cd "$(dirname "$0")"
root=../..
rm -rf seeds && mkdir -p seeds/segment seeds/export

segments=(
  'Press the {\b Start} button.'
  '{\i italic {\b both}} plain'
  '{\cs6 <b>}bold{\cs6 </b>} text'
  '{\cs6 <x ALT="a&b">}{\cs6 </x>}'
  '{\cs6 <:hs>} symbol'
  '{\cs8 do not translate} rest'
  '{\field{\*\fldinst HYPERLINK "x"}{\fldrslt link}} after'
  '{\field{\*\fldinst PAGE}}'
  '{\v hidden} shown'
  'caf\'"'"'e9 \'"'"'4g \'"'"'00 \u8212? \uc2\u-3ab'
  '\tab\~\-\_\line \emdash, \{braces\} \\back'
  'a < b && c > d "q" '"'"'s'"'"''
  '{\b unclosed'
  'closed}} twice'
  '<1>tag</1><2/>'
  '{\cs61 not the style} {\cs6 <i>}{\cs6 </i>}'
  '\'"'"'82\'"'"'a0\'"'"'82\'"'"'a2 Japanese bytes'
  '\'"'"'c4\'"'"'e3\'"'"'ba\'"'"'c3 Chinese bytes'
  '\'"'"'cf\'"'"'f0\'"'"'e8 Cyrillic bytes'
  'UTF-8 bytes: Drücken Schaltfläche'
)
n=0
for s in "${segments[@]}"; do
  for page in 0 1 2 3 4; do
    [ $((n % 3)) -eq 0 ] || [ "$page" -eq 0 ] || { n=$((n + 1)); continue; }
    printf '\\x%02x' "$page" | xargs -0 printf > "seeds/segment/$(printf %03d "$n")"
    printf '%s\0%s' "$s" "$s" >> "seeds/segment/$(printf %03d "$n")"
    n=$((n + 1))
  done
done

unit() {  # unit SOURCE TARGET
  printf '<TrU>\r\n<CrD>26072002, 10:03:33\r\n<CrU>MARIA\r\n<Att L=Client>Norvane, Harbour\r\n'
  printf '<Txt L=Note>a & b < c\r\n<Seg L=EN-US>%s\r\n<Seg L=DE-DE>%s\r\n</TrU>\r\n' "$1" "$2"
}
n=0
for f in "$root"/examples/sample.txt "$root"/tests/data/*.txt; do
  for page in 0 1 3; do
    { printf '\\x%02x' "$page" | xargs -0 printf; cat "$f"; } > "seeds/export/$(printf %03d "$n")"
    n=$((n + 1))
  done
done
for s in "${segments[@]}"; do
  { printf '\\x%02x' $((n % 5)) | xargs -0 printf
    printf '{\\St \\cs6 {\\StN korvexInternal}}\r\n'
    unit "$s" "$s"; unit "$s" "plain"; } > "seeds/export/$(printf %03d "$n")"
  n=$((n + 1))
done
echo "$(ls seeds/segment | wc -l) segment seeds, $(ls seeds/export | wc -l) export seeds"
