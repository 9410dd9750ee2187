#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Checks what a user installs, from a Release build in BUILD_DIR (default build/): the desktop
# file and the AppStream metadata pass their validators, the man pages render without
# warnings, the binaries carry Debian's hardening, and the two Debian packages hold what they
# must and work unpacked into a temporary folder (nothing is installed on this machine).
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build}"
fail() { echo "check-packages: $*" >&2; exit 1; }

desktop-file-validate ui/resources/com.norvane.velmar2tmx.desktop
appstreamcli validate --no-net --pedantic "$build/com.norvane.velmar2tmx.metainfo.xml"

for page in velmar2tmx-cli velmar2tmx; do
  warnings="$(LC_ALL=C.UTF-8 MANROFFSEQ='' MANWIDTH=80 \
              man --warnings -E UTF-8 -l -Tutf8 -Z "$build/man/$page.1" 2>&1 >/dev/null)"
  [ -z "$warnings" ] || fail "man page $page.1: $warnings"
done

# (Outputs are read whole first: grep -q ending a pipe early would fail it under pipefail.)
for program in velmar2tmx-cli velmar2tmx; do
  binary="$build/$program"
  header="$(readelf -hW "$binary")"
  segments="$(readelf -lW "$binary")"
  dynamic="$(readelf -dW "$binary")"
  symbols="$(readelf --dyn-syms -W "$binary")"
  grep -q 'Type: *DYN' <<<"$header" || fail "$program is not a PIE"
  grep -q GNU_RELRO <<<"$segments" || fail "$program has no RELRO segment"
  grep -Eq 'BIND_NOW|FLAGS.*NOW' <<<"$dynamic" || fail "$program is not bound now"
  grep -q __stack_chk_fail <<<"$symbols" || fail "$program has no stack protector"
  grep -Eq '__[a-z]+_chk@' <<<"$symbols" || fail "$program has no fortified calls"
done

rm -rf "$build/packages"
(cd "$build" && cpack -G DEB -B "$PWD/packages" >/dev/null)
cli_deb="$(ls "$build"/packages/velmar2tmx-cli_*.deb)"
gui_deb="$(ls "$build"/packages/velmar2tmx_*.deb)"
version="$(sed -n 's/^project(velmar2tmx VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)"
expect_files() {  # DEB PATH...
  local deb="$1" listing
  shift
  listing="$(dpkg-deb -c "$deb")"
  for path in "$@"; do
    grep -q " \./usr/$path\$" <<<"$listing" || fail "$(basename "$deb") lacks /usr/$path"
  done
}
expect_files "$cli_deb" bin/velmar2tmx-cli share/man/man1/velmar2tmx-cli.1.gz \
    share/doc/velmar2tmx-cli/copyright share/doc/velmar2tmx-cli/changelog.gz
expect_files "$gui_deb" bin/velmar2tmx share/man/man1/velmar2tmx.1.gz \
    share/applications/com.norvane.velmar2tmx.desktop \
    share/metainfo/com.norvane.velmar2tmx.metainfo.xml \
    share/icons/hicolor/48x48/apps/com.norvane.velmar2tmx.png \
    share/doc/velmar2tmx/copyright share/doc/velmar2tmx/changelog.gz
field() { dpkg-deb -f "$1" "$2"; }
for deb in "$cli_deb" "$gui_deb"; do
  [ "$(field "$deb" Version)" = "$version-1" ] || fail "$(basename "$deb"): version"
  [[ "$(field "$deb" Depends)" != *libicu* ]] || fail "$(basename "$deb"): depends on ICU"
  [ -n "$(field "$deb" Maintainer)" ] || fail "$(basename "$deb"): no maintainer"
done
[[ "$(field "$gui_deb" Depends)" == *libqt6widgets6* ]] || fail "velmar2tmx: no Qt dependency"
[[ "$(field "$cli_deb" Depends)" != *[Qq]t6* ]] || fail "velmar2tmx-cli depends on Qt"

root="$(mktemp -d)"
trap 'rm -rf "$root"' EXIT
dpkg-deb -x "$cli_deb" "$root"
dpkg-deb -x "$gui_deb" "$root"
[[ "$("$root/usr/bin/velmar2tmx-cli" --version)" == *"$version"* ]] || fail "unpacked --version"
[[ "$("$root/usr/bin/velmar2tmx" --version)" == *"$version"* ]] || fail "unpacked desktop --version"
"$root/usr/bin/velmar2tmx-cli" -q -o "$root/sample.tmx" examples/sample.txt >/dev/null
if [ -f ../shared/tmx14.dtd ]; then
  cp ../shared/tmx14.dtd "$root/"  # the document names it beside itself
  xmllint --noout --dtdvalid ../shared/tmx14.dtd "$root/sample.tmx"
else
  xmllint --noout "$root/sample.tmx"
fi
echo "packages: $(basename "$cli_deb") $(basename "$gui_deb") checked"
