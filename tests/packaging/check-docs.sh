#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The man pages and the bash completion against the programs' own --help: every verb and every
# option a program takes must be in its man page, and the completion must offer each verb and,
# after the verb, each of its options.
# Usage: check-docs.sh BUILD_DIR PACKAGING_DIR
set -uo pipefail
build=$1
packaging=$2
failures=0
fail() { echo "check-docs: $*"; failures=$((failures + 1)); }

# Long options of a --help text, without Qt's own --help-all.
options_of() { grep -oE '^ +(-[a-z], )?--[a-z-]+' | grep -oE -- '--[a-z-]+' | grep -vx -- '--help-all'; }

in_man() { # PAGE OPTION: the option as roff writes it, "\-\-name"
    grep -qF -- "${2//-/\\-}" "$packaging/man/$1" || fail "$1 lacks $2"
}

for exe in kt520 kt520-sim; do
    while read -r option; do in_man "$exe.1" "$option"; done < <("$build/$exe" --help | options_of)
done

# The completion runs with a stand-in for bash-completion's helpers, on a typed command line.
# shellcheck source=/dev/null
source "$packaging/bash-completion/kt520-cli"
# shellcheck disable=SC2034 # cur and prev are the completion function's
_init_completion() {
    words=("${COMP_WORDS[@]}")
    cword=$COMP_CWORD
    cur=${words[cword]}
    prev=${words[cword - 1]}
}
_filedir() { COMPREPLY=(); }
compopt() { :; }
complete_line() { # WORD... (the last one is being typed): prints the offers
    COMP_WORDS=(kt520-cli "$@")
    COMP_CWORD=$#
    COMPREPLY=()
    _kt520_cli
    printf '%s\n' "${COMPREPLY[@]}"
}

verbs=$("$build/kt520-cli" --help | sed -n '/^Verbs:/,/^$/p' | awk 'NF > 1 { print $1 }')
[ -n "$verbs" ] || fail "kt520-cli --help lists no verbs"
offered_verbs=$(complete_line "")
for verb in $verbs; do
    grep -qx -- "$verb" <<<"$offered_verbs" || fail "completion does not offer the verb $verb"
    grep -qE "^\.B $verb( |$)" "$packaging/man/kt520-cli.1" || fail "kt520-cli.1 does not describe the verb $verb"
    offered=$(complete_line "$verb" --)
    while read -r option; do
        in_man kt520-cli.1 "$option"
        grep -qx -- "$option" <<<"$offered" || fail "completion of '$verb' does not offer $option"
    done < <("$build/kt520-cli" "$verb" --help | options_of)
done

# Values: a few that the verbs check, so the completion offers what they accept.
[ "$(complete_line port --single-port "")" = $'on\noff' ] || fail "port --single-port does not offer on and off"
[ "$(complete_line read --lang "" | tr '\n' ' ')" = "1 2 3 " ] || fail "--lang does not offer 1 2 3"
grep -qx COM16= <<<"$(complete_line port --set C)" || fail "port --set does not offer COM16="

if [ $failures -gt 0 ]; then
    echo "check-docs: $failures difference(s) between the programs and their pages" >&2
    exit 1
fi
echo "check-docs: the man pages and the completion cover every verb and option"
