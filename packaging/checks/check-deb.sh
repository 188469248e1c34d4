#!/bin/sh
# Checks of the built .deb: lintian finds no error, every installed file is at its path with
# a sane mode, nothing lies outside the standard prefixes, the maintainer scripts reload udev,
# and the programs unpacked into a temporary root answer --help and --version.
#   check-deb.sh PACKAGE.deb
set -eu
deb=$1
fail() { echo "$deb: $1" >&2; exit 1; }
version=$(dpkg-deb -f "$deb" Version)

# Lintian: errors fail; warnings are printed (the kept ones are explained in
# packaging/lintian-warnings.txt, and an unexplained one fails too).
here=$(dirname "$(readlink -f "$0")")
report=$(lintian --tag-display-limit 0 "$deb" 2>&1 || true)
printf '%s\n' "$report" | grep -E '^[EW]:' || true
printf '%s\n' "$report" | grep -qE '^E:' && fail "lintian found errors"
for tag in $(printf '%s\n' "$report" | sed -nE 's/^W: [^ ]+: ([a-z0-9-]+).*/\1/p' | sort -u); do
    grep -qE "^$tag( |\$)" "$here/../lintian-warnings.txt" ||
        fail "lintian warning $tag is not explained in packaging/lintian-warnings.txt"
done

for field in Package Version Section Maintainer Depends Architecture; do
    [ -n "$(dpkg-deb -f "$deb" $field)" ] || fail "control field $field is empty"
done
dpkg-deb -f "$deb" Depends | grep -q 'libqt6widgets6' || fail "Depends lacks the Qt libraries"
dpkg-deb -f "$deb" Depends | grep -q 'libudev1' || fail "Depends lacks libudev"

list=$(dpkg-deb -c "$deb")
expect() {
    printf '%s\n' "$list" | awk '{print $1, $NF}' | grep -qE "^$1 \./$2\$" || fail "missing $2 ($1)"
}
app=org.dsp4620.Dsp4620
expect -rwxr-xr-x usr/bin/dsp4620
expect -rwxr-xr-x usr/bin/dsp4620-cli
expect -rw-r--r-- usr/share/applications/$app.desktop
expect -rw-r--r-- usr/share/metainfo/$app.metainfo.xml
expect -rw-r--r-- usr/share/mime/packages/dsp4620.xml
expect -rw-r--r-- usr/share/icons/hicolor/scalable/apps/$app.svg
for size in 16 22 24 32 48 64 128 256; do
    expect -rw-r--r-- "usr/share/icons/hicolor/${size}x$size/apps/$app.png"
done
expect -rw-r--r-- usr/share/man/man1/dsp4620.1.gz
expect -rw-r--r-- usr/share/man/man1/dsp4620-cli.1.gz
expect -rw-r--r-- usr/share/bash-completion/completions/dsp4620-cli
expect -rw-r--r-- usr/lib/udev/rules.d/60-dsp4620.rules
expect -rw-r--r-- usr/share/doc/dsp4620/copyright
expect -rw-r--r-- usr/share/doc/dsp4620/changelog.gz
outside=$(printf '%s\n' "$list" | awk '{print $NF}' | grep -vE '^\./(usr/(bin|share|lib/udev)(/|$)|usr/?$|usr/lib/?$|$)' || true)
[ -z "$outside" ] || fail "files outside the standard prefixes: $outside"
printf '%s\n' "$list" | awk '{print $1}' | grep -qE '^.{7}(.w.|..[st])' && fail "a world-writable file"
printf '%s\n' "$list" | grep -q ' root/root ' || fail "files are not owned by root"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
dpkg-deb -e "$deb" "$work/DEBIAN"
for script in postinst postrm; do
    [ -x "$work/DEBIAN/$script" ] || fail "no $script"
    grep -q 'udevadm control --reload-rules' "$work/DEBIAN/$script" || fail "$script does not reload udev"
done

# The programs as installed, run from an unpacked copy.
dpkg-deb -x "$deb" "$work/root"
cli=$work/root/usr/bin/dsp4620-cli
"$cli" --help | grep -q '^commands:' || fail "the installed dsp4620-cli --help failed"
[ "$("$cli" --version)" = "dsp4620-cli $version" ] || fail "dsp4620-cli --version is not $version"
out=$(env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb "$work/root/usr/bin/dsp4620" --version) ||
    fail "the installed dsp4620 --version failed"
[ "$out" = "dsp4620 $version" ] || fail "dsp4620 --version printed '$out', not $version"
env -u DISPLAY QT_QPA_PLATFORM=xcb "$work/root/usr/bin/dsp4620" --help | grep -q -- '--emulate' ||
    fail "the installed dsp4620 --help failed"
echo "$deb: checked"
