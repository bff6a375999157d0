# Bash completion for quillon-batch: its commands, each command's options,
# the values of --device, --format and --kinsoku, and files or folders where a command
# takes them. Self-contained: plain `complete -F`, nothing from the
# bash-completion package. Installed as
# share/bash-completion/completions/quillon-batch; to try it without
# installing, `source` this file.

# The options of a command, as `quillon-batch COMMAND --help` lists them.
_quillon_batch_options()
{
    local folder="--only --suppress --help"
    case "$1" in
    layout) echo "--chars-per-line --lines-per-page --options --kinsoku --upright-digits --ruby --help" ;;
    list | words) echo "$folder" ;;
    estimate) echo "--all --generic --kinsoku --upright-digits --ruby --changes-from --since-print --missing-from --pattern --jobs $folder" ;;
    checklist) echo "--format --scenes --characters --unprinted --out --yes --jobs $folder" ;;
    print) echo "--device --bundle-by-actor --dest --generic --no-emphasis --no-log --log --open-log --kinsoku --upright-digits --ruby --changes-from --since-print --missing-from --pattern --jobs $folder" ;;
    survey) echo "--subfolders --help" ;;
    convert) echo "--subfolders --log --yes --jobs --help" ;;
    voices) echo "--pattern --check-content --csv --sort --move --by-scene $folder" ;;
    changes) echo "--since-print --notes --csv $folder" ;;
    esac
}

# Files (-f) or folders (-d) that start with $cur, one per line so that
# names with spaces stay whole; bash then adds the "/" of a folder.
_quillon_batch_paths()
{
    mapfile -t COMPREPLY < <(compgen "$1" -- "$cur")
    compopt -o filenames 2>/dev/null
}

_quillon_batch()
{
    local cur=${COMP_WORDS[COMP_CWORD]}
    local prev=""
    ((COMP_CWORD > 0)) && prev=${COMP_WORDS[COMP_CWORD - 1]}
    local commands="layout list estimate checklist words print survey convert voices changes help"
    COMPREPLY=()

    # The command is the first word after the program name and --trace.
    local i=1 command=""
    while ((i < COMP_CWORD)); do
        case "${COMP_WORDS[i]}" in
        --trace) ;;
        *)
            command=${COMP_WORDS[i]}
            break
            ;;
        esac
        ((i++))
    done

    if [[ -z $command ]]; then
        COMPREPLY=($(compgen -W "$commands --trace --help -h" -- "$cur"))
        return 0
    fi
    if [[ $command == help || $command == --help || $command == -h ]]; then
        ((COMP_CWORD == i + 1)) && COMPREPLY=($(compgen -W "$commands" -- "$cur"))
        return 0
    fi

    # The value of the option before the cursor.
    case "$prev" in
    --device)
        COMPREPLY=($(compgen -W "png bmp pdf printer" -- "$cur"))
        return 0
        ;;
    --format)
        COMPREPLY=($(compgen -W "csv txt" -- "$cur"))
        return 0
        ;;
    --kinsoku)
        COMPREPLY=($(compgen -W "off strict loose" -- "$cur"))
        return 0
        ;;
    --dest | --out | --sort | --changes-from | --missing-from)
        _quillon_batch_paths -d
        return 0
        ;;
    --log | --csv)
        _quillon_batch_paths -f
        return 0
        ;;
    --chars-per-line | --lines-per-page | --options | --only | --suppress | --pattern | --jobs)
        return 0
        ;;
    esac

    if [[ $cur == -* ]]; then
        COMPREPLY=($(compgen -W "$(_quillon_batch_options "$command")" -- "$cur"))
        return 0
    fi
    # The words that are not options: a screenplay file for layout, the
    # definition file as the third word of survey and convert, else folders.
    case "$command" in
    layout | survey | convert) _quillon_batch_paths -f ;;
    list | estimate | checklist | words | print | voices | changes) _quillon_batch_paths -d ;;
    esac
    return 0
}

complete -F _quillon_batch quillon-batch
