#pragma once

#include "settings/settingsvariables.h"

#include <QString>
#include <QStringList>

namespace morvane {

// HeVeA's library directory (its style files live in the "html", "text" and
// "info" folders below it). On Linux it is apart from the directory of the
// hevea program: `hevea -version` names it after "library directory:".
// `heveaDir` is the HeVeA location of the settings; when it holds no hevea,
// the one on PATH is asked. Falls back to /usr/share/hevea. The answer is
// remembered per program, in this run and in the per-user store until the
// program changes, so a start normally runs no process.
QString heveaLibraryDirectory(const QString& heveaDir = QString());

// The library directory named in the output of `hevea -version`; empty when
// the output names none.
QString libraryDirectoryFromVersionText(const QString& versionText);

// The directory whose *.hva files fill the style list: the kind folder of
// HeVeA's library for the chosen output, or the program directory when HeVeA
// was not found.
QString styleDirectory(const Settings& settings, const QString& programDir, bool heveaFound);

// The "*.hva" file names of `dir` in name order (letter case ignored for
// the pattern and the order); empty when the folder cannot be listed.
QStringList styleFileNames(const QString& dir);

// The HeVeA style list built from a listing: every name except "hevea.hva"
// and names containing "of hevea.hva", with the separator line of 26 "-" on
// top when any name was taken, so that no style is in use yet.
QStringList styleListFrom(const QStringList& fileNames);

} // namespace morvane
