#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

namespace morvane {

// A profile (INI) file: "[Section]" lines and "Key=Value" lines.
//
// Reading:
//  - section and key names are matched without regard to letter case;
//  - a missing file, section or key yields the caller's default;
//  - a value ends at a lone CR; blanks around it and one pair of enclosing
//    double quotes are removed, and at most ProfileFile::ValueLimit
//    characters are returned;
//  - when a section or key occurs more than once, the first occurrence in
//    file order wins (sections of the same name count as one section);
//  - lines that are neither section nor entry lines (comments, garbage,
//    binary bytes, entries before the first section) are ignored.
// Writing:
//  - a text value creates or replaces the entry; the empty text keeps an
//    empty entry, and a null QString counts as the empty text;
//  - no value at all (std::nullopt) deletes the key;
//  - every other line of the file, comments and unknown keys included, is
//    kept byte for byte, and so is the file's line-end style (CR LF or LF);
//  - a write to a missing file creates it when its directory exists;
//  - each save replaces the file atomically and reaches the disk at once.
class ProfileFile {
public:
    static constexpr int ValueLimit = 199;

    // An empty profile that saves to `path`.
    explicit ProfileFile(const QString& path = QString());
    // Reads `path`; a missing or unreadable file gives an empty profile (an
    // unreadable one also refuses to be saved over).
    static ProfileFile load(const QString& path);

    QString path() const { return m_path; }

    QString read(const QString& section, const QString& key, const QString& defaultValue) const;
    // The names of the section's keys in file order, as spelled in the file,
    // each name once.
    QStringList keys(const QString& section) const;
    bool contains(const QString& section, const QString& key) const;

    // Changes the profile in memory; false when the names or the value
    // cannot be stored in a profile line (empty key, line breaks, a key with
    // "=", a section name with "]").
    bool write(const QString& section, const QString& key, const std::optional<QString>& value);
    bool writeText(const QString& section, const QString& key, const QString& value) {
        return write(section, key, std::optional<QString>(value));
    }
    bool remove(const QString& section, const QString& key) {
        return write(section, key, std::nullopt);
    }
    // Deletes the section line and every line of the section.
    bool removeSection(const QString& section);

    // The file's bytes as they would be saved.
    QByteArray toBytes() const;
    // Replaces the file atomically; false when it could not be written.
    bool save() const;

private:
    enum class Kind { Other, Section, Entry };
    struct Line {
        QByteArray raw; // the line without its line end
        QByteArray end; // its own line end; empty: the file's (new lines, the last line)
        Kind kind = Kind::Other;
        QString name;          // section or key name, trimmed
        qsizetype valueAt = 0; // entries: byte offset of the value in raw
        int section = -1;      // index of the section line above, -1 before any
    };

    void parse(const QByteArray& bytes);
    static Line parseLine(const QByteArray& raw);
    void renumberSections();
    // The lines of the key's entries in file order, at most `most` of them
    // (-1: all).
    QList<qsizetype> entryLines(const QString& section, const QString& key,
                                qsizetype most = -1) const;
    qsizetype firstSectionLine(const QString& section) const;
    bool sectionMatches(const Line& line, const QString& section) const;
    static QString rawValue(const Line& line);

    QString m_path;
    QList<Line> m_lines;
    QByteArray m_lineEnd = "\n";
    bool m_finalLineEnd = true;
    bool m_unreadable = false; // there is a file, but it could not be read
};

// The platform's profile operations: each call reads the file afresh, and
// each write replaces it at once.
QString readProfileString(const QString& file, const QString& section, const QString& key,
                          const QString& defaultValue);
QStringList readProfileKeys(const QString& file, const QString& section);
// Stores `value` as text; a null QString stores an empty entry, never deletes.
bool writeProfileString(const QString& file, const QString& section, const QString& key,
                        const QString& value);
// Deletes the key; true when it is gone afterwards (also when it never was).
bool deleteProfileKey(const QString& file, const QString& section, const QString& key);
// The general form: std::nullopt deletes, any text stores.
bool writeProfileValue(const QString& file, const QString& section, const QString& key,
                       const std::optional<QString>& value);

} // namespace morvane
