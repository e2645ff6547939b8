#!/usr/bin/env bash
# Completes typed lines through the function that the completion file registers.
source "$1" && function=$(complete -p kelvane-cli | sed 's/.*-F \([^ ]*\).*/\1/') && [[ $function ]] || exit 1
cd "$(mktemp -d)" && touch site.gwset notes.txt && trap 'rm -r "$PWD"' EXIT && status=0
while IFS='|' read -r line expected; do
    read -ra COMP_WORDS <<<"$line" && [[ $line == *' ' ]] && COMP_WORDS+=("")
    COMP_CWORD=$((${#COMP_WORDS[@]} - 1)) && "$function" kelvane-cli
    [[ "${COMPREPLY[*]}" == "$expected" ]] || { echo "\"$line\": \"${COMPREPLY[*]}\""; status=1; }
done <<'LINES'
kelvane-cli ap|apply
kelvane-cli read --mo|--model
kelvane-cli read --model T|TK-0 TK-1 TK-3 TK-3Max
kelvane-cli --port /dev/ttyUSB0 apply |site.gwset
LINES
exit $status
