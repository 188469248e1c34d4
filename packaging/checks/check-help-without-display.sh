#!/bin/sh
# --help and --version answer without a display (no Qt platform is ever started for them).
#   check-help-without-display.sh PROGRAM VERSION
set -eu
program=$1
version=$2
run() { env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb "$program" "$@"; }
help=$(run --help)
printf '%s\n' "$help" | grep -q -- '--emulate' || { echo "--help lacks --emulate" >&2; exit 1; }
[ "$(run --version)" = "dsp4620 $version" ] || { echo "--version is not 'dsp4620 $version'" >&2; exit 1; }
if run --no-such-option 2>/dev/null; then echo "an unknown option was accepted" >&2; exit 1; fi
status=0
run --no-such-option >/dev/null 2>&1 || status=$?
[ "$status" -eq 2 ] || { echo "an unknown option ended with $status, not 2" >&2; exit 1; }
