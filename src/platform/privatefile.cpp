#include "platform/privatefile.h"

#include <QDir>

namespace morvane {

PrivateFile::PrivateFile(const QString& pattern, const QByteArray& content)
    : m_file(QDir::tempPath() + QLatin1Char('/') + pattern) {
    if (!m_file.open())
        return;
    m_entry = journal::recordMade(m_file.fileName());
    m_written = m_file.write(content) == content.size() && m_file.flush();
    m_file.close();
}

PrivateFile::~PrivateFile() {
    m_file.remove();
    journal::done(m_entry);
}

PrivateFolder::PrivateFolder(const QString& pattern)
    : m_dir(QDir::tempPath() + QLatin1Char('/') + pattern) {
    if (m_dir.isValid())
        m_entry = journal::recordOwnedPrefix(QDir::tempPath(), QDir(m_dir.path()).dirName());
}

PrivateFolder::~PrivateFolder() {
    m_dir.remove();
    journal::done(m_entry);
}

} // namespace morvane
