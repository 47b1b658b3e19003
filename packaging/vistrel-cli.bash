# bash completion for vistrel-cli                          -*- shell-script -*-
# SPDX-FileCopyrightText: 2026 Vistrel developers
# SPDX-License-Identifier: MIT
#
# The commands, the actions of a command (filter list, filter count, ...),
# the options and their fixed values (--by zip|city|state|country) are read
# from the tool's own help, so the completion follows the tool as it grows.
# A placeholder in the help says what an option's value is: DIR a folder,
# FILE a file, TEXT after --filter or --name a saved filter of the data
# directory that --data names on the line.

# The usage forms of a command, one a line: "vistrel-cli filter count --data
# DIR ...", continuation lines joined to their form.
_vistrel_cli_forms() {
    "$1" "$2" --help 2>/dev/null | awk -v cmd="$2" '
        /^[[:space:]]*$/ { exit }
        { sub(/^Usage:/, "") }
        $1 == "vistrel-cli" && $2 == cmd { if (form != "") print form; form = $0; next }
        form != "" { form = form " " $0 }
        END { if (form != "") print form }'
}

# The descriptions of the saved filters of a data directory, one a line, read
# from the csv form of "filter list" (first field, quotes undone).
_vistrel_cli_filter_names() {
    local prog=$1 data=$2 database=$3
    local args=(filter list --data "$data" --format csv)
    [[ -n $database ]] && args+=(--database "$database")
    "$prog" "${args[@]}" 2>/dev/null | awk '
        NR == 1 { next }
        {
            sub(/\r$/, "")
            if (substr($0, 1, 1) != "\"") { sub(/,.*/, ""); print; next }
            name = ""; rest = substr($0, 2)
            while ((i = index(rest, "\"")) > 0) {
                name = name substr(rest, 1, i - 1)
                if (substr(rest, i + 1, 1) != "\"") break
                name = name "\""; rest = substr(rest, i + 2)
            }
            print name
        }'
}

# The value of an option given earlier on the line (--data DIR or --data=DIR).
_vistrel_cli_option_value() {
    local name=$1 i
    for ((i = 2; i < COMP_CWORD; i++)); do
        if [[ ${COMP_WORDS[i]} == "$name" && $((i + 1)) -lt $COMP_CWORD ]]; then
            printf '%s\n' "${COMP_WORDS[i + 1]}"
            return
        fi
        if [[ ${COMP_WORDS[i]} == "$name="* ]]; then
            printf '%s\n' "${COMP_WORDS[i]#*=}"
            return
        fi
    done
}

# Offers each line of $1 that begins with the word being completed, quoted
# for the shell (filter descriptions hold blanks).
_vistrel_cli_offer_lines() {
    local lines=$1 cur=$2 line
    cur=${cur#[\"\']}
    cur=${cur//\\/}
    COMPREPLY=()
    while IFS= read -r line; do
        [[ -n $line && $line == "$cur"* ]] && COMPREPLY+=("$(printf '%q' "$line")")
    done <<<"$lines"
}

_vistrel_cli() {
    local prog=${COMP_WORDS[0]} cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD - 1]}
    COMPREPLY=()

    if ((COMP_CWORD == 1)); then
        local commands
        commands=$("$prog" --help 2>/dev/null | awk '/^Commands:/ { on = 1; next } on && NF == 0 { exit } on { print $1 }')
        mapfile -t COMPREPLY < <(compgen -W "$commands --help --version" -- "$cur")
        return
    fi

    local command=${COMP_WORDS[1]} forms actions action=""
    forms=$(_vistrel_cli_forms "$prog" "$command")
    [[ -z $forms ]] && return
    actions=$(awk '$3 ~ /^[a-z][a-z-]*$/ { print $3 }' <<<"$forms")
    if [[ -n $actions ]]; then
        if ((COMP_CWORD == 2)); then
            mapfile -t COMPREPLY < <(compgen -W "$actions" -- "$cur")
            return
        fi
        action=${COMP_WORDS[2]}
        forms=$(awk -v a="$action" '$3 == a' <<<"$forms")
    fi

    # The value of an option: what follows it in the usage says which.
    if [[ $prev == --* ]]; then
        local placeholder
        placeholder=$(tr -d '[]' <<<"$forms" | awk -v opt="$prev" '
            { for (i = 1; i < NF; i++) if ($i == opt) { print $(i + 1); exit } }')
        if [[ -n $placeholder && $placeholder != --* ]]; then
            case $placeholder in
                *\|*) mapfile -t COMPREPLY < <(compgen -W "${placeholder//|/ }" -- "$cur") ;;
                DIR* | *_DIR)
                    compopt -o filenames 2>/dev/null
                    mapfile -t COMPREPLY < <(compgen -d -- "$cur")
                    ;;
                FILE*)
                    compopt -o filenames 2>/dev/null
                    mapfile -t COMPREPLY < <(compgen -f -- "$cur")
                    ;;
                TEXT)
                    # New descriptions (filter add --name, filter copy --as) have nothing to offer.
                    if [[ $prev == --filter || ($prev == --name && $action != add) ]]; then
                        local data
                        data=$(_vistrel_cli_option_value --data)
                        data=${data/#\~/$HOME}
                        [[ -n $data ]] && _vistrel_cli_offer_lines \
                            "$(_vistrel_cli_filter_names "$prog" "$data" "$(_vistrel_cli_option_value --database)")" "$cur"
                    fi
                    ;;
            esac
            return
        fi
    fi

    local replies=()
    if [[ $cur == -* || -z $cur ]]; then
        local options word given=" ${COMP_WORDS[*]:2:COMP_CWORD-2} "
        options=$(grep -o -- '--[a-z][a-z-]*' <<<"$forms" | sort -u)
        for word in $options --help; do
            [[ $given == *" $word "* || $word != "$cur"* ]] || replies+=("$word")
        done
    fi
    # A file name where the usage takes one as a plain word (import FILE.csv).
    if [[ $cur != -* ]] && sed 's/--[a-z-]* FILE[^ ]*//g' <<<"$forms" | grep -q -- ' FILE'; then
        compopt -o filenames 2>/dev/null
        mapfile -t -O "${#replies[@]}" replies < <(compgen -f -- "$cur")
    fi
    COMPREPLY=("${replies[@]}")
}

complete -F _vistrel_cli vistrel-cli
