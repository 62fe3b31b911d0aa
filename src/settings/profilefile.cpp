#include "settings/profilefile.h"

#include "platform/atomicfile.h"

#include <QFile>
#include <QFileInfo>

namespace morvane {

namespace {

const QByteArray utf8Bom("\xEF\xBB\xBF");

// Names that differ in length never match: letter case is folded unit by
// unit, so the cheap test saves most of a start-up's comparisons.
bool sameName(const QString& a, const QString& b) {
    return a.size() == b.size() && a.compare(b, Qt::CaseInsensitive) == 0;
}

// What a read returns for a stored value: blanks around it and one pair of
// enclosing double quotes removed, at most ValueLimit characters. A lone CR
// ends the value as a line end would: no value read can then hold a line
// break that a write would refuse (writeini saves what readini read).
QString cleanValue(const QString& stored) {
    const qsizetype cr = stored.indexOf(QLatin1Char('\r'));
    QString value = (cr < 0 ? stored : stored.left(cr)).trimmed();
    if (value.size() >= 2 && value.startsWith(QLatin1Char('"')) && value.endsWith(QLatin1Char('"')))
        value = value.mid(1, value.size() - 2);
    return value;
}

QString cutToLimit(const QString& value) {
    if (value.size() <= ProfileFile::ValueLimit)
        return value;
    qsizetype n = ProfileFile::ValueLimit;
    // Never leave half of a surrogate pair at the end.
    if (value.at(n - 1).isHighSurrogate())
        --n;
    return value.left(n);
}

bool holdsLineBreak(const QString& text) {
    return text.contains(QLatin1Char('\n')) || text.contains(QLatin1Char('\r'));
}

} // namespace

ProfileFile::ProfileFile(const QString& path) : m_path(path) {}

ProfileFile ProfileFile::load(const QString& path) {
    ProfileFile profile(path);
    const QFileInfo info(path);
    if (!info.exists())
        return profile;
    QFile file(path);
    if (!info.isFile() || !file.open(QIODevice::ReadOnly)) {
        // The file is there but cannot be read: saving over it would lose
        // everything it holds, so this profile refuses to save.
        profile.m_unreadable = true;
        return profile;
    }
    profile.parse(file.readAll());
    return profile;
}

void ProfileFile::parse(const QByteArray& bytes) {
    m_lines.clear();
    m_finalLineEnd = true;
    if (bytes.isEmpty())
        return;
    const qsizetype firstBreak = bytes.indexOf('\n');
    m_lineEnd = (firstBreak > 0 && bytes.at(firstBreak - 1) == '\r') ? QByteArray("\r\n")
                                                                     : QByteArray("\n");
    QList<QByteArray> pieces = bytes.split('\n');
    if (pieces.last().isEmpty())
        pieces.removeLast();
    else
        m_finalLineEnd = false;
    m_lines.reserve(pieces.size());
    for (qsizetype i = 0; i < pieces.size(); ++i) {
        QByteArray raw = pieces.at(i);
        const bool ended = i + 1 < pieces.size() || m_finalLineEnd;
        // Each line keeps its own end: a file whose lines end differently
        // is saved with every other line as it was.
        const bool crlf = ended && raw.endsWith('\r');
        if (crlf)
            raw.chop(1);
        Line line = parseLine(raw);
        if (ended)
            line.end = crlf ? QByteArray("\r\n") : QByteArray("\n");
        m_lines.append(line);
    }
    renumberSections();
}

ProfileFile::Line ProfileFile::parseLine(const QByteArray& raw) {
    Line line;
    line.raw = raw;
    const qsizetype skip = raw.startsWith(utf8Bom) ? utf8Bom.size() : 0;
    const QString text = QString::fromUtf8(raw.mid(skip)).trimmed();
    if (text.isEmpty() || text.startsWith(QLatin1Char(';')) || text.startsWith(QLatin1Char('#')))
        return line;
    if (text.startsWith(QLatin1Char('['))) {
        const qsizetype close = text.lastIndexOf(QLatin1Char(']'));
        if (close > 0) {
            line.kind = Kind::Section;
            line.name = text.mid(1, close - 1).trimmed();
        }
        return line;
    }
    const qsizetype equals = raw.indexOf('=', skip);
    if (equals < 0)
        return line;
    const QString key = QString::fromUtf8(raw.mid(skip, equals - skip)).trimmed();
    if (key.isEmpty())
        return line;
    line.kind = Kind::Entry;
    line.name = key;
    line.valueAt = equals + 1;
    return line;
}

void ProfileFile::renumberSections() {
    int current = -1;
    for (qsizetype i = 0; i < m_lines.size(); ++i) {
        if (m_lines[i].kind == Kind::Section)
            current = int(i);
        m_lines[i].section = current;
    }
}

bool ProfileFile::sectionMatches(const Line& line, const QString& section) const {
    return line.section >= 0 && sameName(m_lines.at(line.section).name, section);
}

QList<qsizetype> ProfileFile::entryLines(const QString& section, const QString& key,
                                         qsizetype most) const {
    QList<qsizetype> found;
    const QString wantedSection = section.trimmed();
    const QString wantedKey = key.trimmed();
    for (qsizetype i = 0; i < m_lines.size() && found.size() != most; ++i) {
        const Line& line = m_lines.at(i);
        if (line.kind == Kind::Entry && sameName(line.name, wantedKey) &&
            sectionMatches(line, wantedSection))
            found.append(i);
    }
    return found;
}

qsizetype ProfileFile::firstSectionLine(const QString& section) const {
    const QString wanted = section.trimmed();
    for (qsizetype i = 0; i < m_lines.size(); ++i) {
        if (m_lines.at(i).kind == Kind::Section && sameName(m_lines.at(i).name, wanted))
            return i;
    }
    return -1;
}

QString ProfileFile::rawValue(const Line& line) {
    return QString::fromUtf8(line.raw.mid(line.valueAt));
}

QString ProfileFile::read(const QString& section, const QString& key,
                          const QString& defaultValue) const {
    // The first occurrence wins: the search stops there.
    const QList<qsizetype> found = entryLines(section, key, 1);
    if (found.isEmpty())
        return cutToLimit(defaultValue);
    return cutToLimit(cleanValue(rawValue(m_lines.at(found.first()))));
}

bool ProfileFile::contains(const QString& section, const QString& key) const {
    return !entryLines(section, key, 1).isEmpty();
}

QStringList ProfileFile::keys(const QString& section) const {
    QStringList names;
    const QString wanted = section.trimmed();
    for (const Line& line : m_lines) {
        if (line.kind != Kind::Entry || !sectionMatches(line, wanted))
            continue;
        if (!names.contains(line.name, Qt::CaseInsensitive))
            names.append(line.name);
    }
    return names;
}

bool ProfileFile::write(const QString& section, const QString& key,
                        const std::optional<QString>& value) {
    const QString sectionName = section.trimmed();
    const QString keyName = key.trimmed();
    if (sectionName.isEmpty() || keyName.isEmpty() || holdsLineBreak(sectionName) ||
        holdsLineBreak(keyName) || keyName.contains(QLatin1Char('=')) ||
        keyName.startsWith(QLatin1Char('[')) || keyName.startsWith(QLatin1Char(';')) ||
        keyName.startsWith(QLatin1Char('#')))
        return false;
    if (value && holdsLineBreak(*value))
        return false;

    const QList<qsizetype> found = entryLines(sectionName, keyName);
    if (!value) {
        // Every copy goes, so that no later duplicate shows through.
        for (qsizetype i = found.size() - 1; i >= 0; --i)
            m_lines.removeAt(found.at(i));
        renumberSections();
        return true;
    }
    if (!found.isEmpty()) {
        // Keep the key as spelled in the file (TexEditor stays TexEditor).
        Line& line = m_lines[found.first()];
        line.raw = line.raw.left(line.valueAt) + value->toUtf8();
        return true;
    }

    const Line entry = parseLine(keyName.toUtf8() + '=' + value->toUtf8());
    const qsizetype header = firstSectionLine(sectionName);
    if (header >= 0) {
        // New keys go after the last entry of the section, before the blank
        // lines and comments that lead to the next one.
        qsizetype at = header + 1;
        for (qsizetype i = header + 1; i < m_lines.size() && m_lines.at(i).section == header; ++i) {
            if (m_lines.at(i).kind == Kind::Entry)
                at = i + 1;
        }
        m_lines.insert(at, entry);
    } else {
        if (!m_lines.isEmpty() && !m_lines.last().raw.trimmed().isEmpty())
            m_lines.append(Line{});
        m_lines.append(parseLine('[' + sectionName.toUtf8() + ']'));
        m_lines.append(entry);
        m_finalLineEnd = true;
    }
    renumberSections();
    return true;
}

bool ProfileFile::removeSection(const QString& section) {
    const QString wanted = section.trimmed();
    QList<Line> kept;
    kept.reserve(m_lines.size());
    for (const Line& line : m_lines) {
        const bool header = line.kind == Kind::Section && sameName(line.name, wanted);
        if (!header && !sectionMatches(line, wanted))
            kept.append(line);
    }
    m_lines = kept;
    renumberSections();
    return true;
}

QByteArray ProfileFile::toBytes() const {
    QByteArray bytes;
    for (qsizetype i = 0; i < m_lines.size(); ++i) {
        const Line& line = m_lines.at(i);
        bytes += line.raw;
        if (i + 1 < m_lines.size() || m_finalLineEnd)
            bytes += line.end.isEmpty() ? m_lineEnd : line.end;
    }
    return bytes;
}

bool ProfileFile::save() const {
    if (m_path.isEmpty() || m_unreadable)
        return false;
    return replaceFileIfChanged(m_path, toBytes(), Durability::WaitForDisk);
}

QString readProfileString(const QString& file, const QString& section, const QString& key,
                          const QString& defaultValue) {
    return ProfileFile::load(file).read(section, key, defaultValue);
}

QStringList readProfileKeys(const QString& file, const QString& section) {
    return ProfileFile::load(file).keys(section);
}

bool writeProfileValue(const QString& file, const QString& section, const QString& key,
                       const std::optional<QString>& value) {
    ProfileFile profile = ProfileFile::load(file);
    // Deleting what is not there changes nothing and creates no file.
    if (!value && !profile.contains(section, key))
        return !section.trimmed().isEmpty() && !key.trimmed().isEmpty();
    return profile.write(section, key, value) && profile.save();
}

bool writeProfileString(const QString& file, const QString& section, const QString& key,
                        const QString& value) {
    return writeProfileValue(file, section, key, std::optional<QString>(value));
}

bool deleteProfileKey(const QString& file, const QString& section, const QString& key) {
    return writeProfileValue(file, section, key, std::nullopt);
}

} // namespace morvane
