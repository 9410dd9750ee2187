#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds the web page: the conversion core and web/ compiled to WebAssembly with Debian's
# emscripten (velmar.js and velmar.wasm), beside the page's own files, into build-web/site/.
# Usage: scripts/build-web.sh [OUT-DIR]   (default build-web; the site is OUT-DIR/site)
# Extra link flags can be given in VELMAR_WEB_LDFLAGS.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
out="$(mkdir -p "${1:-$root/build-web}" && cd "${1:-$root/build-web}" && pwd)"
export NODE_PATH="${NODE_PATH:-/usr/share/nodejs}"
command -v em++ >/dev/null || { echo "build-web.sh: em++ is missing (scripts/install-deps.sh)" >&2; exit 1; }
version="$(sed -n 's/^project(velmar2tmx VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")"

# nlohmann-json is header-only: only its own folder goes on the include path (the rest of
# /usr/include belongs to the system's C library, not emscripten's).
mkdir -p "$out/include" "$out/obj" "$out/site"
ln -sfn /usr/include/nlohmann "$out/include/nlohmann"

launcher=()
command -v ccache >/dev/null && launcher=(ccache)
# No -msse2: the hand-written SSE2 paths give way to their plain versions (which -msimd128
# lets the compiler vectorise for WebAssembly where it can).
cxxflags=(-std=c++20 -O3 -msimd128 -DNDEBUG "-DVELMAR_VERSION=\"$version\"" -I"$root" -isystem "$out/include"
          -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wno-sign-conversion -Wnon-virtual-dtor
          -Werror)

sources=()
for folder in text text/tables inline engine web; do
  for f in "$root/$folder"/*.cpp; do
    # What differs between systems is in *_posix.cpp and *_win32.cpp: emscripten is POSIX.
    [[ $f == *_win32.cpp ]] || sources+=("$f")
  done
done

objects=()
for src in "${sources[@]}"; do
  objects+=("$out/obj/$(basename "$(dirname "$src")")_$(basename "${src%.cpp}").o")
done
jobs_max="${VELMAR_WEB_JOBS:-2}"
failed=0
for i in "${!sources[@]}"; do
  "${launcher[@]}" em++ "${cxxflags[@]}" -c "${sources[$i]}" -o "${objects[$i]}" &
  if [ "$(jobs -rp | wc -l)" -ge "$jobs_max" ]; then wait -n || failed=1; fi
done
while [ "$(jobs -rp | wc -l)" -gt 0 ]; do wait -n || failed=1; done
[ "$failed" -eq 0 ] || { echo "build-web.sh: compiling failed" >&2; exit 1; }

# One loader (velmar.js, a factory createVelmar for the worker) and one .wasm.
# shellcheck disable=SC2086
em++ -O3 -msimd128 "${objects[@]}" -o "$out/site/velmar.js" \
  -sMODULARIZE=1 -sEXPORT_NAME=createVelmar -sENVIRONMENT=worker \
  -sALLOW_MEMORY_GROWTH=1 -sINITIAL_MEMORY=33554432 -sMAXIMUM_MEMORY=2147483648 \
  -sFORCE_FILESYSTEM=1 -lworkerfs.js \
  -sEXPORTED_RUNTIME_METHODS='["FS","cwrap"]' \
  -sEXPORTED_FUNCTIONS='["_velmar_catalogue","_velmar_analyse","_velmar_convert"]' \
  ${VELMAR_WEB_LDFLAGS:-}

cp "$root"/web/site/{index.html,app.js,worker.js,style.css,icon.svg} "$out/site/"
echo "build-web.sh: the site is in $out/site (try: python3 -m http.server -d $out/site)"
