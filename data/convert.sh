# convert.sh - Morvane's batch driver. Every conversion runs through it:
#
#     /bin/sh convert.sh ROUTE FILE [pause]
#
# ROUTE  FILE (the second argument)
# hevea       the TeX file name without its extension; HeVeA's and hacha's
#             messages are appended to FILE.hlog
# tth         the TeX file path without its extension; writes FILE.htm,
#             messages appended to FILE.tlog
# dvi, pdf    the TeX file (latex / pdflatex)
# texify      the TeX file name without its extension (texi2dvi)
# tex4ht      the document's base name; it replaces %2 in the command line.
#             A third argument "pause" waits for Enter after the run.
# latex2html  the TeX file; "pause" as for tex4ht
# latexml     the TeX file's full path; the third argument names the page
#             (NAME.html, .xhtml or .xml) that latexmlc writes into the
#             current folder, with its log NAME.latexml.log beside it
# pandoc      the TeX file, then the result file and the document's picture
#             folders; messages appended to the result's name with .plog
# prepare     the TeX file, whose references, bibliography and index are
#             made in the current folder before a web route's converter runs
# gspdf       (TrueTeX and Ghostscript: not available on Linux)
#
# Morvane rewrites only the settings block near the end of this file, between
# the line "REM Morvane will..." and the line beginning "REM **". Those
# lines are the here-document that read_settings reads as data: its end
# line is quoted, so the shell expands nothing in them and runs none of
# them, and no file name or option in them can run a command. The shell
# reads them with the rest of the script, so they cost no program of their
# own. Keep everything else as it is, the end line word for word (it is the
# here-document's end).

# shellcheck disable=SC2317,SC2034  # functions run from main; settings kept for reference

# Lines starting with REM are remarks; should the shell ever reach one it
# does nothing.
REM() { :; }

# Morvane gives the script the read end of a pipe whose other end only
# Morvane holds, as the descriptor MORVANE_LIFELINE (a single digit). A
# watcher in the background waits on it and ends the script's whole process
# group, the converters included, when Morvane is gone, however Morvane
# ended. The shell forks the watcher before it starts anything else, which
# costs a run far less than a program of its own. Run by hand, the script has
# no lifeline and starts no watcher.
watch_lifeline() {
    case ${MORVANE_LIFELINE:-} in
    [0-9]) ;;
    *) return 0 ;;
    esac
    # The descriptor is the one digit checked above; eval sees nothing else.
    eval "(read -r _line <&$MORVANE_LIFELINE; kill -KILL 0) </dev/null >/dev/null 2>&1 &"
    eval "exec $MORVANE_LIFELINE<&-"
    unset MORVANE_LIFELINE
}

# A carriage return and a tab, made only for text that holds control
# characters: a command substitution forks the shell, which would cost
# every run a process.
cr='' tab=''
control_characters() {
    if [ -z "$cr" ]; then
        _cr_tab=$(printf '\r\t')
        cr=${_cr_tab%?}
        tab=${_cr_tab#?}
    fi
}

# Reads the settings block, given on standard input (the here-document at
# the end of this file), into the variables of the same names. The lines
# before the marker line are skipped; the block ends at a line beginning
# "REM **" (block_end_seen is then "yes") or at the end of the input.
# settings_read is "yes" once the marker line was seen.
read_settings() {
    redir='' progpath='' cmdline='' cmdline2='' code='' delegate_path='' gs_lib=''
    htrunpath='' L2HMODULE='' init='' filepath='' docdir='' standins='' prepared='' csl=''
    in_block=0
    settings_read=no
    block_end_seen=no
    # Spelt in two pieces so that the marker line is the file's only copy.
    _marker="REM Morvane will be writing"
    _marker="$_marker text here automatically"
    while IFS= read -r line || [ -n "$line" ]; do
        case $line in
        *[[:cntrl:]])
            control_characters
            line=${line%"$cr"}
            ;;
        esac
        if [ "$in_block" = 0 ]; then
            if [ "$line" = "$_marker" ]; then
                in_block=1
                settings_read=yes
            fi
            continue
        fi
        case $line in
        'REM **'*)
            block_end_seen=yes
            break
            ;;
        'set '*=*)
            name=${line#set }
            value=${name#*=}
            name=${name%%=*}
            assign_setting "$name" "$value"
            ;;
        esac
    done
}

# Only the known names are taken; anything else in the block is ignored.
assign_setting() {
    case $1 in
    redir) redir=$2 ;;
    progpath) progpath=$2 ;;
    cmdline) cmdline=$2 ;;
    cmdline2) cmdline2=$2 ;;
    code) code=$2 ;;
    delegate_path) delegate_path=$2 ;;
    gs_lib) gs_lib=$2 ;;
    htrunpath) htrunpath=$2 ;;
    L2HMODULE | l2hmodule) L2HMODULE=$2 ;;
    init) init=$2 ;;
    filepath) filepath=$2 ;;
    docdir) docdir=$2 ;;
    standins) standins=$2 ;;
    prepared) prepared=$2 ;;
    csl) csl=$2 ;;
    esac
}

