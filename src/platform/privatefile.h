#pragma once

#include "platform/runjournal.h"

#include <QByteArray>
#include <QString>
#include <QTemporaryFile>

namespace morvane {

// A file of one run's own in the temporary folder (a copy of the batch
// driver, of LaTeX2HTML's init file): created exclusively under a fresh
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
    QTemporaryFile m_file;
    journal::Entry m_entry = 0;
    bool m_written = false;
};

} // namespace morvane
