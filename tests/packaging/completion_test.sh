#!/usr/bin/env bash
# The bash completion, row by row: the words typed before Tab | what Tab offers, sorted.
# Argument: the completion script.
source "$1"
compopt() { :; }  # only a completion under way may set its options
scratch="$(mktemp -d)" && cd "$scratch" && touch sums.txt -- -n.txt || exit 1
status=0
while IFS='|' read -r typed offered; do
  read -ra COMP_WORDS <<<"intcalc $typed"
  [[ -n "$typed" && "$typed" != *" " ]] || COMP_WORDS+=("")
  COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
  _intcalc
  mapfile -t sorted < <(printf '%s\n' "${COMPREPLY[@]}" | LC_ALL=C sort)
  [[ "${sorted[*]}" == "$offered" ]] || { echo "$typed<Tab>: '${sorted[*]}'" && status=1; }
done <<'ROWS'
|-n.txt sums.txt
-|-V -e -h -r
--|-- --expression= --help --no-live --results --step --trace --version
-e |
-re |
--expression =|
-e 1 s|sums.txt
-- -|-n.txt
ROWS
rm -rf "$scratch"
exit "$status"
