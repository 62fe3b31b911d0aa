#include "settings/filehistory.h"
#include "platform/atomicfile.h"

#include "settings/optionsmodel.h"

#include <QFile>

#include <algorithm>

namespace morvane {

namespace {

constexpr qsizetype kHistorySize = 10;

QString historyFile(const QString& programDir) {
    return programDir + QStringLiteral("/FileList.txt");
}

// A history line is an absolute path; comments start with ";". Control
// characters (a damaged or binary file) make no file name anyone typed.
bool isHistoryLine(const QString& line) {
    if (line.startsWith(QLatin1Char(';')) || !line.startsWith(QLatin1Char('/')))
        return false;
    return std::none_of(line.begin(), line.end(), [](QChar ch) { return ch.unicode() < 0x20; });
}

} // namespace

void rememberFile(OptionsModel& model) {
    const QString text = model.text(ctl::cmbTeX);
    if (text.isEmpty())
        return;
    QStringList history = model.items(ctl::cmbTeX);
    // Paths are equal only when they are spelled the same: Paper.tex and
    // paper.tex are two files on Linux. The old entry goes first, so that
    // converting a listed file again never pushes out another entry.
    history.removeAll(text);
    while (history.size() >= kHistorySize)
        history.removeLast();
    history.prepend(text);
    model.setItems(ctl::cmbTeX, history);
}

QStringList loadFileHistory(const QString& programDir) {
    QStringList history;
    QFile in(historyFile(programDir));
    if (!in.open(QIODevice::ReadOnly))
        return history;
    while (!in.atEnd()) {
        QString line = QString::fromUtf8(in.readLine());
        while (line.endsWith(QLatin1Char('\n')) || line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        if (isHistoryLine(line) && !history.contains(line))
            history.append(line);
        // The list holds ten; a longer file need not be read to its end.
        if (history.size() == kHistorySize)
            break;
    }
    return history;
}

bool saveFileHistory(const QString& programDir, const QStringList& history) {
    QByteArray content = ";This is the file list of tex files that have been converted\n"
                         ";You can delete this file if you wish\n";
    for (const QString& entry : history) {
        // A name holding a line break would come back as two entries, the
        // second one possibly another file: such a name is not kept.
        if (entry.contains(QLatin1Char('\n')) || entry.contains(QLatin1Char('\r')))
            continue;
        content += entry.toUtf8() + '\n';
    }
    return replaceFileIfChanged(historyFile(programDir), content, Durability::WaitForDisk);
}

} // namespace morvane
