#include "update/updatepage.h"

namespace morvane {

namespace {

QString L(const char* text) {
    return QString::fromLatin1(text);
}

// Markers are found in any case; searching without lower-casing the text
// first keeps every position true for the text itself.
qsizetype find(const QString& text, const QString& marker, qsizetype from = 0) {
    return text.indexOf(marker, from, Qt::CaseInsensitive);
}

// A number as the page writes it: blanks, then digits; whatever follows
// the digits ends it. Nothing when there is no digit (or too many).
std::optional<int> leadingNumber(QStringView text, bool digitRequired) {
    qsizetype i = 0;
    while (i < text.size() && text[i].isSpace())
        ++i;
    int value = 0;
    int digits = 0;
    for (; i < text.size() && text[i] >= QLatin1Char('0') && text[i] <= QLatin1Char('9'); ++i) {
        if (++digits > 9)
            return std::nullopt;
        value = value * 10 + (text[i].unicode() - '0');
    }
    if (digits == 0 && digitRequired)
        return std::nullopt;
    return value;
}

// The end of a number that runs to the next blank (or to the block's end).
qsizetype numberEnd(const QString& block, qsizetype from) {
    const qsizetype blank = block.indexOf(QLatin1Char(' '), from);
    return blank < 0 ? block.size() : blank;
}

QStringView between(const QString& text, qsizetype after, qsizetype before) {
    return QStringView(text).mid(after + 1, before - after - 1);
}

} // namespace

ProgramVersion runningVersion() {
    return {MORVANE_VERSION_MAJOR, MORVANE_VERSION_MINOR, MORVANE_VERSION_PATCH};
}

QString versionText(const ProgramVersion& version) {
    return QString::number(version.major) + QLatin1Char('.') + QString::number(version.minor) +
           QLatin1Char('.') + QString::number(version.revision);
}

QString markedBlock(const QString& text, const QString& start, const QString& end) {
    const qsizetype from = find(text, start);
    const qsizetype to = find(text, end);
    if (from < 0 || to < 0 || from >= to)
        return {};
    return text.mid(from, to - from);
}

QString updateBlockOf(const QString& mainPage) {
    return markedBlock(mainPage, L("<!--update start"), L("<!--update end"));
}

QString sizeBlockOf(const QString& mainPage) {
    return markedBlock(mainPage, L("<!--size start"), L("<!--size end"));
}

std::optional<ProgramVersion> latestVersionIn(const QString& block) {
    const qsizetype g = block.indexOf(QLatin1Char('>'));
    if (g < 0)
        return std::nullopt;
    const qsizetype d1 = block.indexOf(QLatin1Char('.'), g + 1);
    if (d1 < 0)
        return std::nullopt;
    const qsizetype d2 = block.indexOf(QLatin1Char('.'), d1 + 1);
    const auto major = leadingNumber(between(block, g, d1), true);
    std::optional<int> minor;
    std::optional<int> revision = 0;
    if (d2 >= 0) {
        minor = leadingNumber(between(block, d1, d2), true);
        // "2.5 released. ..." names no revision: it counts as 0.
        revision = leadingNumber(between(block, d2, numberEnd(block, d2)), false);
    } else {
        minor = leadingNumber(between(block, d1, numberEnd(block, d1)), true);
    }
    if (!major || !minor || !revision)
        return std::nullopt;
    return ProgramVersion{*major, *minor, *revision};
}

bool isNewer(const ProgramVersion& latest, const ProgramVersion& running) {
    if (latest.major != running.major)
        return latest.major > running.major;
    if (latest.minor != running.minor)
        return latest.minor > running.minor;
    return latest.revision > running.revision;
}

QString withBlocksInserted(QString page, const QString& updateBlock, const QString& sizeBlock) {
    const qsizetype update = find(page, L("<!--update"));
    if (update >= 0)
        page.insert(update, L("The latest version is ") + updateBlock);
    const qsizetype size = find(page, L("<!--size"));
    if (size >= 0)
        page.insert(size, sizeBlock);
    return page;
}

std::optional<NotePlaces> notePlacesIn(const QString& page) {
    NotePlaces places;
    places.version = find(page, L("<!--version"));
    if (places.version < 0)
        return std::nullopt;
    places.textEnd = find(page, L("<!--text end"), places.version);
    if (places.textEnd < 0)
        return std::nullopt;
    return places;
}

QString pageWithNotes(const QString& page, const NotePlaces& places, const ProgramVersion& running,
                      const QString& notesHtml) {
    return page.left(places.version) + versionText(running) +
           page.mid(places.version, places.textEnd - places.version) + notesHtml +
           page.mid(places.textEnd);
}

QString pageWithoutUpdate(const QString& page, const NotePlaces& places,
                          const ProgramVersion& running) {
    return page.left(places.version) + versionText(running) + L("<P>Update is not required") +
           page.mid(places.textEnd);
}

std::optional<QString> revisionNotesIn(const QString& readme, const ProgramVersion& running) {
    // The heading's underline may follow a Windows or a Unix line end.
    qsizetype heading = -1;
    for (const char* form : {"Revisions\r\n-", "Revisions\n-"}) {
        const qsizetype at = readme.indexOf(L(form));
        if (at >= 0 && (heading < 0 || at < heading))
            heading = at;
    }
    if (heading < 0)
        return std::nullopt;
    const QString text = readme.mid(heading);
    const QString key = L("Version ") + QString::number(running.major) + QLatin1Char('.') +
                        QString::number(running.minor);
    // "Version 1.0" must not stop at "Version 1.05", a later release.
    for (qsizetype at = text.indexOf(key); at >= 0; at = text.indexOf(key, at + 1)) {
        const qsizetype next = at + key.size();
        if (next >= text.size() || !text[next].isDigit())
            return text.left(at);
    }
    return QString();
}

QString notesHtml(const QString& notes) {
    if (notes.isEmpty())
        return {};
    return L("<pre>") + notes.toHtmlEscaped() + L("</pre>");
}

} // namespace morvane
