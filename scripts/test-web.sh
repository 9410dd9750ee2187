#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds the web page (scripts/build-web.sh) and runs its tests in Debian's chromium (headless,
# driven by puppeteer-core from tests/web/package-lock.json, which downloads no browser):
# conversions compared with the command line of BUILD-DIR, cancel, odd files, no request to any
# other address. The picture of the page after a conversion is written to docs/web-page.png.
#
#   scripts/test-web.sh [BUILD-DIR]   (default build; it holds velmar2tmx-cli and, built with
#                                      -DVELMAR_BUILD_BENCH=ON, bench/velmar-make-corpus and
#                                      bench/velmar-make-txt)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$(cd "${1:-$root/build}" && pwd)"
for tool in velmar2tmx-cli bench/velmar-make-corpus bench/velmar-make-txt; do
  [ -x "$build/$tool" ] || { echo "test-web.sh: $build/$tool is missing" >&2; exit 1; }
done
[ -x /usr/bin/chromium ] || { echo "test-web.sh: /usr/bin/chromium is missing (scripts/install-deps.sh)" >&2; exit 1; }

"$root/scripts/build-web.sh" "$root/build-web"
(cd "$root/tests/web" && PUPPETEER_SKIP_DOWNLOAD=1 npm ci --no-audit --no-fund --loglevel=error)
cd "$root/tests/web"
VELMAR_SITE="$root/build-web/site" VELMAR_CLI="$build/velmar2tmx-cli" \
VELMAR_MAKE_CORPUS="$build/bench/velmar-make-corpus" VELMAR_MAKE_TXT="$build/bench/velmar-make-txt" \
VELMAR_SCREENSHOT="$root/docs/web-page.png" \
  node --test --test-reporter=spec page.test.mjs
