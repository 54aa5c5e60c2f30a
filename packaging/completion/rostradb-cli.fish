# fish completion of rostradb-cli: commands, options, and the column names
# (from `rostradb-cli columns`) for --where, filters and set's assignments.

function __rostradb_cli_columns
    rostradb-cli columns 2>/dev/null | awk -F'\t' 'NR > 1 { print $1; n = split($5, a, ","); for (i = 1; i <= n; i++) print a[i] }'
end

function __rostradb_cli_writable_columns
    rostradb-cli columns 2>/dev/null | awk -F'\t' 'NR > 1 && $4 == "yes" { print $1 }'
end

# The arguments after the command, options left out.
function __rostradb_cli_argument_count
    set -l words (commandline -opc)
    set -l count 0
    set -l skip 0
    for word in $words[3..-1]
        if test $skip -eq 1
            set skip 0
        else if contains -- $word -o --output --where
            set skip 1
        else if not string match -q -- '-*' $word
            set count (math $count + 1)
        end
    end
    echo $count
end

function __rostradb_cli_argument -a command number
    __fish_seen_subcommand_from $command; and test (__rostradb_cli_argument_count) -eq $number
end

set -l commands export import diff apply search set show columns
complete -c rostradb-cli -f
complete -c rostradb-cli -n "not __fish_seen_subcommand_from $commands" -a "$commands"
complete -c rostradb-cli -l help -d 'Describe the program or the command'
complete -c rostradb-cli -n "not __fish_seen_subcommand_from $commands" -l version -d 'Print the version'
complete -c rostradb-cli -n '__fish_seen_subcommand_from export' -s o -l output -r -F -d 'Write to FILE'
complete -c rostradb-cli -n '__fish_seen_subcommand_from export' -l no-bom -d 'No UTF-8 byte-order mark'
complete -c rostradb-cli -n '__fish_seen_subcommand_from export' -l where -x -a '(__rostradb_cli_columns)' -d 'Only the people a filter lists'
complete -c rostradb-cli -n '__fish_seen_subcommand_from import apply set' -l dry-run -d 'List the changes, write nothing'
complete -c rostradb-cli -n '__fish_seen_subcommand_from import apply set' -l force -d 'Write over values changed meanwhile'
complete -c rostradb-cli -n '__fish_seen_subcommand_from diff show' -l json -d 'JSON output'
for command in export import apply search set show
    complete -c rostradb-cli -n "__rostradb_cli_argument $command 0" -a '(__fish_complete_directories)'
end
complete -c rostradb-cli -n '__rostradb_cli_argument diff 0; or __rostradb_cli_argument diff 1' -a '(__fish_complete_directories)'
complete -c rostradb-cli -n '__rostradb_cli_argument import 1; or __rostradb_cli_argument apply 1' -F
complete -c rostradb-cli -n '__rostradb_cli_argument search 1; or __rostradb_cli_argument set 1' -a '(__rostradb_cli_columns)'
complete -c rostradb-cli -n '__fish_seen_subcommand_from set; and test (__rostradb_cli_argument_count) -ge 2' -a '(__rostradb_cli_writable_columns)'
