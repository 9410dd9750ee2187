#!/bin/sh
# SPDX-License-Identifier: MIT
# Writes the Debian changelog of a package (gzip -9n) for the release VERSION: one entry with
# revision 1, dated as CHANGELOG.md dates that release ("## VERSION — YYYY-MM-DD"), pointing to
# the project's own changelog (changelog.gz beside it). The same input gives the same bytes.
#
#   debian-changelog.sh PACKAGE VERSION MAINTAINER CHANGELOG.md OUTPUT
set -eu
[ $# -eq 5 ] || { echo "usage: debian-changelog.sh PACKAGE VERSION MAINTAINER CHANGELOG.md OUTPUT" >&2; exit 2; }
package=$1 version=$2 maintainer=$3 changelog=$4 output=$5
day=$(sed -n "s/^## $version — \([0-9-]*\).*/\1/p" "$changelog" | head -n 1)
[ -n "$day" ] || { echo "debian-changelog.sh: $changelog has no entry for $version" >&2; exit 1; }
date=$(LC_ALL=C date -u -R -d "$day 12:00:00 UTC")
printf '%s (%s-1) unstable; urgency=medium\n\n  * Release %s; its changes are in changelog.gz.\n\n -- %s  %s\n' \
  "$package" "$version" "$version" "$maintainer" "$date" | gzip -9n >"$output"
