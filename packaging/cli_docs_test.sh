#!/usr/bin/env bash
# The manual page and the bash completion of vistrel-cli against the tool's
# own help: every command, action, option and fixed value that the help names
# must have its place in the manual page (under the command's heading) and be
# offered by the completion; filter names are completed from a data directory.
#
#   cli_docs_test.sh VISTREL_CLI MAN_PAGE COMPLETION
set -uo pipefail
cli=$1 man=$2 completion=$3
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# shellcheck source=/dev/null
source "$completion"
# Runs the completion on a command line; the last word (empty after a
# trailing blank) is the one completed. Prints the offers, one a line.
complete_line() {
  read -ra COMP_WORDS <<<"$1"
  COMP_WORDS[0]=$cli
  [[ $1 == *" " ]] && COMP_WORDS+=("")
  COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
  COMPREPLY=()
  _vistrel_cli 2>/dev/null
  printf '%s\n' "${COMPREPLY[@]}"
}
offers() {
  local out
  out=$(complete_line "$1")
  grep -qxF -- "$2" <<<"$out"
}

# The text of the manual page under the heading `.SS name` (up to the next
# heading), with roff's escaped dashes made plain.
man_section() {
  sed 's/\\-/-/g' "$man" | awk -v want="$1" '
    /^\.S[SH] / { h = $0; sub(/^\.S[SH] /, "", h); gsub(/"/, "", h); on = (h == want); next }
    on'
}

commands=$("$cli" --help | awk '/^Commands:/ { on = 1; next } on && NF == 0 { exit } on { print $1 }')
[[ -n $commands ]] || fail "no commands in vistrel-cli --help"
for command in $commands; do
  offers "vistrel-cli ${command:0:2}" "$command" || fail "completion does not offer the command $command"
  [[ -n $(man_section "$command") ]] || fail "the manual page has no section '$command'"
  # One usage form a line, continuation lines joined.
  forms=$(_vistrel_cli_forms "$cli" "$command")
  [[ -n $forms ]] || fail "$command --help shows no usage"
  while IFS= read -r form; do
    action=$(awk '$3 ~ /^[a-z][a-z-]*$/ { print $3 }' <<<"$form")
    where="$command${action:+ $action}"
    section=$(man_section "$where")
    if [[ -z $section ]]; then
      fail "the manual page has no section '$where'"
      continue
    fi
    # The options the section describes: the first one of each .TP tag line.
    items=$(awk '/^\.TP/ { getline; if (match($0, /--[a-z][a-z-]*/)) print substr($0, RSTART, RLENGTH) }' <<<"$section")
    [[ -n $action ]] && { offers "vistrel-cli $command ${action:0:2}" "$action" || fail "completion does not offer '$where'"; }
    for option in $(grep -o -- '--[a-z][a-z-]*' <<<"$form" | sort -u); do
      grep -qxF -- "$option" <<<"$items" || fail "the manual page's '$where' does not describe $option (.TP)"
      offers "vistrel-cli $where --" "$option" || fail "completion does not offer $option for '$where'"
      # A value list (--by zip|city|state|country): every value, in both.
      values=$(tr -d '[]' <<<"$form" | awk -v opt="$option" '{ for (i = 1; i < NF; i++) if ($i == opt) print $(i + 1) }')
      if [[ $values == *"|"* ]]; then
        for value in ${values//|/ }; do
          grep -qw -- "$value" <<<"$section" || fail "the manual page's '$where' does not name $option $value"
          offers "vistrel-cli $where $option " "$value" || fail "completion does not offer $option $value for '$where'"
        done
      fi
    done
  done <<<"$forms"
done

# Filter names come from the data directory on the line, quoted for the shell.
data=$(mktemp -d)
trap 'rm -rf "$data"' EXIT
"$cli" init --data "$data/d" --demo --contacts 50 >/dev/null 2>&1 || fail "init --demo failed"
odd='Odd, "quoted" name'
first=$("$cli" filter list --data "$data/d" --format csv | sed -n '2s/,.*//p')
"$cli" filter copy --data "$data/d" --name "$first" --as "$odd" >/dev/null || fail "filter copy failed"
expected=$("$cli" filter list --data "$data/d" --format csv | tail -n +2 | wc -l)
got=$(complete_line "vistrel-cli analyse --data $data/d --filter " | wc -l)
[[ $got -eq $expected ]] || fail "--filter offers $got names, filter list has $expected"
mapfile -t quoted < <(complete_line "vistrel-cli filter count --data $data/d --name Odd")
[[ ${#quoted[@]} -eq 1 ]] && eval "back=${quoted[0]}" && [[ $back == "$odd" ]] ||
  fail "the name '$odd' comes back as '${quoted[*]}'"

if ((failures > 0)); then
  echo "$failures failures. A new command, action or option belongs in the command's --help, in"
  echo "packaging/vistrel-cli.1.in under its heading, and (through the help) in the completion."
  exit 1
fi
echo "manual page and completion cover every command and option of vistrel-cli --help"