# Directory lists in the settings are ";"-separated; the result is in
# list_result with ":" between the entries.
colon_list() {
    list_result=
    _rest=$1
    while :; do
        case $_rest in
        *';'*)
            list_result=$list_result${_rest%%;*}:
            _rest=${_rest#*;}
            ;;
        *)
            list_result=$list_result$_rest
            break
            ;;
        esac
    done
}

# PATH without empty entries (an empty entry would search the document's
# directory for programs) and without repeats.
tidy_path() {
    _rest=$PATH:
    _out=
    while [ -n "$_rest" ]; do
        _entry=${_rest%%:*}
        _rest=${_rest#*:}
        [ -n "$_entry" ] || continue
        case ":$_out:" in
        *":$_entry:"*) ;;
        *) _out=${_out:+$_out:}$_entry ;;
        esac
    done
    PATH=$_out
}

# The TeX4ht and LaTeX2HTML routes convert a copy of the document in its
# output folder. TeX, BibTeX, Biber, makeindex and dvips look in the folder
# they run in first (the copy and what was fetched beside it), then in the
# document's own folder $1, then where they looked before; the empty last
# entry of a search path that was not set stands for TeX's own tree. The
# folder is a value, never a command.
search_document_folder() {
    TEXINPUTS=.:$1:${TEXINPUTS-}
    BIBINPUTS=.:$1:${BIBINPUTS-}
    BSTINPUTS=.:$1:${BSTINPUTS-}
    INDEXSTYLE=.:$1:${INDEXSTYLE-}
    export TEXINPUTS BIBINPUTS BSTINPUTS INDEXSTYLE
}

# Each occurrence of %2 in $1 replaced by $2; the result in subst_result.
replace_percent2() {
    subst_result=
    _w=$1
    while :; do
        case $_w in
        *'%2'*)
            subst_result=$subst_result${_w%%"%2"*}$2
            _w=${_w#*"%2"}
            ;;
        *) break ;;
        esac
    done
    subst_result=$subst_result$_w
}

# run_words TEXT ARG...
# Runs ARG... with the argument "%words" replaced by the words of TEXT. Words
# are separated by blanks; double quotes group blanks into a word and are
# removed ("" is an empty word). %2 inside a word becomes the script's
# second argument (script_file). Nothing is evaluated.
run_words() {
    _text=$1
    shift
    case $_text in
    *[[:cntrl:]]*) control_characters ;;
    esac
    _count=$#
    while [ "$_count" -gt 0 ]; do
        _arg=$1
        shift
        _count=$((_count - 1))
        if [ "$_arg" != "%words" ]; then
            set -- "$@" "$_arg"
            continue
        fi
        _rest=$_text
        _word=
        _inword=0
        _quoted=0
        while [ -n "$_rest" ]; do
            _c=${_rest%"${_rest#?}"}
            _rest=${_rest#?}
            case $_c in
            '"')
                _quoted=$((1 - _quoted))
                _inword=1
                ;;
            ' ' | "${tab:- }")
                if [ "$_quoted" = 1 ]; then
                    _word=$_word$_c
                elif [ "$_inword" = 1 ]; then
                    replace_percent2 "$_word" "$script_file"
                    set -- "$@" "$subst_result"
                    _word=
                    _inword=0
                fi
                ;;
            *)
                _word=$_word$_c
                _inword=1
                ;;
            esac
        done
        if [ "$_inword" = 1 ]; then
            replace_percent2 "$_word" "$script_file"
            set -- "$@" "$subst_result"
        fi
    done
    if [ $# -eq 0 ]; then
        echo "convert.sh: no command to run." >&2
        return 2
    fi
    "$@"
}

