#include "drivers/heveaclass.h"

#include "fixups/texlines.h"
#include "pipeline/conversion.h"
#include "pipeline/watchedfiles.h"
#include "platform/privatefile.h"
#include "settings/hevealibrary.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

namespace morvane {

namespace {

// A class's name is a file name: anything else is left to HeVeA to report.
bool plainName(const QString& name) {
    static const QRegularExpression plain(QStringLiteral("^[A-Za-z0-9_.-]+$"));
    return plain.match(name).hasMatch() && !name.startsWith(QLatin1Char('.'));
}

bool hasChapters(const QByteArray& texText) {
    for (const QByteArray& line : texText.split('\n')) {
        const QByteArray text = withoutTexComment(line);
        if (text.contains("\\chapter") || text.contains("\\include{"))
            return true;
    }
    return false;
}

} // namespace

QString documentClassOf(const QByteArray& texText) {
    const std::optional<fixups::DocumentClass> found = fixups::findDocumentClass(texText);
    return found ? QString::fromUtf8(found->name).trimmed() : QString();
}

QString standInStyleFor(const QByteArray& texText, const QStringList& styleFolders) {
    const QString name = documentClassOf(texText);
    if (name.isEmpty() || !plainName(name))
        return {};
    for (const QString& folder : styleFolders)
        if (QFileInfo::exists(folder + QLatin1Char('/') + name + QStringLiteral(".hva")))
            return {};
    return hasChapters(texText) ? QStringLiteral("book") : QStringLiteral("article");
}

QByteArray standInLogLine(const QString& className, const QString& style) {
    return QStringLiteral("Morvane: HeVeA has no style for the class %1; the %2 style stands in.\n")
        .arg(className, style)
        .toUtf8();
}

HeveaClassStandIn::HeveaClassStandIn(Conversion& conv, const QString& heveaDir,
                                     const QString& log) {
    QFile source(conv.source);
    if (!source.open(QIODevice::ReadOnly))
        return;
    const QByteArray text = source.read(1 << 20);
    // The classes every HeVeA has need no look into its library.
    static const QStringList standard{QStringLiteral("article"), QStringLiteral("book"),
                                      QStringLiteral("report"), QStringLiteral("seminar")};
    if (standard.contains(documentClassOf(text)))
        return;
    // HeVeA looks in the document's folder, its library and the library's
    // folders for the output kinds.
    const QString heveaLibrary = heveaLibraryDirectory(heveaDir);
    const QStringList folders{
        QFileInfo(conv.source).absolutePath(), heveaLibrary, heveaLibrary + QStringLiteral("/html"),
        heveaLibrary + QStringLiteral("/text"), heveaLibrary + QStringLiteral("/info")};
    const QString style = standInStyleFor(text, folders);
    if (style.isEmpty())
        return;
    QString folder = conv.preparedFolder;
    if (folder.isEmpty()) {
        m_dir = std::make_unique<PrivateFolder>(QStringLiteral("morvane-hevea-XXXXXX"));
        if (!m_dir->isValid())
            return;
        folder = m_dir->path();
    }
    const QString className = documentClassOf(text);
    const QByteArray content = QStringLiteral("\\input{%1.hva}\n").arg(style).toUtf8();
    const QString name = className + QStringLiteral(".hva");
    if (m_dir) {
        if (m_dir->writeNewFile(name, content).isEmpty())
            return;
    } else {
        QFile file(folder + QLatin1Char('/') + name);
        if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly) || file.write(content) < 0)
            return;
    }
    conv.preparedFolder = folder;
    QFile logFile(log);
    if (logFile.open(QIODevice::WriteOnly | QIODevice::Append))
        logFile.write(standInLogLine(className, style));
}

HeveaClassStandIn::~HeveaClassStandIn() = default;

} // namespace morvane
