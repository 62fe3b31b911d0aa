#include "platform/shell.h"

#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

namespace morvane {

bool DesktopShell::open(const QString& fileOrUrl) {
    // xdg-open hands the file or address to the desktop's associated program.
    // A local file goes as a file:// address, so that no name can be taken
    // for an option.
    const QUrl url = fileOrUrl.contains(QStringLiteral("://")) ? QUrl(fileOrUrl)
                                                               : QUrl::fromLocalFile(fileOrUrl);
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
