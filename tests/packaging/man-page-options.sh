#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Usage: man-page-options.sh PROGRAM PAGE
# The long options PROGRAM --help lists (its option lines: two spaces, then
# "-x, --name" or "--name") must be the long options PAGE documents (the
# tags of the .TP entries in its OPTIONS section), both ways; and every range
# with its default that --help gives ("1 to 100 (default 1)", from the table
# of run parameters) must stand in the page as well. The program runs without
# a display, as a user at a console would start it.
set -euo pipefail
program=$1
page=$2

help="$(env -u DISPLAY -u WAYLAND_DISPLAY -u WAYLAND_SOCKET -u QT_QPA_PLATFORM "$program" --help)"
listed="$(sed -n -E 's/^  (-[[:alnum:]], )?--([[:alnum:]][[:alnum:]-]*).*/\2/p' <<<"$help" | sort -u)"
documented="$(awk '
  /^\.SH/ { options = ($0 ~ /^\.SH "?OPTIONS"?[[:space:]]*$/); next }
  options && tag { print; tag = 0; next }
  options && /^\.TP/ { tag = 1 }
' "$page" | grep -o -E '\\-\\-[[:alnum:]][[:alnum:]\\-]*' | sed 's/\\//g; s/^--//' | sort -u)"

# An empty side on both would compare equal: both must at least know --help.
for side in listed documented; do
  if ! grep -qx help <<<"${!side}"; then
    echo "no --help among the options $side (is the format still the one this test reads?)" >&2
    exit 1
  fi
done
onlyListed="$(comm -23 <(echo "$listed") <(echo "$documented"))"
onlyDocumented="$(comm -13 <(echo "$listed") <(echo "$documented"))"
[ -n "$onlyListed" ] && echo "$program --help lists options $page leaves out:" $(sed 's/^/--/' <<<"$onlyListed") >&2
[ -n "$onlyDocumented" ] && echo "$page documents options $program --help leaves out:" $(sed 's/^/--/' <<<"$onlyDocumented") >&2
ranges="$(grep -o -E '[0-9]+ to [0-9]+ \(default [0-9]+\)' <<<"$help" | sort -u || true)"
pageText="$(sed 's/\\-/-/g' "$page")"
missingRanges=""
while IFS= read -r range; do
  [ -z "$range" ] || grep -qF "$range" <<<"$pageText" || missingRanges+="$range; "
done <<<"$ranges"
[ -n "$missingRanges" ] && echo "$page lacks the ranges $program --help gives: $missingRanges" >&2
[ -z "$onlyListed" ] && [ -z "$onlyDocumented" ] && [ -z "$missingRanges" ]
