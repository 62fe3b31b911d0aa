#pragma once

#include <QString>
#include <optional>

namespace morvane {

// A program version as the update page and the readme name it.
struct ProgramVersion {
    int major = 0;
    int minor = 0;
    int revision = 0;

    bool operator==(const ProgramVersion&) const = default;
};

// The running program's version.
ProgramVersion runningVersion();

// "major.minor.revision".
QString versionText(const ProgramVersion& version);

// The text from `start` up to, not including, `end`; empty when `start` is
// missing or does not come before `end`. Markers match in any case; the
// block keeps its own.
QString markedBlock(const QString& text, const QString& start, const QString& end);

// The update block and the size block of the publisher's main page.
QString updateBlockOf(const QString& mainPage);
QString sizeBlockOf(const QString& mainPage);

// The latest version named in an update block: the digits after its first
// ">", as major.minor or major.minor.revision, ended by a blank. Nothing
// when the block does not hold a version in that form.
std::optional<ProgramVersion> latestVersionIn(const QString& updateBlock);

// True when `latest` comes after `running`.
bool isNewer(const ProgramVersion& latest, const ProgramVersion& running);

// The template with "The latest version is " and the update block put before
// its first "<!--update", and the size block before its first "<!--size"
// (each only where the marker is found).
QString withBlocksInserted(QString page, const QString& updateBlock, const QString& sizeBlock);

// Where the running version and the notes go: the first "<!--version" and
// the first "<!--text end" after it. Nothing when either is missing or they
// come in the other order.
struct NotePlaces {
    qsizetype version = -1;
    qsizetype textEnd = -1;
};
std::optional<NotePlaces> notePlacesIn(const QString& page);

// A newer version exists: the running version before "<!--version", and
// the notes before "<!--text end", the page between them kept.
QString pageWithNotes(const QString& page, const NotePlaces& places, const ProgramVersion& running,
                      const QString& notesHtml);
// No newer version: the running version and "<P>Update is not required"
// in place of everything from "<!--version" up to "<!--text end".
QString pageWithoutUpdate(const QString& page, const NotePlaces& places,
                          const ProgramVersion& running);

// The revision notes of the readme that are newer than `running`: from the
// "Revisions" heading (with its underline) up to the first "Version M.m"
// of the running major and minor number. Empty when that version is not
// named; nothing when the readme has no such heading.
std::optional<QString> revisionNotesIn(const QString& readme, const ProgramVersion& running);

// Plain text shown as it is on a web page: escaped, in a <pre> block.
QString notesHtml(const QString& notes);

} // namespace morvane
