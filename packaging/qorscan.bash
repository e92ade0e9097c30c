# bash completion for qorscan: its options, the values of --output, --overwrite and --encoding, the
# element type names of --enable and --type, the values of --format and --severity, the checks of
# --disable, folders for --result-folder and files elsewhere.

_qorscan() {
    local cur=${COMP_WORDS[COMP_CWORD]}
    local prev=${COMP_WORDS[COMP_CWORD - 1]}
    local options="--settings --output --one-workbook --csv-raw --encoding --all --enable --cabinets
        --result-folder --now --overwrite --statistics --info --quiet --threads --jobs --compare
        --exit-code --break-lock --find --type --format --recursive --check --severity --disable
        --help --version"
    # DAT(B) and its kin are offered as DATB...: qorscan takes both, and the short form needs
    # no quoting in the shell.
    local types="AI AIC AO AOC DI DIC DO DOC PIDCON MOTCON DATB DATI DATIL DATR"
    COMPREPLY=()
    case $prev in
    --output)
        mapfile -t COMPREPLY < <(compgen -W "csv html xlsx" -- "$cur")
        return
        ;;
    --overwrite)
        mapfile -t COMPREPLY < <(compgen -W "ask yes no" -- "$cur")
        return
        ;;
    --encoding)
        mapfile -t COMPREPLY < <(compgen -W "auto utf-8 windows-1250 windows-1252 iso-8859-1" -- "$cur")
        return
        ;;
    --format)
        mapfile -t COMPREPLY < <(compgen -W "text csv json" -- "$cur")
        return
        ;;
    --severity)
        mapfile -t COMPREPLY < <(compgen -W "error warning note" -- "$cur")
        return
        ;;
    --disable)
        mapfile -t COMPREPLY < <(compgen -W "duplicate-designation duplicate-name
            duplicate-name-plant range-inverted range-not-number empty-name empty-descr value-cut
            module-unlabelled cabinet-row-unused module-two-cabinets" -- "$cur")
        return
        ;;
    --enable | --type)
        mapfile -t COMPREPLY < <(compgen -W "$types" -- "${cur^^}")
        return
        ;;
    --result-folder)
        compopt -o filenames 2>/dev/null
        mapfile -t COMPREPLY < <(compgen -d -- "$cur")
        return
        ;;
    --now | --threads | --jobs | --find)
        return
        ;;
    --settings | --cabinets)
        compopt -o filenames 2>/dev/null
        mapfile -t COMPREPLY < <(compgen -f -- "$cur")
        return
        ;;
    esac
    if [[ $cur == -* ]]; then
        mapfile -t COMPREPLY < <(compgen -W "$options" -- "$cur")
        return
    fi
    # Exports, and folders to walk down to them.
    compopt -o filenames 2>/dev/null
    mapfile -t COMPREPLY < <(compgen -f -X '!*.[qQ][oO][rR]' -- "$cur"; compgen -d -- "$cur")
}
complete -F _qorscan qorscan
