# bash completion for trk, the command-line tool of Velocitra Track Analyse.
_trk() {
    local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD - 1]}
    local command="" i
    for ((i = 1; i < COMP_CWORD; i++)); do
        case ${COMP_WORDS[i]} in
            info | render | car | lap | compare | gallery)
                command=${COMP_WORDS[i]}
                break
                ;;
        esac
    done

    case $prev in
        -o | --output)
            if [[ $command == gallery ]]; then
                COMPREPLY=($(compgen -d -- "$cur"))
                return
            fi
            case $command in
                render) COMPREPLY=($(compgen -f -X '!*.@(png|jpg|jpeg)' -- "$cur")) ;;
                compare) COMPREPLY=($(compgen -f -X '!*.@(png|svg|pdf)' -- "$cur")) ;;
                *) COMPREPLY=($(compgen -f -X '!*.car' -- "$cur")) ;;
            esac
            COMPREPLY+=($(compgen -d -- "$cur"))
            return
            ;;
        -d | --directory)
            COMPREPLY=($(compgen -d -- "$cur"))
            return
            ;;
        --quality | --size | -j | --jobs | --title)
            return
            ;;
        --format)
            COMPREPLY=($(compgen -W "jpg png" -- "$cur"))
            return
            ;;
    esac

    local options
    case $command in
        "") options="-h --help -V --version info render car lap compare gallery" ;;
        info) options="-h --help --json --csv -r --recursive -j --jobs" ;;
        render) options="-h --help --water --objects --ghost --ghost-speed -o --output -d --directory --format --quality --size -r --recursive -j --jobs" ;;
        car) options="-h --help -o --output --all -d --directory -r --recursive -j --jobs" ;;
        lap) options="-h --help --json --csv" ;;
        compare) options="-h --help -o --output --csv" ;;
        gallery) options="-h --help -o --output --title -r --recursive -j --jobs" ;;
    esac
    if [[ -z $command || $cur == -* ]]; then
        COMPREPLY=($(compgen -W "$options" -- "$cur"))
    else
        # Tracks, and folders on the way to them.
        COMPREPLY=($(compgen -f -X '!*.trk' -- "$cur") $(compgen -d -- "$cur"))
    fi
}
shopt -s extglob
complete -o filenames -F _trk trk
