#include "settings/iniencoding.h"

#include <algorithm>
#include <cmath>

namespace morvane {

namespace {

bool isDigit(QChar c) {
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

qsizetype skipDigits(const QString& text, qsizetype at) {
    while (at < text.size() && isDigit(text.at(at)))
        ++at;
    return at;
}

} // namespace

bool yesFlag(const QString& value) {
    return !value.isEmpty() && value.at(0).toUpper() == QLatin1Char('Y');
}

bool trueFlag(const QString& value) {
    return value.toLower() == QStringLiteral("true");
}

bool advancedSaveFlag(const QString& value) {
    return value != QStringLiteral("False");
}

double leadingNumber(const QString& value) {
    qsizetype start = 0;
    while (start < value.size() &&
           (value.at(start) == QLatin1Char(' ') || value.at(start) == QLatin1Char('\t')))
        ++start;
    qsizetype end = start;
    if (end < value.size() &&
        (value.at(end) == QLatin1Char('+') || value.at(end) == QLatin1Char('-')))
        ++end;
    const qsizetype digitsFrom = end;
    end = skipDigits(value, end);
    bool anyDigit = end > digitsFrom;
    if (end < value.size() && value.at(end) == QLatin1Char('.')) {
        const qsizetype fraction = skipDigits(value, end + 1);
        anyDigit = anyDigit || fraction > end + 1;
        end = fraction;
    }
    if (!anyDigit)
        return 0.0;
    // An exponent counts only when digits follow it ("2e" is 2).
    if (end < value.size() &&
        (value.at(end) == QLatin1Char('e') || value.at(end) == QLatin1Char('E'))) {
        qsizetype exponent = end + 1;
        if (exponent < value.size() &&
            (value.at(exponent) == QLatin1Char('+') || value.at(exponent) == QLatin1Char('-')))
            ++exponent;
        const qsizetype exponentEnd = skipDigits(value, exponent);
        if (exponentEnd > exponent)
            end = exponentEnd;
    }
    bool ok = false;
    const double number = value.mid(start, end - start).toDouble(&ok);
    return ok && std::isfinite(number) ? number : 0.0;
}

int numberValue(const QString& value) {
    // Out-of-range values are held at the 16-bit limits instead of failing.
    const double number = std::clamp(leadingNumber(value), -32768.0, 32767.0);
    return int(std::nearbyint(number));
}

int listIndexValue(const QString& value, int entries) {
    const int index = numberValue(value);
    return index >= 0 && index < entries ? index : 0;
}

int startupTabValue(int stored, int routeCount) {
    if (routeCount < 1)
        return 0;
    const int tab = stored % routeCount;
    return tab < 0 ? 0 : tab;
}

double scrollFractionValue(const QString& value) {
    return std::clamp(numberValue(value), 0, 50) / 100.0;
}

int scrollPercentValue(double fraction) {
    return int(std::nearbyint(fraction * 100.0));
}

void splitCmdline(const QString& stored, QStringList& args) {
    while (args.size() < 6)
        args.append(QString());
    QString value = stored;
    if (!value.isEmpty())
        value = QLatin1Char('"') + value + QLatin1Char('"');
    const qsizetype blank = value.indexOf(QLatin1Char(' '));
    if (blank < 0) {
        args[4] = value;
        return;
    }
    args[4] = value.left(blank);
    args[5] = value.mid(blank + 1);
}

QString joinCmdline(const QStringList& args) {
    QString options = args.value(4).trimmed();
    const QString fonts = args.value(5).trimmed();
    if (options.isEmpty() && !fonts.isEmpty())
        options = QStringLiteral("\"\"");
    // Without fonts no blank is left at the end: the file keeps "Cmdline=".
    return fonts.isEmpty() ? options : options + QLatin1Char(' ') + fonts;
}

void splitHtruncommand(const QString& stored, QStringList& args) {
    while (args.size() < 6)
        args.append(QString());
    const qsizetype split = stored.indexOf(QStringLiteral(" -"));
    if (split < 0) {
        args[0] = stored;
        return;
    }
    args[0] = stored.left(split);
    args[1] = stored.mid(split + 1);
}

QString joinHtruncommand(const QStringList& args) {
    const QString program = args.value(0).trimmed();
    const QString htrunSwitch = args.value(1).trimmed();
    // Without a switch no blank is left at the end: "Htruncommand=htlatex".
    return htrunSwitch.isEmpty() ? program : program + QLatin1Char(' ') + htrunSwitch;
}

QStringList heveaVerboseEntries() {
    return {QStringLiteral("None"), QStringLiteral("Single"), QStringLiteral("Double")};
}

QString outputTypeWord(int optOutputIndex) {
    switch (optOutputIndex) {
    case 1:
        return QStringLiteral("text");
    case 2:
        return QStringLiteral("info");
    default:
        return QStringLiteral("html");
    }
}

} // namespace morvane
