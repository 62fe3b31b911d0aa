#pragma once

#include "platform/runjournal.h"

#include <QByteArray>
#include <QFile>
#include <QString>

namespace morvane {

// `folder`/`pattern` with the pattern's XXXXXX replaced by letters and
// digits at random: a name no one else is likely to use.
QString randomName(const QString& folder, const QString& pattern);

// A file of one run's own in the temporary folder (a copy of LaTeX2HTML's
// init file; the batch driver's copy lies in the run's PrivateFolder):
// created exclusively under a fresh
// name, so that simultaneous runs never share it, named in the journal so
// that a killed run's copy is removed by the next start, and removed when
// the object goes.
class PrivateFile {
public:
    // `pattern` is a file name with XXXXXX (morvane-convert-XXXXXX.sh).
    PrivateFile(const QString& pattern, const QByteArray& content);
    ~PrivateFile();
    PrivateFile(const PrivateFile&) = delete;
    PrivateFile& operator=(const PrivateFile&) = delete;

    // Empty when the file could not be written.
    QString path() const { return m_written ? m_file.fileName() : QString(); }

private:
    QFile m_file;
    journal::Entry m_entry = 0;
    bool m_written = false;
};

// A folder of one run's own in the temporary folder, in the same way: a
// fresh name, named in the journal (so that a killed run's folder and all
// in it go with the next start), removed with what is in it when the object
// goes.
class PrivateFolder {
public:
    // `pattern` is a folder name with XXXXXX (morvane-run-XXXXXX).
    explicit PrivateFolder(const QString& pattern);
    ~PrivateFolder();
    PrivateFolder(const PrivateFolder&) = delete;
    PrivateFolder& operator=(const PrivateFolder&) = delete;

    bool isValid() const { return !m_path.isEmpty(); }
    QString path() const { return m_path; }
    QString filePath(const QString& name) const { return m_path + QLatin1Char('/') + name; }
    // Writes a new file `name` in the folder (never an existing one: created
    // exclusively, links not followed), readable by the user alone; it goes
    // with the folder, so it needs no journal entry of its own. Its path, or
    // empty when it could not be written whole.
    QString writeNewFile(const QString& name, const QByteArray& content) const;

private:
    QString m_path;
    journal::Entry m_entry = 0;
};

} // namespace morvane