# run_logged LOG ARG...
# Runs ARG... with its standard error appended to LOG byte for byte; its
# standard output stays where it was and the status is the command's own.
# Morvane's console follows the log while the converter runs and shows what
# it adds, so no second program copies the messages (run by hand, read them
# in the log).
run_logged() {
    not_an_option "$1"
    _logfile=$safe_name
    shift
    "$@" 2>>"$_logfile"
}

# The TeX file for a name given without its extension: NAME.tex, else NAME
# with a .tex or .ltx extension in any letter case, else NAME itself when it
# is a file. The result is in source_file.
find_source() {
    source_file=
    if [ -f "$1.tex" ]; then
        source_file=$1.tex
    else
        for _f in "$1".[Tt][Ee][Xx] "$1".[Ll][Tt][Xx]; do
            if [ -f "$_f" ]; then
                source_file=$_f
                break
            fi
        done
        if [ -z "$source_file" ]; then
            if [ -f "$1" ]; then source_file=$1; else source_file=$1.tex; fi
        fi
    fi
    not_an_option "$source_file"
    source_file=$safe_name
}

# A file name that starts with "-" would be taken for an option; the name to
# pass is in safe_name.
not_an_option() {
    case $1 in
    -*) safe_name=./$1 ;;
    *) safe_name=$1 ;;
    esac
}

# A converter that puts the current folder's path into shell commands
# (texi2dvi, latex2html) runs in it through a link of a plain name in the run's own
# temporary folder, so that no folder name reaches its shell.
enter_plain_folder() {
    case $PWD in
    *[!A-Za-z0-9_./+-]*)
        if [ -n "${TMPDIR:-}" ] && ln -s "$PWD" "$TMPDIR/folder" 2>/dev/null; then
            cd "$TMPDIR/folder" || return 1
        fi
        ;;
    esac
}

# Waits for Enter when the third argument asks for it.
pause_after() {
    if [ "$1" = pause ]; then
        echo
        echo "Press Enter to continue."
        read -r _answer || :
    fi
}

route_hevea() {
    find_source "$2"
    _log=$2.hlog
    _hevea=hevea
    _hacha=hacha
    if [ "$code" = x ]; then
        command -v hevea.opt >/dev/null 2>&1 && _hevea=hevea.opt
        command -v hacha.opt >/dev/null 2>&1 && _hacha=hacha.opt
    fi
    # HeVeA looks for the prepared bibliography in $prepared after the
    # document's own folder.
    if [ -n "$prepared" ]; then
        run_logged "$_log" run_words "$cmdline" "$_hevea" -I "$prepared" %words "$source_file" </dev/null
    else
        run_logged "$_log" run_words "$cmdline" "$_hevea" %words "$source_file" </dev/null
    fi
    _status=$?
    case " $cmdline " in
    *" -text "* | *" -info "*) cmdline2=no ;; # hacha splits HTML only
    esac
    if [ "$cmdline2" != no ] && [ -f "$2.html" ]; then
        # hacha no longer has a French mode: HeVeA's -francais already gave
        # the pages their French labels.
        _options=" $cmdline2 "
        while :; do
            case $_options in
            *' -francais '*) _options="${_options%%" -francais "*} ${_options#*" -francais "}" ;;
            *) break ;;
            esac
        done
        not_an_option "$2.html"
        run_logged "$_log" run_words "$_options" "$_hacha" %words "$safe_name" </dev/null
        _hacha_status=$?
        [ "$_status" -ne 0 ] || _status=$_hacha_status
    fi
    return "$_status"
}

