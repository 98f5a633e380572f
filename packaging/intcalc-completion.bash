# bash completion for intcalc: installed as /usr/share/bash-completion/completions/intcalc.
# The options after "-" or "--", nothing for the EXPR of -e or --expression, file names
# for every other word, and for every word after "--".

_intcalc() {
  local current="${COMP_WORDS[COMP_CWORD]}" word index
  local expression=false files_only=false
  # The words before the current one: whether an EXPR is due now, or "--" came. Bash splits
  # --expression=EXPR at the "=", which belongs to the option.
  for ((index = 1; index < COMP_CWORD; index++)); do
    word="${COMP_WORDS[index]}"
    if $expression; then
      [[ "$word" == "=" ]] || expression=false
    elif ! $files_only; then
      case "$word" in
        --) files_only=true ;;
        --expression) expression=true ;;
        --*) ;;
        -*) [[ "$word" =~ ^-[^e]*e$ ]] && expression=true ;;  # -e last in its cluster
      esac
    fi
  done
  [[ "$current" == "=" ]] && current=""
  COMPREPLY=()
  if $expression; then return; fi
  if ! $files_only && [[ "$current" == --* ]]; then
    mapfile -t COMPREPLY < <(compgen -W '--results --expression= --trace --step --no-live
      --help --version --' -- "$current")
    [[ "${COMPREPLY[*]}" == *= ]] && compopt -o nospace
  elif ! $files_only && [[ "$current" == -* ]]; then
    mapfile -t COMPREPLY < <(compgen -W '-r -e -h -V' -- "$current")
  else
    compopt -o filenames
    mapfile -t COMPREPLY < <(compgen -f -- "$current")
  fi
}
complete -F _intcalc intcalc
