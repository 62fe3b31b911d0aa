#include "pipeline/batchdriver.h"
#include "platform/atomicfile.h"

#include "pipeline/appcontext.h"
#include "pipeline/conversion.h"
#include "platform/prompter.h"
#include "settings/optionsmodel.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

namespace morvane {

namespace {

const QByteArray kMarker = "REM Morvane will be writing text here automatically";
const QByteArray kEndLine = "REM **";
const QString kTitle = QStringLiteral("Convert.sh");
const QString kPublisherPage = QStringLiteral("https://morvane.example.org");

// One "set NAME=value" line. A value is a single line of the block: a line
// break inside it would start a line of its own (even a false "REM **" end
// line), so breaks become blanks.
QString setLine(const QString& name, QString value) {
    value.replace(QLatin1Char('\r'), QLatin1Char(' '));
    value.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return QStringLiteral("set ") + name + QLatin1Char('=') + value + QLatin1Char('\n');
}

// Every double blank made one blank, in one pass from the left (so four
// blanks become two), as the command lines have always been tidied.
QString singleSpaced(QString text) {
    return text.replace(QStringLiteral("  "), QStringLiteral(" "));
}

QString tex4htPiece(const QStringList& pieces, int number) {
    return number - 1 < pieces.size() ? pieces.at(number - 1) : QString();
}

} // namespace

QString tex4htSettings(const AppContext& ctx, const OptionsModel& model, const QString&) {
    QString block = setLine(QStringLiteral("progpath"), ctx.settings.vars.tex4ht);
    block += setLine(QStringLiteral("delegate_path"), ctx.settings.vars.imageMagick);
    block += setLine(QStringLiteral("gs_lib"), ctx.settings.vars.gsLib);

    const QStringList pieces = model.items(ctl::tex4htArgs);
    const auto piece = [&pieces](int n) { return tex4htPiece(pieces, n); };
    // Piece 3, the document, becomes the script's second argument.
    const QString tail = QStringLiteral(" %2 ") + piece(4) + QLatin1Char(' ') + piece(5) +
                         QLatin1Char(' ') + piece(6);
    const bool htrun = model.checkValue(ctl::chkHtrun) == 1;
    const bool locked = model.tag(ctl::txt3Locked) != QLatin1String("no");

    QString htrunDir;
    QString command;
    if (htrun) {
        htrunDir = model.checkValue(ctl::chkSWP) == 1 ? ctx.settings.vars.htrunS
                                                      : ctx.settings.vars.htrunM;
        command = htrunDir + QStringLiteral("/htrun ") + singleSpaced(piece(2) + tail).trimmed();
    } else {
        command = singleSpaced(piece(1) + QLatin1Char(' ') + piece(2) + tail);
    }
    // An unlocked command-line box wins. htrun still runs from its directory;
    // the box's text starts with the program name.
    if (!locked) {
        const QString text = model.text(ctl::txt3);
        command = htrun ? htrunDir + QLatin1Char('/') + text : text;
    }
    block += setLine(QStringLiteral("htrunpath"), htrunDir);
    block += setLine(QStringLiteral("cmdline"), command);
    return block;
}

// `initFile`: the run's own copy of the init file, when it has one.
QString l2hSettings(const AppContext& ctx, const OptionsModel&, const QString& initFile) {
    const SettingsVariables& v = ctx.settings.vars;
    const QString gsProgram = ghostscriptProgramDir(v.gsLib);
    QString block = setLine(QStringLiteral("progpath"),
                            gsProgram + QLatin1Char(';') + v.l2h + QLatin1Char(';') + v.perl +
                                QLatin1Char(';') + v.netpbm + QLatin1Char(';') + v.l2h +
                                QStringLiteral("/bin"));
    block += setLine(QStringLiteral("gs_lib"),
                     v.gsLib + QLatin1Char(';') + ghostscriptFontsDir(v.gsLib));
    block += setLine(QStringLiteral("L2HMODULE"), v.l2h);
    // The file the LaTeX2HTML driver writes; names are case-sensitive here.
    block += setLine(QStringLiteral("init"),
                     initFile.isEmpty() ? ctx.programDir + QStringLiteral("/LaTeX2HTML.init")
                                        : initFile);
    return block;
}

QString gspdfSettings(const AppContext& ctx, const OptionsModel&, const QString& commandLine) {
    // "command£directory". Without a "£" the whole text is the command.
    const qsizetype p = commandLine.indexOf(QChar(0x00A3));
    const QString command = p < 0 ? commandLine : commandLine.left(p);
    const QString directory = p < 0 ? QString() : commandLine.mid(p + 1);
    return setLine(QStringLiteral("filepath"), directory) +
           setLine(QStringLiteral("progpath"), ctx.programDir) +
           setLine(QStringLiteral("cmdline"), command);
}

namespace {

QString redirPath(const AppContext& ctx) {
    return ctx.programDir + QStringLiteral("/redir");
}

void tellUnreadable(const AppContext& ctx, const QString& path, const QString& reason) {
    const QString native = QDir::toNativeSeparators(path);
    const QString text =
        QFileInfo::exists(path)
            ? QStringLiteral("Can't read ") + native + QStringLiteral(".\n\n") + reason
            : QStringLiteral("Can't find ") + native + QStringLiteral(" file.\n\n") +
                  QStringLiteral("Please restore an original copy of Convert.sh.");
    ctx.seams.prompter->tell(text, kTitle, Icon::Critical);
}

bool readBatchDriver(const QString& path, QByteArray& text, QString& error) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        error = file.errorString();
        return false;
    }
    text = file.readAll();
    return true;
}

