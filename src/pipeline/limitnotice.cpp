#include "pipeline/limitnotice.h"

#include "pipeline/appcontext.h"
#include "pipeline/conversion.h"
#include "platform/atomicfile.h"
#include "platform/pathutils.h"
#include "platform/prompter.h"

#include <QFile>
#include <QFileInfo>

namespace morvane {

namespace {

const QString kLimitTitle = QStringLiteral("Conversion Limit");

QString duration(int seconds) {
    if (seconds % 60 == 0)
        return seconds == 60 ? QStringLiteral("1 minute")
                             : QStringLiteral("%1 minutes").arg(seconds / 60);
    return seconds == 1 ? QStringLiteral("1 second") : QStringLiteral("%1 seconds").arg(seconds);
}

QString megabytes(qint64 bytes) {
    return QStringLiteral("%1 MB").arg(bytes / (1024 * 1024));
}

// A log this run wrote or rewrote; the file times come from a coarse clock.
bool writtenByThisRun(const QString& log, const QDateTime& started) {
    const QFileInfo info(log);
    return !log.isEmpty() && info.isFile() && info.lastModified() >= started.addSecs(-1);
}

void appendToLog(const QString& log, const QString& line) {
    QFile file(log);
    if (!file.open(QIODevice::ReadOnly))
        return;
    QByteArray text = file.readAll();
    file.close();
    if (!text.isEmpty() && !text.endsWith('\n'))
        text += '\n';
    text += QStringLiteral("Morvane: %1\n").arg(line).toUtf8();
    replaceFileAtomically(log, text, Durability::NoWait);
}

} // namespace

QString limitNotice(LimitReached limit, const RunLimits& limits, const QString& document,
                    bool batchMode) {
    const QString name = fileNameOf(document);
    if (limit == LimitReached::Time)
        return QStringLiteral("The conversion of %1 was ended after %2, its time limit. If the "
                              "document really needs longer, %3.")
            .arg(name, duration(limits.seconds),
                 batchMode ? QStringLiteral("run it with --timeout=SECONDS")
                           : QStringLiteral("raise the time limit in More Preferences"));
    if (limit == LimitReached::Memory)
        return QStringLiteral("The conversion of %1 was ended when its converter and the programs "
                              "it started used more than %2 of memory, its memory limit. If the "
                              "document really needs more, %3.")
            .arg(name, megabytes(limits.memoryBytes),
                 batchMode ? QStringLiteral("run it with --memory=MB")
                           : QStringLiteral("raise the memory limit in More Preferences"));
    return QString();
}

void tellLimitReached(const Conversion& conversion, const QDateTime& started) {
    if (conversion.limitReached == LimitReached::None)
        return;
    AppContext& ctx = conversion.app;
    const QString notice = limitNotice(conversion.limitReached, conversion.limits,
                                       conversion.document, ctx.unattended);
    QString log = conversion.result.log;
    if (log.isEmpty())
        log = ctx.logs[conversion.route];
    if (writtenByThisRun(log, started))
        appendToLog(log, notice);
    if (ctx.seams.prompter)
        ctx.seams.prompter->tell(notice, kLimitTitle, Icon::Exclamation);
}

} // namespace morvane
