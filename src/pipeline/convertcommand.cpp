#include "pipeline/convertcommand.h"

#include "pipeline/appcontext.h"
#include "pipeline/pathutils.h"
#include "pipeline/savedpath.h"
#include "platform/prompter.h"
#include "platform/volumes.h"
#include "ui/filehistory.h"

#include <QFileInfo>

namespace morvane {

namespace {

const QString kConvertTitle = QStringLiteral("Convert TeX File");
const QString kNoTeXTitle = QStringLiteral("No TeX File");
const QString kLongNameTitle = QStringLiteral("Long File Name Problem");

// The route names used when a tab's converter is not part of this build.
QString routeName(int tab) {
    switch (tab) {
    case TabHevea:
        return QStringLiteral("HeVeA");
    case TabTth:
        return QStringLiteral("TtH");
    case TabTex4ht:
        return QStringLiteral("TeX4ht");
    case TabL2h:
        return QStringLiteral("LaTeX2HTML");
    case TabDvi:
        return QStringLiteral("DVI");
    case TabPdf:
        return QStringLiteral("PDF");
    default:
        return QString();
    }
}

// The extension the drivers cut off a non-TeX file: from its last "." on, so
// that paper.html gives ".html"; a name without one keeps the last four
// characters.
QString extensionOf(const QString& file) {
    const QString name = fileNameOf(file);
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    if (dot > 0)
        return name.mid(dot).toLower();
    return name.right(4).toLower();
}

void tellCopyError(AppContext& ctx, const QString& error, const QString& source,
                   const QString& destination) {
    ctx.prompter->tell(error + QStringLiteral("\nUnable to copy ") + source +
                           QStringLiteral(" to ") + destination +
                           QStringLiteral("\n\nTry changing the name of ") + source +
                           QStringLiteral(" yourself before converting."),
                       QStringLiteral("File copy error"), Icon::Critical);
}

bool copyOrTell(AppContext& ctx, const QString& source, const QString& destination) {
    QString error;
    if (copyFileAtomically(source, destination, &error))
        return true;
    tellCopyError(ctx, error, source, destination);
    return false;
}

// The "Save" question before a copy replaces a file of the same name.
bool mayReplace(AppContext& ctx, const QString& destination) {
    if (!QFileInfo::exists(destination))
        return true;
    return ctx.prompter->ask(QStringLiteral("The file ") + destination +
                                 QStringLiteral(" already exists. \n \n Replace existing file?"),
                             QStringLiteral("Save"), Buttons::YesNo, Icon::Question,
                             Answer::No) == Answer::Yes;
}

// A second Convert of a file still being converted is refused.
bool alreadyConverting(AppContext& ctx, const QString& file) {
    OptionsModel& m = *ctx.model;
    if (!m.isChecked(QStringLiteral("chkMulti")) ||
        m.tag(QStringLiteral("cmdConvert")) != QStringLiteral("wait"))
        return false;
    if (!m.items(QStringLiteral("lstProcesses")).contains(file))
        return false;
    ctx.prompter->tell(QStringLiteral("You are currently converting ") + file +
                           QStringLiteral("\n\nTo convert this file again you must wait until "
                                          "the process has been completed."),
                       kConvertTitle, Icon::Critical);
    return true;
}

enum class Outcome { GoOn, Stop };

// TeX programs cannot write next to a file on a CD-ROM: offer a copy in the
// TeX documents directory. `file` becomes the copy when one is made.
Outcome cdRomRule(AppContext& ctx, QString& file) {
    const QString cdRom = ctx.vars.cdRom;
    if (cdRom.isEmpty() || !VolumeTable::liesOn(PathOnly(file), cdRom))
        return Outcome::GoOn;
    QString message = QStringLiteral("Cannot save files to CD-ROM drive.\n\n");
    if (!ctx.paths.texDocsExists) {
        ctx.prompter->tell(message, kConvertTitle, Icon::Exclamation);
        return Outcome::Stop;
    }
    message += QStringLiteral("Copy ") + file + QStringLiteral("\nto ") + ctx.vars.texDocs +
               QStringLiteral(" first?");
    if (ctx.prompter->ask(message, kConvertTitle, Buttons::OkCancel, Icon::Exclamation) !=
        Answer::Ok)
        return Outcome::GoOn;
    const QString destination = joinPath(ctx.vars.texDocs, fileNameOf(ctx.convertFile()));
    if (!mayReplace(ctx, destination))
        return Outcome::Stop;
    if (!copyOrTell(ctx, file, destination))
        return Outcome::Stop;
    file = destination;
    ctx.model->setText(QStringLiteral("cmbTeX"), destination);
    return Outcome::GoOn;
}

// latex and pdflatex fail on "~" in a file name, htlatex and texi2dvi on a
// blank: offer a copy in the TeX documents directory with "_" instead. The
// HeVeA and TtH routes are exempt.
Outcome shortNameRule(AppContext& ctx, QString& source) {
    const bool blankName = !ctx.vars.longFileName && fileNameOf(source).contains(QLatin1Char(' '));
    if (ctx.selectedTab() < TabTex4ht || !(source.contains(QLatin1Char('~')) || blankName))
        return Outcome::GoOn;

    // Only the file name is changed: the TeX documents directory itself may
    // hold a blank.
    const QString name = fileNameOf(source);
    QString newName = replaceAll(name, QStringLiteral("~"), QStringLiteral("_"));
    newName = replaceAll(newName, QStringLiteral(" "), QStringLiteral("_"));
    const bool nameChanged = newName != name;
    const QString destination = joinPath(ctx.vars.texDocs, newName);

    QString message = QStringLiteral("TeX related programs may not be able to handle the ~ "
                                     "character in the short file name\n") +
                      source + QStringLiteral("\n\n");
    if (!ctx.paths.texDocsExists) {
        ctx.prompter->tell(message, kLongNameTitle, Icon::Exclamation);
        return Outcome::Stop;
    }
    message += QStringLiteral("Copy ") + source + QStringLiteral("  to ") + ctx.vars.texDocs +
               QStringLiteral("\n");
    if (nameChanged)
        message +=
            QStringLiteral("changing name to ") + fileNameOf(destination) + QStringLiteral("\n");
    message += QStringLiteral("\nand then redo?");
    switch (ctx.prompter->ask(message, kLongNameTitle, Buttons::YesNoCancel, Icon::Exclamation)) {
    case Answer::Yes:
        break;
    case Answer::No:
        return Outcome::GoOn;
    default:
        return Outcome::Stop;
    }
    // A file of that name in the TeX documents directory may be another
    // document: it is only replaced when the user agrees.
    if (destination != source && !mayReplace(ctx, destination))
        return Outcome::Stop;
    if (!copyOrTell(ctx, source, destination))
        return Outcome::Stop;
    source = destination;
    ctx.model->setText(QStringLiteral("cmbTeX"), destination);
    SavedPath(ctx);
    return Outcome::GoOn;
}

void callDriver(AppContext& ctx, const QString& source) {
    const int tab = ctx.selectedTab();
    if (tab < TabHevea || tab > TabPdf)
        return;
    const Driver& driver = ctx.drivers[static_cast<std::size_t>(tab)];
    if (!driver) {
        ctx.prompter->tell(QStringLiteral("The ") + routeName(tab) +
                               QStringLiteral(" conversion is not available in this version."),
                           kConvertTitle, Icon::Information);
        return;
    }
    driver(source);
}

} // namespace

bool Checkfile(AppContext& ctx, const QString& file) {
    if (file.isEmpty()) {
        ctx.prompter->tell(QStringLiteral("No TeX file!"), kNoTeXTitle, Icon::Exclamation);
        return false;
    }
    const QFileInfo info(file);
    if (!info.exists()) {
        ctx.prompter->tell(file + QStringLiteral(" doesn't exist!"), kNoTeXTitle,
                           Icon::Exclamation);
        return false;
    }
    if (info.isDir()) {
        ctx.prompter->tell(file + QStringLiteral(" is a directory, not a TeX file!"), kNoTeXTitle,
                           Icon::Exclamation);
        return false;
    }
    if (!info.isReadable()) {
        ctx.prompter->tell(file + QStringLiteral(" can't be read!"), kNoTeXTitle,
                           Icon::Exclamation);
        return false;
    }
    if (ctx.vars.allowNonTeXFiles) {
        ctx.sourceExtension = extensionOf(file);
        return true;
    }
    // Without the preference the drivers cut ".tex" again, even after a
    // conversion of another kind of file.
    ctx.sourceExtension = QStringLiteral(".tex");
    if (!fileNameOf(file).endsWith(ctx.sourceExtension, Qt::CaseInsensitive)) {
        ctx.prompter->tell(file + QStringLiteral(" is not a TeX file!"),
                           QStringLiteral("TeX Files Only"), Icon::Exclamation);
        return false;
    }
    return true;
}

QString GetShortFileName(const QString& path) {
    // Windows tools expected 8.3 names; on Linux the path is used as it is.
    return path;
}

QString PathOnly(const QString& path) {
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    return slash < 0 ? path : path.left(slash + 1);
}

QString currentLogFile(const AppContext& ctx) {
    switch (ctx.selectedTab()) {
    case TabHevea:
        return ctx.logs.hevea;
    case TabTth:
        return ctx.logs.tth;
    case TabTex4ht:
        return ctx.logs.tex4ht;
    case TabL2h:
        return ctx.logs.l2h;
    case TabDvi:
    case TabPdf:
        return ctx.logs.dviPdf;
    default:
        return QString();
    }
}

void cmdConvert_Click(AppContext& ctx) {
    if (!Checkfile(ctx, ctx.convertFile())) {
        if (ctx.requestFocus)
            ctx.requestFocus(QStringLiteral("cmbTeX"));
        return;
    }
    if (alreadyConverting(ctx, ctx.convertFile()))
        return;
    rememberFile(ctx);

    QString file = ctx.convertFile();
    if (cdRomRule(ctx, file) == Outcome::Stop)
        return;

    // SWP files on the TeX4ht tab keep their long name; without short names
    // on Linux every route gets the file box's text.
    const QString boxText = ctx.convertFile();
    QString source =
        ctx.model->isChecked(QStringLiteral("chkSWP")) && ctx.selectedTab() == TabTex4ht
            ? boxText
            : GetShortFileName(boxText);
    if (ctx.vars.longFileName)
        source = boxText;

    if (shortNameRule(ctx, source) == Outcome::Stop)
        return;

    SavedPath(ctx);
    callDriver(ctx, source);

    const QString log = currentLogFile(ctx);
    ctx.model->setEnabled(QStringLiteral("cmdLog"), !log.isEmpty() && QFileInfo::exists(log));
}

} // namespace morvane
