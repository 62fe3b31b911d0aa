#include "drivers/l2husersettings.h"

#include "platform/atomicfile.h"
#include "platform/prompter.h"

#include <QFile>
#include <QLocale>
#include <QStringList>

namespace morvane {

namespace {

QString S(const char* text) {
    return QString::fromLatin1(text);
}

// Shows one fault of line `number`; true when the user goes on.
bool goOnAfter(Prompter& prompter, int number, const QString& line, const QString& rule) {
    const Answer answer =
        prompter.ask(S("Error in line ") + QString::number(number) + S(":\n") + line + S("\n\n") +
                         rule + S("\n\nPress OK to continue or press Cancel to retype.\n\n"),
                     S("Syntax Error"), Buttons::OkCancel, Icon::Exclamation, Answer::Cancel);
    return answer == Answer::Ok;
}

} // namespace

bool checkUserSettingsSyntax(Prompter& prompter, const QString& userText) {
    const QStringList lines = userText.split(QLatin1Char('\n'));
    for (qsizetype i = 0; i < lines.size(); ++i) {
        QString line = lines.at(i);
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        if (line.isEmpty())
            continue;
        const int number = int(i + 1);
        const QChar first = line.front();
        if (first != QLatin1Char('#') && first != QLatin1Char('$') &&
            !goOnAfter(prompter, number, line,
                       S("You must start a line with $ for a setting\nor # for a comment.")))
            return false;
        if (line.back() != QLatin1Char(';') && first != QLatin1Char('#') &&
            !goOnAfter(prompter, number, line,
                       S("You must end a line with ; unless it is a comment.")))
            return false;
    }
    return true;
}

QString savedSettingsEntry(const QString& userText, const QDateTime& when) {
    return S("# User settings saved on ") + QLocale::system().toString(when, QLocale::ShortFormat) +
           S("\n\n") + userText + S("\n\n");
}

bool appendSavedSettings(const QString& path, const QString& userText, const QDateTime& when,
                         QString* error) {
    QFile file(path);
    QByteArray text;
    if (file.exists()) {
        if (!file.open(QIODevice::ReadOnly)) {
            if (error)
                *error = file.errorString();
            return false;
        }
        text = file.readAll();
    }
    text += savedSettingsEntry(userText, when).toUtf8();
    return replaceFileAtomically(path, text, Durability::WaitForDisk, error);
}

} // namespace morvane
