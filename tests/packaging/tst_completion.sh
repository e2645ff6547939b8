#!/usr/bin/env bash
# Completes typed kelvane-cli lines through the function the completion file registers.
set -u
source "$1"
complete=$(complete -p kelvane-cli) || exit 1
function=${complete#*-F }
function=${function%% *}
cd "$(mktemp -d)" && touch site.gwset notes.txt && trap 'rm -r "$PWD"' EXIT
status=0

completes() {
    read -ra COMP_WORDS <<<"$1"
    [[ $1 == *' ' ]] && COMP_WORDS+=("")
    COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
    "$function" kelvane-cli
    if [[ "${COMPREPLY[*]}" != "$2" ]]; then
        echo "\"$1\" completes to \"${COMPREPLY[*]}\", not \"$2\""
        status=1
    fi
}

completes "kelvane-cli ap" "apply"
completes "kelvane-cli read --mo" "--model"
completes "kelvane-cli read --model T" "TK-0 TK-1 TK-3 TK-3Max"
completes "kelvane-cli --port /dev/ttyUSB0 apply " "site.gwset"
completes "kelvane-cli read --out " "notes.txt site.gwset"
exit $status
