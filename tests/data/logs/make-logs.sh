#!/bin/sh
# Writes the logs the parser tests read, with the real converters, from the
# broken documents of this folder: run it here after a converter update and
# check the tests again. Each converter runs as convert.sh runs it (standard
# input closed; messages redirected the same way).
set -u
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$here"/*.tex "$work"
cd "$work" || exit 2

latex -interaction=nonstopmode broken.tex </dev/null >/dev/null 2>&1
cp broken.log "$here/latex.log"
latex -interaction=nonstopmode -file-line-error broken.tex </dev/null >/dev/null 2>&1
cp broken.log "$here/latex-file-line-error.log"

hevea broken.tex </dev/null 2>"$here/hevea.hlog" >/dev/null
tth -Lbroken <broken.tex >broken.htm 2>"$here/tth.tlog"
tth -Lbraces <braces.tex >braces.htm 2>"$here/tth-fatal.tlog"

# htlatex lets LaTeX stop at the first error when its input is closed.
htlatex broken.tex </dev/null >/dev/null 2>&1
cp broken.log "$here/tex4ht.log"

# The LaTeX2HTML route's log: the images log, latex2html's messages, then
# its WARNINGS file after a "Warnings:" line.
L2HINIT_NAME=.no-init latex2html warn.tex </dev/null >messages.txt 2>&1
{
    cat warn/images.log 2>/dev/null
    cat messages.txt
    printf '\n\nWarnings:\n\n'
    cat warn/WARNINGS
} >"$here/latex2html.log"

# latexmlc writes its own log; it reads the document where it lies, with its
# folder on the search path, and writes its page into the current folder, as
# convert.sh runs it.
mkdir latexml && (cd latexml && latexmlc --path="$work" --dest=broken.html \
    --log="$here/latexml.log" "$work/broken.tex" </dev/null >/dev/null 2>&1)

# pandoc as the pandoc route runs it (messages on standard error): it gives
# up on broken.tex in chapter.tex, and warns on warn.tex.
pandoc --to=html5 --standalone --mathml --citeproc broken.tex -o broken.html \
    </dev/null 2>"$here/pandoc-fatal.plog"
pandoc --to=html5 --standalone --mathml --citeproc warn.tex -o warn.html \
    </dev/null 2>"$here/pandoc.plog"
