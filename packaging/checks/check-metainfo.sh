#!/bin/sh
# The AppStream metadata validates without errors or warnings (no network), and its newest
# release is the project's version.
#   check-metainfo.sh METAINFO VERSION
set -eu
metainfo=$1
version=$2
out=$(appstreamcli validate --no-net --no-color "$metainfo" 2>&1) || { printf '%s\n' "$out" >&2; exit 1; }
if printf '%s\n' "$out" | grep -qE '^(E|W):'; then
    printf '%s\n' "$out" >&2
    exit 1
fi
newest=$(xmllint --xpath 'string(/component/releases/release[1]/@version)' "$metainfo")
if [ "$newest" != "$version" ]; then
    echo "$metainfo: newest release is '$newest', the project is $version" >&2
    exit 1
fi
modalias=$(xmllint --xpath 'string(/component/provides/modalias)' "$metainfo")
[ "$modalias" = "usb:v2010p1031*" ] || { echo "$metainfo: modalias is '$modalias'" >&2; exit 1; }
