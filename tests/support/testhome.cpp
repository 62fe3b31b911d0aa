#include "support/testhome.h"

#include "platform/programdir.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace morvane::test {

TestHome::TestHome(bool seedShippedFiles) {
    m_previousHome = qgetenv("MORVANE_HOME");
    qputenv("MORVANE_HOME", m_dir.path().toUtf8());
    if (seedShippedFiles)
        seedProgramDirectory(m_dir.path(), QStringLiteral(MORVANE_SOURCE_DIR "/data"));
}

TestHome::~TestHome() {
    if (m_previousHome.isNull())
        qunsetenv("MORVANE_HOME");
    else
        qputenv("MORVANE_HOME", m_previousHome);
}

QString TestHome::write(const QString& relativePath, const QByteArray& content) const {
    const QString path = file(relativePath);
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile out(path);
    if (out.open(QIODevice::WriteOnly))
        out.write(content);
    return path;
}

QByteArray readAll(const QString& path) {
    QFile in(path);
    if (!in.open(QIODevice::ReadOnly))
        return {};
    return in.readAll();
}

QString shippedFile(const QString& name) {
    return QStringLiteral(MORVANE_SOURCE_DIR "/data/") + name;
}

} // namespace morvane::test
