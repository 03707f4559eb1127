#!/usr/bin/env bash
# Completes words as bash would, in a bash with nothing but the script
# sourced (a fresh machine may lack the bash-completion package), and checks
# what is offered: "line|what must be offered, space-separated" per case,
# the last word being the one completed; an empty offer means none. Bash
# hands the function the word as readline replaces it, without an opening
# quote, and the word before it.
set -euo pipefail
script=$1
failed=0
while IFS='|' read -r line expected; do
    [[ -z $line ]] && continue
    offered=$(bash --norc --noprofile -c '
        source "$1"
        read -ra COMP_WORDS <<<"$2"
        [[ $2 == *" " ]] && COMP_WORDS+=("")
        COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
        word=${COMP_WORDS[COMP_CWORD]}
        word=${word#["$3"]}
        _pipwright_cli pipwright-cli "$word" "${COMP_WORDS[COMP_CWORD - 1]}"
        echo "${COMPREPLY[*]}"' completion "$script" "$line" "'\"")
    # The order of the offer is bash'"'"'s to choose; compare it sorted.
    sorted=$(tr ' ' '\n' <<<"$offered" | sort | tr '\n' ' ')
    want=$(tr ' ' '\n' <<<"$expected" | sort | tr '\n' ' ')
    if [[ $sorted != "$want" ]]; then
        echo "FAIL: '$line' offered '$offered', expected '$expected'" >&2
        failed=1
    fi
done <<'CASES'
pipwright-cli --a|--at-least --at-most
pipwright-cli --at-least 1 --c|--csv
pipwright-cli 2d6 --v|--versus --version
pipwright-cli --at-least --|
pipwright-cli --between 3 --|
pipwright-cli -- --c|
pipwright-cli 2d|
pipwright-cli --j|--json
pipwright-cli --f|--file
pipwright-cli --file no-such-folder/x|
pipwright-cli --at-least 2 'largest_c|largest_count( largest_count( 
pipwright-cli -- "2*(1d6+hi|2*(1d6+highest( 2*(1d6+highest( 
pipwright-cli 'LA|largest_count( largest_straight(
pipwright-cli x+l|x+let x+lowest( x+largest_count( x+largest_straight(
pipwright-cli 2d6kh|
pipwright-cli 1d6r|
CASES
# complete registers the function for the program's name.
bash --norc --noprofile -c 'source "$1"; complete -p pipwright-cli' completion "$script" | grep -q _pipwright_cli \
    || { echo "FAIL: no completion registered for pipwright-cli" >&2; failed=1; }
exit $failed
