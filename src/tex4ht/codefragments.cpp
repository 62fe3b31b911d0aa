#include "tex4ht/codefragments.h"

#include <QFile>

namespace morvane {

QStringList codeFragmentEntries(const QString& programDir) {
    QFile file(programDir + QStringLiteral("/codefragments.txt"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QStringList entries{QStringLiteral("-- Select a code fragment --")};
    while (!file.atEnd()) {
        QString line = QString::fromUtf8(file.readLine());
        if (line.endsWith(QLatin1Char('\n')))
            line.chop(1);
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        entries.append(line);
    }
    return entries;
}

QString withFragmentInserted(const QString& commandLine, qsizetype cursor,
                             const QString& fragment) {
    QString result = commandLine;
    result.insert(qBound(qsizetype(0), cursor, commandLine.size()), fragment);
    return result;
}

} // namespace morvane