// The first place at or after `from` where a line begins with `start`; -1
// when there is none. The script reads its block line by line, so text in
// the middle of a line (a setting's value) is never a marker.
qsizetype lineStartingWith(const QByteArray& text, const QByteArray& start, qsizetype from) {
    for (qsizetype at = text.indexOf(start, from); at >= 0; at = text.indexOf(start, at + 1)) {
        if (at == 0 || text.at(at - 1) == '\n')
            return at;
    }
    return -1;
}

// Finds the first marker line (the whole line), as the script does;
// `afterMarker` is set to the first byte after its line end. Writers that
// turned the script's line ends into CR LF are tolerated.
qsizetype findMarker(const QByteArray& text, qsizetype& afterMarker) {
    for (qsizetype m = lineStartingWith(text, kMarker, 0); m >= 0;
         m = lineStartingWith(text, kMarker, m + 1)) {
        const qsizetype end = m + kMarker.size();
        const qsizetype lineEnd = text.mid(end, 1) == "\n" ? 1 : text.mid(end, 2) == "\r\n" ? 2 : 0;
        if (lineEnd > 0) {
            afterMarker = end + lineEnd;
            return m;
        }
    }
    return -1;
}

} // namespace

QString ghostscriptProgramDir(const QString& libraryDir) {
    QString bin = libraryDir;
    bin.replace(QStringLiteral("/lib"), QStringLiteral("/bin"));
    return QFileInfo(bin + QStringLiteral("/gs")).isFile() ? bin : libraryDir;
}

QString ghostscriptFontsDir(const QString& libraryDir) {
    qsizetype from = 0;
    while (true) {
        const qsizetype i = libraryDir.indexOf(QStringLiteral("/gs"), from);
        if (i < 0)
            return libraryDir;
        if (i + 4 < libraryDir.size() && libraryDir.at(i + 4) == QLatin1Char('.'))
            return libraryDir.left(i + 1) + QStringLiteral("fonts");
        from = i + 1;
    }
}

