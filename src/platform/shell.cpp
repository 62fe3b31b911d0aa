#include "platform/shell.h"

#include "platform/pointershape.h"

#include <QFileInfo>
#include <QMimeDatabase>
#include <QMimeType>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

namespace morvane {

bool hasAssociatedProgram(const QString& file) {
    const QMimeType type = QMimeDatabase().mimeTypeForFile(file);
    if (!type.isValid())
        return true; // cannot tell: xdg-open decides
    QStringList types{type.name()};
    types += type.allAncestors();
    for (const QString& name : types) {
        QProcess query;
        query.start(QStringLiteral("xdg-mime"),
                    {QStringLiteral("query"), QStringLiteral("default"), name});
        if (!query.waitForStarted(3000))
            return true; // cannot tell: xdg-open decides
        if (!query.waitForFinished(3000)) {
            query.kill();
            query.waitForFinished(1000);
            return true;
        }
        if (!query.readAllStandardOutput().trimmed().isEmpty())
            return true;
    }
    return false;
}

bool DesktopShell::open(const QString& fileOrUrl) {
    // xdg-open hands the file or address to the desktop's associated program.
    // A local file goes as a file:// address, so that no name can be taken
    // for an option.
    const bool local = !fileOrUrl.contains(QStringLiteral("://"));
    // Without a program for its type, xdg-open would start whatever browser
    // it finds, or nothing at all, and still be reported as started.
    PointerOverride busy(PointerShape::Busy);
    if (local && !hasAssociatedProgram(fileOrUrl))
        return false;
    const QUrl url = local ? QUrl::fromLocalFile(fileOrUrl) : QUrl(fileOrUrl);
    // The opener is not owned by anything: it may keep running after the
    // program ended ("Close after running") and is never killed with it.
    auto* opener = new QProcess;
    opener->setProgram(m_opener);
    opener->setArguments({url.toString(QUrl::FullyEncoded)});
    opener->setStandardInputFile(QProcess::nullDevice());
    opener->setStandardOutputFile(QProcess::nullDevice());
    opener->setStandardErrorFile(QProcess::nullDevice());
    const auto report = m_report;
    QObject::connect(opener, &QProcess::finished, opener,
                     [opener, report, fileOrUrl](int code, QProcess::ExitStatus status) {
                         if ((code != 0 || status != QProcess::NormalExit) && report)
                             report(fileOrUrl);
                         opener->deleteLater();
                     });
    opener->start();
    if (!opener->waitForStarted()) {
        delete opener;
        return false;
    }
    return true;
}

bool DesktopShell::startDetached(const QString& program, const QStringList& arguments) {
    return QProcess::startDetached(program, arguments);
}

QString DesktopShell::notepad() const {
    static const char* const editors[] = {
        "gnome-text-editor", "gedit",  "kate", "kwrite", "mousepad", "xed", "pluma",
        "featherpad",        "leafpad"};
    for (const char* editor : editors) {
        const QString found = QStandardPaths::findExecutable(QString::fromLatin1(editor));
        if (!found.isEmpty())
            return found;
    }
    return {};
}

} // namespace morvane
