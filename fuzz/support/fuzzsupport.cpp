#include "support/fuzzsupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>
#include <memory>

namespace morvane::fuzz {

void fail(const char* invariant, const QString& detail) {
    std::fprintf(stderr, "\n*** invariant broken: %s\n%s\n", invariant, qPrintable(detail));
    std::fflush(stderr);
    std::abort();
}

Pieces::Pieces(const uint8_t* data, size_t size)
    : m_pieces(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)).split('\0')) {}

QByteArray Pieces::bytes() {
    return m_next < m_pieces.size() ? m_pieces.at(m_next++) : QByteArray();
}

QByteArray Pieces::rest() {
    QByteArray joined;
    for (bool first = true; m_next < m_pieces.size(); first = false) {
        if (!first)
            joined += '\0';
        joined += m_pieces.at(m_next++);
    }
    return joined;
}

QString Pieces::text() {
    return QString::fromUtf8(bytes());
}

int Pieces::small() {
    const QByteArray piece = bytes();
    return piece.isEmpty() ? 0 : uint8_t(piece.at(0));
}

QString scratchDir() {
    static const std::unique_ptr<QTemporaryDir> dir = [] {
        const QString shm = QStringLiteral("/dev/shm");
        const QFileInfo info(shm);
        const QString base = info.isDir() && info.isWritable() ? shm : QDir::tempPath();
        auto made = std::make_unique<QTemporaryDir>(base + QStringLiteral("/morvane-fuzz-XXXXXX"));
        if (!made->isValid())
            fail("scratch folder made", made->errorString());
        return made;
    }();
    return dir->path();
}

void writeScratchFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        fail("scratch file written", path + QStringLiteral(": ") + file.errorString());
}

QByteArray readScratchFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        fail("scratch file read", path + QStringLiteral(": ") + file.errorString());
    return file.readAll();
}

Answer SilentPrompter::ask(const Prompt& prompt) {
    ++messages;
    return prompt.defaultButton;
}

QString shown(const QByteArray& bytes) {
    QString out;
    for (const char c : bytes) {
        const auto u = uint8_t(c);
        if (u == '\n')
            out += QStringLiteral("\\n\n");
        else if (u < 0x20 || u == 0x7f)
            out += QStringLiteral("\\x%1").arg(u, 2, 16, QLatin1Char('0'));
        else
            out += QLatin1Char(c);
    }
    return out.left(4000);
}

} // namespace morvane::fuzz
