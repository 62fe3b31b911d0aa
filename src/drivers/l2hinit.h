#pragma once

// LaTeX2HTML's init file "LaTeX2HTML.init" in the program directory: an
// automatic part composed from the LaTeX2HTML tab, and the user's own part
// after the "# User settings" line, which every rewrite keeps byte for byte.

#include <QByteArray>
#include <QString>
#include <optional>

namespace morvane {

struct AppContext;
struct Conversion;
class OptionsModel;

// The LaTeX2HTML tab's choices that reach the init file.
struct L2hInitOptions {
    QString imageType = QStringLiteral("png"); // "gif", "png" or "svg"
    bool navigation = true;
    QString splitDepth = QStringLiteral("Default");
    QString verbosity = QStringLiteral("Default");
    QString about = QStringLiteral("Default");
    QString address = QStringLiteral("Default");
    QString title = QStringLiteral("Default");

    static L2hInitOptions from(const OptionsModel& model);
};

// `text` as a Perl single-quoted string, quotes included: a quote or a
// backslash in a title or a folder name stays text. Line breaks become
// blanks, so a value can never start a line of its own (a false marker).
QString perlQuoted(const QString& text);

// The automatic settings for a document whose pages go to `outputDir`, one
// line each, ending with "1;": LaTeX2HTML loads the file with require, which
// fails when the file's last statement is false ($VERBOSITY = 0;).
QString automaticL2hSettings(const L2hInitOptions& options, const QString& outputDir);

// The user's part of an init file's text: everything after the line
// "# User settings" and its one line end. A file without that line is not
// one this program wrote: all of it is kept as the user's, unless it is
// only an automatic part.
QByteArray userPartOf(const QByteArray& initText);

// The user's part of the init file at `path`: empty when there is no file;
// nullopt when the file is there but cannot be read, so that it is not
// rewritten without the user's part.
std::optional<QByteArray> readUserSettings(const QString& path);

// The whole file: the automatic part, an empty line, the marker line and
// the user's part as it is.
QByteArray composeInitFile(const QString& automatic, const QByteArray& user);

// Replaces the init file at `path` atomically; false (with `error`) when it
// cannot be written.
bool writeInitFile(const QString& path, const QString& automatic, const QByteArray& user,
                   QString* error = nullptr);

// The program's init file.
QString l2hInitPath(const AppContext& ctx);

// Writes the program's init file for `outputDir` from the tab's options,
// keeping the user's part; tells the user and answers false when it cannot.
// `written` (when given) receives the whole file as written, for the run's
// own copy: two conversions at once must not read each other's.
bool WriteInit(AppContext& ctx, const OptionsModel& options, const QString& outputDir,
               QByteArray* written = nullptr);

} // namespace morvane
