#include "drivers/tex4htstandins.h"

#include "platform/atomicfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace morvane {

namespace {

// Every stand-in finds the real program of its own name along PATH, past
// its own folder; names reach it only as its arguments, never as text it
// runs.
constexpr char kFindReal[] = R"(#!/bin/sh
# Morvane's stand-in for a program TeX4ht starts; see the TeX4ht driver.
name=${0##*/}
here=${0%/*}
real=
set -f
saved_ifs=$IFS
IFS=:
for dir in $PATH; do
    if [ -n "$dir" ] && [ "$dir" != "$here" ] && [ -f "$dir/$name" ] && [ -x "$dir/$name" ]; then
        real=$dir/$name
        break
    fi
done
IFS=$saved_ifs
set +f
)";

// A mode that waits for the user becomes nonstopmode; batchmode, which
// make4ht asks for, stays.
constexpr char kNonStopTex[] = R"(if [ -z "$real" ]; then
    echo "$name: command not found" >&2
    exit 127
fi
for arg do
    shift
    case $arg in
    -interaction=errorstopmode | -interaction=scrollmode | \
        --interaction=errorstopmode | --interaction=scrollmode)
        arg=-interaction=nonstopmode ;;
    esac
    set -- "$@" "$arg"
done
"$real" -interaction=nonstopmode "$@"
status=$?
if [ "$status" = 1 ]; then
    status=0
fi
exit "$status"
)";

constexpr char kRunGhostscript[] = R"(if [ -n "$real" ]; then
    exec "$real" "$@"
fi
exec gs "$@"
)";

const QString kRungs = QStringLiteral("rungs");

} // namespace

const QStringList& tex4htStandInNames() {
    static const QStringList names = {QStringLiteral("latex"),       QStringLiteral("pdflatex"),
                                      QStringLiteral("dvilualatex"), QStringLiteral("lualatex"),
                                      QStringLiteral("xelatex"),     QStringLiteral("platex"),
                                      QStringLiteral("uplatex"),     QStringLiteral("etex"),
                                      QStringLiteral("tex"),         kRungs};
    return names;
}

QByteArray tex4htStandInScript(const QString& name) {
    return QByteArray(kFindReal) + (name == kRungs ? kRunGhostscript : kNonStopTex);
}

Tex4htStandIns::Tex4htStandIns() : m_dir(QStringLiteral("morvane-tex4ht-XXXXXX")) {
    if (!m_dir.isValid())
        return;
    const QFileDevice::Permissions runnable =
        QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner;
    for (const QString& name : tex4htStandInNames()) {
        const QString path = m_dir.filePath(name);
        // On a temporary folder mounted without the right to run programs the
        // stand-ins would stop every run: the programs then run unaided.
        if (!replaceFileAtomically(path, tex4htStandInScript(name), Durability::NoWait) ||
            !QFile::setPermissions(path, runnable) || !QFileInfo(path).isExecutable())
            return;
    }
    m_ready = true;
}

} // namespace morvane