route_tth() {
    find_source "$2"
    # tth runs makeindex and latex on the -L name; TeX Live refuses to write
    # through an absolute path, and the script runs in the file's folder.
    # Prepared references lie in $prepared, where tth's makeindex writes the
    # index too: TEXMFOUTPUT lets it write there by an absolute name.
    _aux=${2##*/}
    if [ -n "$prepared" ]; then
        _aux=$prepared/$_aux
        TEXMFOUTPUT=$prepared
        export TEXMFOUTPUT
    fi
    run_logged "$2.tlog" run_words "$cmdline" tth "-L$_aux" %words <"$source_file" >"$2.htm"
}

# Prepares the references, bibliography and index of the document $2 in the
# current folder before a web converter reads them: latexmk where it is
# installed, else texi2dvi, each running BibTeX or Biber and makeindex as the
# document needs and LaTeX in non-stop mode. $cmdline is "-dvi" or "-pdf".
route_prepare() {
    # texi2dvi evaluates the paths it is given: the folder it runs in and
    # the document's folder are reached through plain-named links.
    _here=$PWD
    enter_plain_folder || return 2
    _file=$2
    case $_file in
    "$_here"/*) _file=./${_file##*/} ;;
    */*)
        case ${_file%/*} in
        *[!A-Za-z0-9_./+-]*)
            if [ -n "${TMPDIR:-}" ] && ln -s "${_file%/*}" "$TMPDIR/document" 2>/dev/null; then
                _file=$TMPDIR/document/${_file##*/}
            fi
            ;;
        esac
        ;;
    esac
    not_an_option "$_file"
    _file=$safe_name
    printf '%s\n\n' "Preparing the references, bibliography and index of ${2##*/}"
    case $cmdline in
    -pdf) _texi2dvi_pdf=--pdf ;;
    *) cmdline=-dvi _texi2dvi_pdf= ;;
    esac
    if command -v latexmk >/dev/null 2>&1; then
        latexmk "$cmdline" -f -interaction=nonstopmode "$_file" </dev/null
    else
        LATEX="${LATEX:-latex} -interaction=nonstopmode"
        PDFLATEX="${PDFLATEX:-pdflatex} -interaction=nonstopmode"
        export LATEX PDFLATEX
        texi2dvi --batch $_texi2dvi_pdf "$_file" </dev/null
    fi
}

# While Morvane watches a document for saves it sets MORVANE_RECORDER=1:
# LaTeX then lists every file it reads in FILE.fls (-recorder).
recorder_option() {
    recorder=
    if [ "${MORVANE_RECORDER:-}" = 1 ]; then recorder=-recorder; fi
}

route_dvi() {
    not_an_option "$2"
    recorder_option
    latex -interaction=nonstopmode $recorder "$safe_name" </dev/null
}

route_pdf() {
    not_an_option "$2"
    recorder_option
    pdflatex -interaction=nonstopmode $recorder "$safe_name" </dev/null
}

route_texify() {
    find_source "$2"
    _texify=texi2dvi
    if ! command -v texi2dvi >/dev/null 2>&1 && command -v texify >/dev/null 2>&1; then
        _texify=texify
    fi
    # texi2dvi runs TeX with its input closed and stops at the first error;
    # nonstopmode lets TeX finish the document and log every error, as the
    # single latex and pdflatex runs do.
    recorder_option
    LATEX="${LATEX:-latex} -interaction=nonstopmode${recorder:+ $recorder}"
    PDFLATEX="${PDFLATEX:-pdflatex} -interaction=nonstopmode${recorder:+ $recorder}"
    export LATEX PDFLATEX
    # texi2dvi puts the folder's path into commands it evaluates.
    enter_plain_folder || return 2
    run_words "$cmdline" "$_texify" --batch %words "$source_file" </dev/null
}

route_tex4ht() {
    # The stand-ins of $standins run latex and its kin in non-stop mode (an
    # error leaves a page for the rest of the document) and stand in for a
    # missing rungs.
    if [ -n "$standins" ]; then
        PATH=$standins:$PATH
        export PATH
    fi
    run_words "$cmdline" %words </dev/null
    _status=$?
    pause_after "$3"
    return "$_status"
}

