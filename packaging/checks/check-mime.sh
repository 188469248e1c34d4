#!/bin/sh
# The shared-mime-info package is well-formed XML and compiles: its globs (any letter case)
# and the magic on the version word reach the compiled database, and sample files get the
# right types.
#   check-mime.sh MIME_XML
set -eu
xml=$1
xmllint --noout "$xml"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/mime/packages"
cp "$xml" "$work/mime/packages/dsp4620.xml"
# A warning about the package (an unknown element or attribute) fails the check too.
XDG_DATA_DIRS=$work XDG_DATA_HOME=$work update-mime-database "$work/mime" >"$work/log" 2>&1 || { cat "$work/log" >&2; exit 1; }
if [ -s "$work/log" ]; then cat "$work/log" >&2; exit 1; fi
fail() { echo "$xml: $1" >&2; exit 1; }
for glob in '*.w6v8' '*.w6v9'; do
    grep -qF ":application/x-dsp4620-mode:$glob" "$work/mime/globs2" || fail "no glob $glob"
done
grep -qF ':application/x-dsp4620-remote:*.remo' "$work/mime/globs2" || fail "no glob *.remo"
grep -q ':cs' "$work/mime/globs2" && fail "a glob is case-sensitive"
grep -qF '[20:application/x-dsp4620-mode]' "$work/mime/magic" || fail "no magic for mode files"
# The magic: offset 0, four bytes, little-endian 4.
od -An -tx1 "$work/mime/magic" | tr -d ' \n' | grep -q '3e303d000404000000' ||
    fail "the magic is not the version word 4"
