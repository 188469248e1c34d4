#!/bin/sh
# The manual pages format without warnings from man or groff.
#   check-man-render.sh PAGE...
set -eu
for page in "$@"; do
    out=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z "$page" 2>&1 >/dev/null)
    if [ -n "$out" ]; then
        echo "$page:" >&2
        printf '%s\n' "$out" >&2
        exit 1
    fi
done
