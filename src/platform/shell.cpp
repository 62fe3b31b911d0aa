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
    return QProcess::startDetached(QStringLiteral("xdg-open"), {url.toString(QUrl::FullyEncoded)});
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
