#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace morvane {

struct ConversionResult;

// The files a TeX document reads that a save of should convert it again:
// the document itself, what its \input, \include and \includegraphics lines
// name (followed into the TeX files they name), and the inputs LaTeX
// recorded in the run's `.fls` file. TeX's own files (classes, packages,
// fonts of the installation) and the files the run wrote itself (.aux, .toc)
// are left out: only files below the document's folder count.
//
// `recorderFile` is the `.fls` of the last run, or empty. A route that runs
// LaTeX on a working copy in an output folder (TeX4ht) records that folder's
// copies; `outputFolder` names it, and such a copy stands for the file of the
// same relative path beside the document.
QStringList watchedFilesOf(const QString& source, const QString& recorderFile = QString(),
                           const QString& outputFolder = QString());

// A name a TeX file's \input, \include or \includegraphics line gives, as
// written.
struct NamedInput {
    QString name;
    bool graphics = false; // \includegraphics: a picture, not TeX

    bool operator==(const NamedInput&) const = default;
};

// A line of TeX without its comment.
QByteArray withoutTexComment(const QByteArray& line);

// The names of a TeX file's input lines (comments skipped), in their order.
QList<NamedInput> namedInputsOf(const QByteArray& texText);

// The input files listed in a recorder file, as absolute paths; files that
// the run also wrote are not inputs of the document.
QStringList recordedInputsOf(const QByteArray& flsText);

// The files to watch after a conversion of `source`: the recorder file lies
// beside the route's log, and a log in another folder than the document
// marks the route's output folder.
QStringList watchedFilesAfter(const QString& source, const ConversionResult* result);

} // namespace morvane
