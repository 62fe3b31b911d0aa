#include "platform/shell.h"

#include "platform/pointershape.h"

#include <QFileInfo>
#include <QMimeDatabase>
#include <QMimeType>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

#include <sys/mman.h>
#include <unistd.h>

namespace morvane {

std::optional<QString> associatedProgram(const QString& file) {
    const QMimeType type = QMimeDatabase().mimeTypeForFile(file);
    if (!type.isValid())
        return std::nullopt;
    QStringList types{type.name()};
    types += type.allAncestors();
    for (const QString& name : types) {
        QProcess query;
        query.start(QStringLiteral("xdg-mime"),
                    {QStringLiteral("query"), QStringLiteral("default"), name});
        if (!query.waitForStarted(3000))
            return std::nullopt;
        if (!query.waitForFinished(3000)) {
            query.kill();
            query.waitForFinished(1000);
            return std::nullopt;
        }
        const QString entry = QString::fromUtf8(query.readAllStandardOutput()).trimmed();
        if (!entry.isEmpty())
            return entry;
    }
    return QString();
}

bool hasAssociatedProgram(const QString& file) {
    const std::optional<QString> program = associatedProgram(file);
    return !program || !program->isEmpty(); // cannot tell: xdg-open decides
}

namespace {

// The end of what the opener and the program it started wrote on standard
// error: the last few lines say why a viewer gave up.
QString lastLines(int fd) {
    if (fd < 0)
        return {};
    const off_t size = ::lseek(fd, 0, SEEK_END);
    const off_t start = size > 2048 ? size - 2048 : 0;
    QByteArray tail(int(size - start), Qt::Uninitialized);
    const ssize_t got = tail.isEmpty() ? 0 : ::pread(fd, tail.data(), size_t(tail.size()), start);
    tail.truncate(got > 0 ? int(got) : 0);
    QStringList lines = QString::fromLocal8Bit(tail).split(u'\n', Qt::SkipEmptyParts);
    for (QString& line : lines)
        line = line.trimmed();
    lines.removeAll(QString());
    return lines.mid(qMax(0, int(lines.size()) - 3)).join(u'\n');
}

QString endingOf(int code, QProcess::ExitStatus status) {
    return status == QProcess::NormalExit ? QStringLiteral("It ended with status %1.").arg(code)
                                          : QStringLiteral("It crashed.");
}

} // namespace

bool DesktopShell::open(const QString& fileOrUrl) {
    // xdg-open hands the file or address to the desktop's associated program.
    // A local file goes as a file:// address, so that no name can be taken
    // for an option.
    const bool local = !fileOrUrl.contains(QStringLiteral("://"));
    // Without a program for its type, xdg-open would start whatever browser
    // it finds, or nothing at all, and still be reported as started.
    PointerOverride busy(PointerShape::Busy);
    const std::optional<QString> program =
        local ? associatedProgram(fileOrUrl) : std::optional<QString>();
    if (program && program->isEmpty())
        return false;
    const QUrl url = local ? QUrl::fromLocalFile(fileOrUrl) : QUrl(fileOrUrl);
    // The opener is not owned by anything: it may keep running after the
    // program ended ("Close after running") and is never killed with it.
    auto* opener = new QProcess;
    opener->setProgram(m_opener);
    opener->setArguments({url.toString(QUrl::FullyEncoded)});
    opener->setStandardInputFile(QProcess::nullDevice());
    opener->setStandardOutputFile(QProcess::nullDevice());
    // Error output goes to an anonymous in-memory file, not a pipe: the viewer
    // inherits it and may outlive this program, and a pipe without a reader
    // would break its writes.
    const int errors = ::memfd_create("morvane-opener-errors", MFD_CLOEXEC);
    if (errors < 0)
        opener->setStandardErrorFile(QProcess::nullDevice());
    else
        opener->setChildProcessModifier([errors] { ::dup2(errors, STDERR_FILENO); });
    const auto report = m_report;
    const OpenFailure failure{fileOrUrl, program.value_or(QString()), QString()};
    QObject::connect(opener, &QProcess::finished, opener,
                     [opener, report, failure, errors](int code, QProcess::ExitStatus status) {
                         if ((code != 0 || status != QProcess::NormalExit) && report) {
                             OpenFailure said = failure;
                             said.error = lastLines(errors);
                             if (said.error.isEmpty())
                                 said.error = endingOf(code, status);
                             report(said);
                         }
                         if (errors >= 0)
                             ::close(errors);
                         opener->deleteLater();
                     });
    opener->start();
    if (!opener->waitForStarted()) {
        delete opener;
        if (errors >= 0)
            ::close(errors);
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
