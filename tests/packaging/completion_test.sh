#!/usr/bin/env bash
# The bash completion, row by row: the words typed before Tab | what Tab offers, sorted.
# Argument: the completion script.
set -uo pipefail
source "$1"
compopt() { :; }  # only a completion under way may set its options
scratch="$(mktemp -d)" && cd "$scratch" && touch sums.txt -- -n.txt || exit 1
status=0
while IFS='|' read -r typed offered; do
  read -ra COMP_WORDS <<<"intcalc $typed"
  if [[ -z "$typed" || "$typed" == *" " ]]; then COMP_WORDS+=(""); fi
  COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
  _intcalc
  mapfile -t sorted < <(printf '%s\n' "${COMPREPLY[@]}" | LC_ALL=C sort)
  if [[ "${sorted[*]}" != "$offered" ]]; then
    echo "intcalc $typed<Tab> offers '${sorted[*]}', not '$offered'"
    status=1
  fi
done <<'ROWS'
|-n.txt sums.txt
-|-V -e -h -r
--|-- --expression= --help --results --step --trace --version
--ex|--expression=
s|sums.txt
-e |
-re |
--expression =|
-e 1 s|sums.txt
-e2*3 s|sums.txt
-- -|-n.txt
-r -- --t|
ROWS
rm -rf "$scratch"
exit "$status"
