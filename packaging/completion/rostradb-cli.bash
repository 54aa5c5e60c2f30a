# bash completion of rostradb-cli: its commands, their options, and the
# column names a filter (search, export --where, set) and an assignment (set)
# take. The names come from `rostradb-cli columns`, the program's own list.

# The column names and aliases (writable columns only with "writable"),
# asked of the program being completed once per shell.
_rostradb_cli_columns()
{
    local program=$1 which=$2 var=_rostradb_cli_columns_$2
    if [[ -z ${!var-} ]]; then
        local list
        if [[ $which == writable ]]; then
            list=$("$program" columns 2>/dev/null | awk -F'\t' 'NR > 1 && $4 == "yes" { print $1 }')
        else
            list=$("$program" columns 2>/dev/null |
                awk -F'\t' 'NR > 1 { print $1; n = split($5, a, ","); for (i = 1; i <= n; i++) print a[i] }')
        fi
        printf -v "$var" '%s' "$list"
    fi
    printf '%s\n' "${!var}"
}

# Completes the column name at the end of a filter or an assignment. `word`
# is the text readline replaces: inside an open quote the whole filter typed
# so far, otherwise one shell word (where "=" and ":" also end a word).
_rostradb_cli_complete_column()
{
    local program=$1 which=$2 word=$3
    local before=${COMP_LINE:0:COMP_POINT-${#word}}
    # Right after an operator a value is typed, not a column.
    case ${before: -1} in
    [=:\<\>!]) return ;;
    esac
    local term=${word##*[[:space:]]} head=${word%"${word##*[[:space:]]}"}
    [[ $term == *[=:\<\>!]* ]] && return
    local name
    while IFS= read -r name; do
        [[ $name == "$term"* ]] && COMPREPLY+=("$head$name")
    done < <(_rostradb_cli_columns "$program" "$which")
    compopt -o nospace 2>/dev/null
}

_rostradb_cli()
{
    local cur prev words cword
    _init_completion -n '=:<>!' || return
    # readline's own word ($2): inside an open quote, all of it after the
    # quote; otherwise the text since the last space, "=" or ":".
    local program=${words[0]} word=$2

    if ((cword == 1)); then
        COMPREPLY=($(compgen -W 'export import diff apply search set show columns --help --version' -- "$cur"))
        return
    fi
    local command=${words[1]}
    case $prev in
    -o | --output)
        _filedir
        return
        ;;
    --where)
        _rostradb_cli_complete_column "$program" all "$word"
        return
        ;;
    esac
    if [[ $cur == -* ]]; then
        local options='--help'
        case $command in
        export) options+=' --output --no-bom --where' ;;
        import | apply | set) options+=' --dry-run --force' ;;
        diff | show) options+=' --json' ;;
        esac
        COMPREPLY=($(compgen -W "$options" -- "$cur"))
        return
    fi

    # Which argument this is, not counting options and their values.
    local i argument=0
    for ((i = 2; i < cword; i++)); do
        case ${words[i]} in
        -o | --output | --where) ((i++)) ;;
        -*) ;;
        *) ((argument++)) ;;
        esac
    done
    case $command:$argument in
    export:0 | import:0 | diff:[01] | apply:0 | search:0 | set:0 | show:0) _filedir -d ;;
    import:1 | apply:1) _filedir ;;
    search:1 | set:1) _rostradb_cli_complete_column "$program" all "$word" ;;
    set:*) _rostradb_cli_complete_column "$program" writable "$word" ;;
    esac
}
complete -F _rostradb_cli rostradb-cli