QString heveaSettings(const AppContext& ctx, const OptionsModel& model,
                      const QString& commandLine) {
    QString hacha = QStringLiteral("no");
    if (model.checkValue(ctl::chkHacha) == 1)
        hacha = model.checkValue(ctl::chkFrench) == 1 ? QStringLiteral("-francais") : QString();
    const bool native = model.index(ctl::optCode) == 1;
    return setLine(QStringLiteral("redir"), redirPath(ctx)) +
           setLine(QStringLiteral("progpath"), ctx.settings.vars.hevea) +
           setLine(QStringLiteral("cmdline"), commandLine) +
           setLine(QStringLiteral("cmdline2"), hacha) +
           setLine(QStringLiteral("code"), native ? QStringLiteral("x") : QString());
}

QString tthSettings(const AppContext& ctx, const OptionsModel&, const QString& commandLine) {
    return setLine(QStringLiteral("redir"), redirPath(ctx)) +
           setLine(QStringLiteral("progpath"), ctx.settings.vars.tth) +
           setLine(QStringLiteral("cmdline"), commandLine);
}

QString texifySettings(const AppContext& ctx, const OptionsModel&, const QString& commandLine) {
    return setLine(QStringLiteral("progpath"), ctx.settings.vars.texify) +
           setLine(QStringLiteral("cmdline"), commandLine);
}

QString pandocSettings(const AppContext& ctx, const OptionsModel& model,
                       const QString& commandLine) {
    // The citation style is a file name: a setting of its own, passed to
    // pandoc as one argument, never a word of the command line.
    const bool citations = model.isChecked(ctl::chkPandocCiteproc);
    return setLine(QStringLiteral("progpath"), ctx.settings.vars.pandoc) +
           setLine(QStringLiteral("cmdline"), commandLine) +
           setLine(QStringLiteral("csl"),
                   citations ? model.text(ctl::txtPandocCsl).trimmed() : QString());
}

SettingsBlock settingsBlockNamed(const QString& writerKey) {
    static const struct {
        const char* key;
        SettingsBlock block;
    } kWriters[] = {{"hevea", heveaSettings},   {"tth", tthSettings}, {"texify", texifySettings},
                    {"tex4ht", tex4htSettings}, {"l2h", l2hSettings}, {"gspdf", gspdfSettings}};
    const QString key = writerKey.toLower();
    for (const auto& writer : kWriters)
        if (key == QLatin1String(writer.key))
            return writer.block;
    return nullptr;
}

QString settingsBlock(const AppContext& ctx, const QString& commandLine, const QString& writerKey) {
    const SettingsBlock block = settingsBlockNamed(writerKey);
    return block ? block(ctx, *ctx.model, commandLine) : QString();
}

bool Writebat(AppContext& ctx, const QString& block, QByteArray* written) {
    const QString path = ctx.batchDriverPath();
    QByteArray text;
    QString error;
    if (!readBatchDriver(path, text, error)) {
        tellUnreadable(ctx, path, error);
        return false;
    }

    qsizetype blockStart = 0;
    const qsizetype m = findMarker(text, blockStart);
    // The end line is the first line after the marker that begins "REM **",
    // as the script reads it; one above the marker never counts.
    const qsizetype e = m < 0 ? -1 : lineStartingWith(text, kEndLine, blockStart);
    // The shell drops NUL bytes as it reads: in a file holding them, the
    // script may find a marker line where the program sees none.
    if (m < 0 || e < 0 || text.contains('\0')) {
        ctx.seams.prompter->tell(
            QStringLiteral("Convert.sh has been altered so that Morvane can't read "
                           "it.\n\nPlease restore an original copy of Convert.sh."),
            kTitle, Icon::Critical);
        return false;
    }

    QByteArray updated = text.left(blockStart) + block.toUtf8() + text.mid(e);
    if (updated.endsWith('\n') && updated.size() >= 2)
        updated.chop(1);
    updated += '\n';

    // Most conversions repeat the settings of the one before: the script as
    // it is then serves, and the run costs no write and no wait for the disk.
    if (updated == text) {
        if (written)
            *written = updated;
        return true;
    }
    QString writeError;
    if (!replaceFileAtomically(path, updated, Durability::WaitForDisk, &writeError)) {
        ctx.seams.prompter->tell(QStringLiteral("Can't write ") + QDir::toNativeSeparators(path) +
                                     QStringLiteral(".\n\n") + writeError,
                                 kTitle, Icon::Critical);
        return false;
    }
    if (written)
        *written = updated;
    return true;
}

