#!/bin/sh
# The udev rule: udevadm verify where this udev has it, and in any case a syntax check of
# every line, the match on the processor's identifiers, the uaccess tag, no world-writable
# mode, and a number that sorts before 73-seat-late (where uaccess is applied).
#   check-udev-rule.sh RULES_FILE
set -eu
rules=$1
fail() { echo "$rules: $1" >&2; exit 1; }
if command -v udevadm >/dev/null 2>&1 && udevadm verify --help >/dev/null 2>&1; then
    udevadm verify --resolve-names=never "$rules"
fi
name=$(basename "$rules")
case $name in
    [0-6][0-9]-*.rules | 7[0-2]-*.rules) ;;
    *) fail "does not sort before 73-seat-late.rules" ;;
esac
# Each rule line is KEY[{attr}]OP"value" items separated by commas.
item='[A-Z_]+(\{[A-Za-z0-9_.*-]+\})?(==|!=|=|\+=|-=|:=)"[^"]*"'
bad=$(grep -vE '^[[:space:]]*(#|$)' "$rules" | grep -vE "^$item(, *$item)*[[:space:]]*$" || true)
[ -z "$bad" ] || fail "lines that are not udev rules: $bad"
keys=$(grep -vE '^[[:space:]]*(#|$)' "$rules" | grep -oE '(^|, *)[A-Z_]+' | tr -d ', ' | sort -u)
for key in $keys; do
    case $key in
        ACTION | SUBSYSTEM | SUBSYSTEMS | KERNEL | KERNELS | ATTR | ATTRS | ENV | TAG | DRIVERS | \
            MODE | GROUP | OWNER | GOTO | LABEL | SYMLINK | RUN) ;;
        *) fail "unknown key $key" ;;
    esac
done
rule=$(grep -E 'TAG\+="uaccess"' "$rules") || fail "no rule adds the uaccess tag"
for match in 'SUBSYSTEM=="hidraw"' 'ATTRS{idVendor}=="2010"' 'ATTRS{idProduct}=="1031"'; do
    printf '%s\n' "$rule" | grep -qF "$match" || fail "the uaccess rule lacks $match"
done
if grep -oE 'MODE[:+]?="[0-7]+"' "$rules" | grep -qE '"[0-7]*[2367]"$'; then
    fail "a mode is world-writable"
fi
