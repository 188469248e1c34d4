#!/bin/bash
# bash completion for dsp4620-cli offers the commands and a command's options, read from the
# program itself.
#   check-completion.sh COMPLETION_FILE PROGRAM
set -eu
completion=$1
program=$2
# The helpers of the bash-completion package the function relies on, reduced to what it uses.
_init_completion() {
    cur=${COMP_WORDS[COMP_CWORD]}
    prev=${COMP_WORDS[COMP_CWORD - 1]}
    words=("${COMP_WORDS[@]}")
    cword=$COMP_CWORD
}
_filedir() { COMPREPLY=("FILES${1:+ $1}"); }
compopt() { :; }
# shellcheck source=/dev/null
. "$completion"
complete -p dsp4620-cli >/dev/null
complete_words() {
    COMP_WORDS=("$@")
    COMP_CWORD=$(($# - 1))
    COMPREPLY=()
    _dsp4620_cli "$program" "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD - 1]}"
    printf '%s\n' "${COMPREPLY[@]}"
}
fail() { echo "completion: $1" >&2; exit 1; }
commands=$("$program" --help | awk '/^commands:/ {on = 1; next} on && /^  [a-z]/ {print $1}')
[ -n "$commands" ] || fail "the program lists no commands"
offered=$(complete_words "$program" "")
for command in $commands; do
    printf '%s\n' "$offered" | grep -qx "$command" || fail "command $command is not offered"
done
[ "$(complete_words "$program" "rest")" = "restore" ] || fail "'rest' does not complete to restore"
options=$(complete_words "$program" info "--")
for option in --emulate= --trace --short-waits; do
    printf '%s\n' "$options" | grep -qx -- "$option" || fail "info: $option is not offered"
done
[ "$(complete_words "$program" info --trace "")" = "FILES" ] || fail "--trace does not take a file"
case $(complete_words "$program" dump "") in
    "FILES @("*W6v9*) ;;
    *) fail "dump does not offer mode files" ;;
esac
