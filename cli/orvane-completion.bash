# Bash completion for orvane, installed as bash-completion/completions/orvane.
# The commands and each command's options are read from the program's own help,
# so they follow the installed version; the lists below stand in when it cannot
# run. Port names come from `orvane ports`. Needs nothing from the
# bash-completion package.

# The commands of the main help, or the options of a command's help; an option
# that takes a value ends in "=".
_orvane_help_words()
{
    local line
    while IFS= read -r line; do
        if [[ $1 == commands && $line =~ ^\ \ ([a-z]+) ]]; then
            echo "${BASH_REMATCH[1]}"
        elif [[ $1 == options && $line =~ ^\ +(-[a-zA-Z],\ +)?(--[a-z][a-z-]*)(\ <)? ]]; then
            echo "${BASH_REMATCH[2]}${BASH_REMATCH[3]:+=}"
        fi
    done
}

_orvane_commands()
{
    local words
    words=$("$1" --help 2>/dev/null | _orvane_help_words commands)
    echo "${words:-info import export ports send play edit record}"
}

_orvane_options()
{
    local words
    words=$("$1" "$2" --help 2>/dev/null | _orvane_help_words options)
    [[ -n $words ]] && { echo "$words"; return; }
    case $2 in
    info) words="--json" ;;
    import) words="--bank= --out= --from= --one-bank --name= --resample= --start= --length= --channel=
        --trim-silence --normalize" ;;
    export) words="--bank= --out= --trim --all --out-dir=" ;;
    send) words="--port= --channel= --banks= --speed=" ;;
    play) words="--bank= --device=" ;;
    edit) words="--bank= --out= --range= --crop --delete --silence --gain= --normalize --fade-in --fade-out
        --reverse --remove-dc --trim-silence --snap" ;;
    record) words="--bank= --out= --from= --one-bank --device= --threshold= --seconds= --channel=" ;;
    esac
    printf '%s\n' $words --help
}

# Directories and the files whose names end in one of the given extensions (in
# any case); bash quotes them as file names.
_orvane_files()
{
    local cur=$1 file extension
    shift
    compopt -o filenames 2>/dev/null
    while IFS= read -r file; do
        [[ -d $file ]] && { COMPREPLY+=("$file"); continue; }
        for extension; do
            [[ ${file,,} == *."$extension" ]] && { COMPREPLY+=("$file"); break; }
        done
    done < <(compgen -f -- "$cur")
}

# The MIDI destinations' names; quoted like file names, as they hold spaces and colons.
_orvane_ports()
{
    local number name
    compopt -o filenames 2>/dev/null
    while IFS=$'\t' read -r number name; do
        [[ -n $name && $name == "$2"* ]] && COMPREPLY+=("$name")
    done < <("$1" ports 2>/dev/null)
}

_orvane_words()
{
    mapfile -t COMPREPLY < <(compgen -W "$1" -- "$2")
}

# The value of OPTION for COMMAND.
_orvane_value()
{
    local program=$1 command=$2 option=$3 cur=$4
    case $option in
    --bank | --banks) _orvane_words "1 2 3 4 5 6 7" "$cur" ;;
    --channel) [[ $command == send ]] && _orvane_words "$(echo {1..16})" "$cur" || _orvane_words "mix left right" "$cur" ;;
    --resample) _orvane_words "linear hq" "$cur" ;;
    --speed) _orvane_words "100 75 50 25" "$cur" ;;
    --port) _orvane_ports "$program" "$cur" ;;
    --out) [[ $command == export ]] && _orvane_files "$cur" wav || _orvane_files "$cur" mid ;;
    --from) _orvane_files "$cur" mid ;;
    --out-dir) compopt -o filenames 2>/dev/null; mapfile -t COMPREPLY < <(compgen -d -- "$cur") ;;
    esac
}

_orvane()
{
    local program=${COMP_WORDS[0]/#\~/$HOME} cur=$2 prev=$3 command=${COMP_WORDS[1]} options
    COMPREPLY=()
    # The word as typed, without an opening quote or backslashes.
    cur=${cur#[\"\']}
    cur=${cur//\\/}
    # --option=value: bash splits the words at the "=".
    [[ $prev == = && $COMP_CWORD -ge 2 ]] && prev=${COMP_WORDS[COMP_CWORD - 2]}
    [[ $cur == = ]] && cur=

    if ((COMP_CWORD == 1)); then
        [[ $cur == -* ]] && _orvane_words "--help --version" "$cur" || _orvane_words "$(_orvane_commands "$program")" "$cur"
        return
    fi
    options=$(_orvane_options "$program" "$command")
    if [[ $'\n'$options$'\n' == *$'\n'"$prev="$'\n'* ]]; then
        _orvane_value "$program" "$command" "$prev" "$cur"
    elif [[ $cur == -* ]]; then
        _orvane_words "${options//=/}" "$cur"
    elif [[ $command == import ]]; then
        _orvane_files "$cur" wav aif aiff aifc
    elif [[ $command =~ ^(info|export|send|play|edit)$ ]]; then
        _orvane_files "$cur" mid
    fi
}

complete -F _orvane orvane
