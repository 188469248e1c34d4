#!/bin/sh
# Every option that PROGRAM --help names is in the manual page; with --subcommands, every
# command listed under "commands:" has its own ".SS" heading and every option of
# "PROGRAM COMMAND --help" is in the page too.
#   check-man-covers-help.sh [--subcommands] PROGRAM MANPAGE
set -eu
subcommands=false
if [ "$1" = "--subcommands" ]; then subcommands=true; shift; fi
program=$1
page=$2
# The page as plain text: roff's escaped minus and font changes removed.
text=$(sed -e 's/\\-/-/g' -e 's/\\f[BIRP]//g' "$page")
failed=0

# Long options (--name) and one-letter ones (-h) standing alone; not "-a1" or "start-up".
options() {
    perl -nle 'print $1 while /(?:^|[\s,\[|(])(--[a-z][a-z0-9-]*|-[a-zA-Z](?=[\s,\]|)]|$))/g' | sort -u
}

check_options() { # $1: where the options were listed, $2: its help text
    for option in $(printf '%s\n' "$2" | options); do
        if ! printf '%s\n' "$text" | grep -qE -- "(^|[^a-zA-Z0-9-])$option([^a-zA-Z0-9-]|\$)"; then
            echo "$page: option $option of $1 is missing" >&2
            failed=1
        fi
    done
}

help=$("$program" --help)
[ -n "$help" ] || { echo "$program --help printed nothing" >&2; exit 1; }
check_options "$program --help" "$help"

if $subcommands; then
    commands=$(printf '%s\n' "$help" | awk '/^commands:/ {on = 1; next} on && /^  [a-z]/ {print $1}')
    [ -n "$commands" ] || { echo "$program --help lists no commands" >&2; exit 1; }
    for command in $commands; do
        if ! printf '%s\n' "$text" | grep -qE "^\.SS $command( |\$)"; then
            echo "$page: command $command has no '.SS $command' section" >&2
            failed=1
        fi
        check_options "$program $command --help" "$("$program" "$command" --help)"
    done
fi
exit $failed