# The output directory named by $DESTDIR in the init file, else LaTeX2HTML's
# own default: a folder named after the file in the current directory. The
# value is a Perl single-quoted string: "\\" and "\'" stand for "\" and "'".
l2h_output_dir() {
    l2h_dir=
    if [ -n "$init" ] && [ -f "$init" ]; then
        while IFS= read -r _line || [ -n "$_line" ]; do
            case $_line in
            *[[:cntrl:]])
                control_characters
                while :; do
                    case $_line in
                    *"$cr") _line=${_line%"$cr"} ;;
                    *) break ;;
                    esac
                done
                ;;
            esac
            case $_line in
            "\$DESTDIR = '"*"';")
                _value=${_line#"\$DESTDIR = '"}
                perl_unquoted "${_value%"';"}"
                l2h_dir=$unquoted
                break
                ;;
            esac
        done <"$init"
    fi
    if [ -z "$l2h_dir" ]; then
        _name=${1##*/}
        l2h_dir=${_name%.*}
    fi
}

# $1 with each backslash and the character after it replaced by that
# character, from the left; the result is in unquoted.
perl_unquoted() {
    unquoted=
    _rest=$1
    while :; do
        case $_rest in
        *\\?*)
            unquoted=$unquoted${_rest%%"\\"*}
            _rest=${_rest#*"\\"}
            unquoted=$unquoted${_rest%"${_rest#?}"}
            _rest=${_rest#?}
            ;;
        *) break ;;
        esac
    done
    unquoted=$unquoted$_rest
}

# A new file of this run's own for what a converter says, named in
# private_file: in the run's temporary folder, which Morvane makes for the
# run alone and removes with what is in it, created by the shell itself
# (noclobber: never an existing file). Without such a folder, mktemp makes
# it in the shared one, and remove_private_file removes it.
make_private_file() {
    private_file_is_ours=no
    if [ -n "${MORVANE_RUN_FOLDER:-}" ] && [ "$MORVANE_RUN_FOLDER" = "${TMPDIR:-}" ]; then
        _n=0
        set -C
        while [ "$_n" -lt 100 ]; do
            private_file=$TMPDIR/convert-$$-$_n
            if { : >"$private_file"; } 2>/dev/null; then
                set +C
                return 0
            fi
            _n=$((_n + 1))
        done
        set +C
        return 1
    fi
    private_file=$(mktemp) || return 1
    private_file_is_ours=yes
}

remove_private_file() {
    if [ "$private_file_is_ours" = yes ]; then rm -f -- "$private_file"; fi
}

route_latex2html() {
    l2h_output_dir "$2"
    make_private_file || return 2
    _messages=$private_file
    # A stop (TERM, HUP, INT) still removes the temporary file.
    trap 'remove_private_file; exit 143' TERM HUP INT
    _pause=${3:-}
    not_an_option "$2"
    _file=$safe_name
    set --
    # latex2html puts its output folder's and its file's real paths into
    # shell commands. In a folder of any other name it writes through a
    # plain-named link to the folder and reads plain-named copies of the
    # file and of what it reads beside it.
    # (It also takes the real path of the folder it starts in: it starts in
    # the run's temporary folder.)
    _here=$PWD
    if enter_plain_folder && [ "$PWD" != "$_here" ]; then
        _link=$PWD
        case $_file in
        "$_here"/*)
            # The working copy with what it reads beside it: its inputs and
            # the prepared references (latex2html looks for them only there).
            cp -- "$_here"/*.tex "$_here"/*.aux "$_here"/*.bbl "$_here"/*.ind \
                "$_here"/*.sty "$_here"/*.cls "$TMPDIR/" 2>/dev/null
            if [ -f "$TMPDIR/${_file##*/}" ] && cd "$TMPDIR"; then
                _file=./${_file##*/}
                TEXINPUTS=.:$_link:${TEXINPUTS-}
                export TEXINPUTS
                set -- -dir "$_link"
            fi
            ;;
        esac
    fi
    # The messages are shown and kept for the images log, which LaTeX2HTML
    # writes itself while it runs. The status comes back through the
    # command substitution's pipe (descriptor 4); its output goes to
    # descriptor 3, the script's standard output.
    set -- -init_file "$init" "$@"
    exec 3>&1
    _status=$({ { run_latex2html "$@" "$_file" </dev/null 2>&1 3>&- 4>&-; echo "$?" >&4; } |
        tee "$_messages" >&3 3>&- 4>&-; } 4>&1)
    exec 3>&-
    if [ -d "$l2h_dir" ]; then
        # cat copies the messages in a few reads; the shell's own read takes
        # them a byte at a time, which cost a run tens of milliseconds.
        cat -- "$_messages" >>"$l2h_dir/images.log"
    fi
    remove_private_file
    trap - TERM HUP INT
    pause_after "$_pause"
    return "${_status:-2}"
}

# latex2html with its init file, when the first two arguments name one
# ("-init_file" and an empty name stand for none).
run_latex2html() {
    if [ -n "$2" ]; then
        latex2html "$@"
    else
        shift 2
        latex2html "$@"
    fi
}

# The document $2 (the script runs in its folder, where pandoc finds what
# it inputs and its .bib) to the result $3; the arguments after them are the
# document's \graphicspath folders, searched for pictures after its own.
# Messages are appended to the result's name with .plog.
route_pandoc() {
    not_an_option "$2"
    _file=$safe_name
    not_an_option "$3"
    _output=$safe_name
    _log=${3%.*}.plog
    shift 3
    _resources=.
    for _folder in "$@"; do
        _resources=$_resources:$_folder
    done
    set -- --resource-path="$_resources"
    if [ -n "$csl" ]; then set -- "$@" --csl="$csl"; fi
    run_logged "$_log" run_words "$cmdline" pandoc %words "$@" --output="$_output" "$_file" </dev/null
}

# LaTeXML: latexmlc converts the document $2 into the page $3 in the current
# folder, the document's output folder, where it also puts its pictures,
# style sheets and its own log. It finds the document's inputs, pictures and
# bibliographies through --path, and writes nothing beside the document.
# $cmdline holds the tab's options, fixed words that name no file. Its
# progress and messages show on standard error as it runs; the log it
# writes holds them with their places in the sources.
route_latexml() {
    case $2 in
    /*) ;;
    *)
        echo "convert.sh: the latexml route needs the document's full path." >&2
        return 2
        ;;
    esac
    case $3 in
    '' | */*)
        echo "convert.sh: the latexml route needs the name of the page to write." >&2
        return 2
        ;;
    esac
    _folder=${2%/*}
    not_an_option "$3"
    _page=$safe_name
    _log=${_page%.*}.latexml.log
    run_words "$cmdline" latexmlc %words "--path=${_folder:-/}" "--dest=$_page" \
        "--log=$_log" "$2" </dev/null
    _status=$?
    # latexmlc writes its log from its start on; a program that could not
    # start at all leaves this line for View Log.
    if [ ! -f "$_log" ]; then
        echo "latexmlc ended with status $_status before it wrote its log; what it said went to the console." >"$_log"
    fi
    return "$_status"
}

route_gspdf() {
    echo "convert.sh: TrueTeX is not available on Linux; use pdfLaTeX or texify for PDF." >&2
    return 1
}

main() {
    if [ "$settings_read" != yes ]; then
        echo "convert.sh: the settings block is missing; please restore an original copy of convert.sh." >&2
        return 2
    fi
    colon_list "$progpath"
    progpath=$list_result
    PATH="$progpath:$htrunpath:$PATH"
    tidy_path
    export PATH
    if [ -n "$gs_lib" ]; then
        colon_list "$gs_lib"
        GS_LIB=$list_result${GS_LIB:+:$GS_LIB}
        export GS_LIB
    fi
    if [ -n "$docdir" ]; then
        search_document_folder "$docdir"
    fi
    if [ -n "$delegate_path" ]; then
        MAGICK_CONFIGURE_PATH=$delegate_path${MAGICK_CONFIGURE_PATH:+:$MAGICK_CONFIGURE_PATH}
        export MAGICK_CONFIGURE_PATH
    fi

    script_file=$2
    # A route is a function route_NAME of this script; the route's word names it.
    case $1 in
    '' | *[!a-z0-9_]*) route_word_ok=no ;;
    *) command -v "route_$1" >/dev/null 2>&1 && route_word_ok=yes || route_word_ok=no ;;
    esac
    if [ "$route_word_ok" = no ]; then
        echo "convert.sh: unknown route '$1'; use hevea, tth, dvi, texify, pdf, tex4ht, latex2html, latexml, pandoc, prepare or gspdf." >&2
        return 2
    fi
    if [ "$1" != gspdf ] && [ -z "$2" ]; then
        echo "convert.sh: no file given for the $1 route." >&2
        return 2
    fi
    "route_$1" "$@"
}

# Reads this file's own settings block. The here-document ends at its end
# line, which read_settings never sees; an end line that was changed ends
# nothing, and the rest of the script becomes part of the block.
read_own_settings() {
    read_settings
    if [ "$block_end_seen" = yes ]; then
        echo "convert.sh: the settings block's end line was changed; please restore an original copy of convert.sh." >&2
        exit 2
    fi
}

watch_lifeline

# The settings block. The here-document's end is the block's end line; the
# quotes around it keep the shell from expanding anything in the block.
read_own_settings <<'REM ** End of the settings block; keep this line and the marker line above.'
REM Morvane will be writing text here automatically
REM ** End of the settings block; keep this line and the marker line above.
main "$@"
exit $?
