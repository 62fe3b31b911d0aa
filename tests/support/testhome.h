#pragma once

#include <QString>
#include <QTemporaryDir>

namespace morvane::test {

// A temporary program directory, announced through MORVANE_HOME for the
// lifetime of the object, seeded with the shipped program files (convert.sh,
// Morvane.ini, ...) from the build tree.
class TestHome {
public:
    explicit TestHome(bool seedShippedFiles = true);
    ~TestHome();

    QString path() const { return m_dir.path(); }
    QString file(const QString& name) const { return m_dir.path() + QLatin1Char('/') + name; }

    // Writes a file below the home (parents created); returns its path.
    QString write(const QString& relativePath, const QByteArray& content) const;

private:
    QTemporaryDir m_dir;
    QByteArray m_previousHome;
};

// Reads a whole file; an empty array when it cannot be read.
QByteArray readAll(const QString& path);

// The shipped program files in the source tree.
QString shippedFile(const QString& name);

} // namespace morvane::test