QString settingLine(const QString& name, const QString& value) {
    return setLine(name, value);
}

bool usableInSearchPath(const QString& folder) {
    if (!folder.startsWith(QLatin1Char('/')))
        return false;
    for (const QChar c : folder)
        if (c == QLatin1Char(':') || c == QLatin1Char(';') || c == QLatin1Char('$') ||
            c == QLatin1Char('{') || c == QLatin1Char('}') || c == QLatin1Char('!') ||
            c == QLatin1Char('\n') || c == QLatin1Char('\r'))
            return false;
    return true;
}

QString conversionSettings(const Conversion& conversion) {
    QString lines;
    const QString folder = QDir::cleanPath(conversion.documentFolder);
    if (!conversion.documentFolder.isEmpty() && usableInSearchPath(folder))
        lines += setLine(QStringLiteral("docdir"), folder);
    if (!conversion.standInPrograms.isEmpty() && usableInSearchPath(conversion.standInPrograms))
        lines += setLine(QStringLiteral("standins"), conversion.standInPrograms);
    if (!conversion.preparedFolder.isEmpty() && usableInSearchPath(conversion.preparedFolder))
        lines += setLine(QStringLiteral("prepared"), conversion.preparedFolder);
    return lines;
}

bool Writebat(Conversion& conversion, const QString& commandLine, SettingsBlock block) {
    if (!block)
        block = conversion.route.settingsBlock;
    const QString lines =
        block ? block(conversion.app, conversion.options, commandLine) : QString();
    return Writebat(conversion.app, lines + conversionSettings(conversion),
                    &conversion.writtenBatchDriver);
}

bool Writebat(AppContext& ctx, const QString& commandLine, const QString& writerKey) {
    return Writebat(ctx, settingsBlock(ctx, commandLine, writerKey), nullptr);
}

QString oldBatchDriverReason(const QByteArray& text, bool htrunConfigured) {
    if (text.contains("hevea.log"))
        return QStringLiteral("won't produce a correct log file if you use Hevea or Tth.");
    if (!text.contains("$cmdline2"))
        return QStringLiteral("can't use Hacha (part of Hevea).");
    if (!text.contains("pause_after \"$3\""))
        return QStringLiteral("can't use Pause in Tex4ht.");
    if (!text.contains("PATH=\"$progpath:$htrunpath:$PATH\"\n") && htrunConfigured)
        return QStringLiteral("can't use htrun in Tex4ht.");
    return {};
}

void checkBatchDriverVersion(AppContext& ctx) {
    QByteArray text;
    QString error;
    // A missing convert.sh has already stopped the start-up; an unreadable one
    // is reported when a conversion needs it.
    if (!readBatchDriver(ctx.batchDriverPath(), text, error))
        return;
    const QString reason = oldBatchDriverReason(text, !ctx.settings.vars.htrunS.isEmpty() ||
                                                          !ctx.settings.vars.htrunM.isEmpty());
    if (reason.isEmpty())
        return;
    ctx.seams.prompter->tell(
        QStringLiteral("You are currently using an old version of convert.sh which ") + reason +
            QStringLiteral("\n\nPlease replace convert.sh with a newer version which will be found "
                           "in Update.zip.\n \nIf you have deleted the zip file you can download "
                           "Update.zip from ") +
            kPublisherPage + QLatin1Char('.'),
        QStringLiteral("Old version of convert.sh"), Icon::Exclamation);
    OptionsModel& model = *ctx.model;
    model.setEnabled(ctl::chkHacha, false);
    model.setEnabled(ctl::chkTex4htPause, false);
    model.setCheckValue(ctl::chkHtrun, 0);
    model.setEnabled(ctl::chkHtrun, false);
}

} // namespace morvane
