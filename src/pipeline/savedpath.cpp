#include "pipeline/savedpath.h"

#include "pipeline/appcontext.h"
#include "pipeline/convertcommand.h"
#include "pipeline/pathutils.h"
#include "pipeline/resultdisplay.h"
#include "platform/folderchooser.h"
#include "platform/prompter.h"
#include "platform/volumes.h"

#include <QDir>
#include <QFileInfo>

namespace morvane {

namespace {

const QString kSavedAs = QStringLiteral("Saved as\n");
const QString kNewDirectory = QStringLiteral("Files saved in new directory\n");
const QString kSaveToPrefix = QStringLiteral("Files saved to a subdirectory of ");

QString shown(const QString& path) {
    return QDir::toNativeSeparators(path);
}

struct Place {
    QString label;    // text of lblPath
    QString expected; // expected output file
};

// HeVeA, TtH, DVI and PDF write next to the TeX file.
Place besideSource(const AppContext& ctx, const QString& file, const QString& extension) {
    const QString base = withoutSourceExtension(GetShortFileName(file), ctx.sourceExtension);
    return {kSavedAs + shown(PathOnly(file) + fileNameOf(base) + extension), base + extension};
}

// TeX4ht and LaTeX2HTML write into a new directory named after the file
// (case kept), below the output root chosen on their tab.
QString baseNameOf(const QString& file, const QString& extension) {
    return withoutSourceExtension(fileNameOf(file), extension);
}

Place placeFor(const AppContext& ctx, const QString& file) {
    const QString ext = ctx.sourceExtension;
    switch (ctx.selectedTab()) {
    case TabHevea: {
        Place place = besideSource(ctx, file, QStringLiteral(".html"));
        // hacha makes index.html the first page.
        if (ctx.model->isChecked(QStringLiteral("chkHacha")))
            place.label = kSavedAs + shown(PathOnly(file) + QStringLiteral("index.html"));
        return place;
    }
    case TabTth:
        return besideSource(ctx, file, QStringLiteral(".htm"));
    case TabTex4ht: {
        const QString name = baseNameOf(file, ext);
        const QString dir = joinPath(ctx.vars.tex4htSaveTo, name);
        return {kNewDirectory + shown(dir), joinPath(dir, name + tex4htOutputExtension(ctx))};
    }
    case TabL2h: {
        const QString dir = joinPath(ctx.vars.l2hSaveTo, baseNameOf(file, ext));
        return {kNewDirectory + shown(dir), joinPath(dir, QStringLiteral("index.html"))};
    }
    case TabDvi:
        return besideSource(ctx, file, QStringLiteral(".dvi"));
    case TabPdf:
        return besideSource(ctx, file, QStringLiteral(".pdf"));
    default:
        return {};
    }
}

// Asks for a directory until the user accepts one or gives up; empty when
// nothing is to change. CD-ROM directories are refused, removable ones only
// warned about.
QString chooseOutputRoot(AppContext& ctx, const QString& prompt) {
    for (;;) {
        const QString chosen = ctx.folders->chooseDirectory(prompt);
        if (chosen.isEmpty())
            return {};
        const DriveType type = ctx.volumes ? ctx.volumes->typeOf(chosen) : DriveType::Unknown;
        if (type == DriveType::Removable) {
            const Answer answer = ctx.prompter->ask(
                QStringLiteral("This directory is on a removable drive. To prvent problems please "
                               "ensure that  there is a disk in the drive.\n\nDo you wish to "
                               "choose another directory instead?"),
                QStringLiteral("Save Directory"), Buttons::YesNo, Icon::Exclamation);
            if (answer == Answer::Yes)
                continue;
        } else if (type == DriveType::CdRom) {
            const Answer answer = ctx.prompter->ask(
                QStringLiteral("You can't save files to a CD-ROM drive."),
                QStringLiteral("Save Directory"), Buttons::RetryCancel, Icon::Critical);
            if (answer == Answer::Retry)
                continue;
            return {};
        }
        return dropTrailingSeparator(chosen.section(QChar(0), 0, 0));
    }
}

void browseOutputRoot(AppContext& ctx, const QString& prompt, QString SettingsVariables::*root) {
    const QString chosen = chooseOutputRoot(ctx, prompt);
    if (chosen.isEmpty())
        return;
    ctx.vars.*root = chosen;
    updateSaveLabel(ctx);
    SavedPath(ctx);
}

} // namespace

QString tex4htOutputExtension(const AppContext& ctx) {
    const QString chosen = ctx.model->text(QStringLiteral("tex4htExtension"));
    return chosen.isEmpty() ? QStringLiteral(".html") : chosen;
}

void SavedPath(AppContext& ctx) {
    OptionsModel& m = *ctx.model;
    if (m.isBold(QStringLiteral("cmdLog")))
        ResetcmdLog(ctx);

    const QString file = ctx.convertFile();
    if (sourceExtensionIndex(file, ctx.sourceExtension) < 0) {
        m.setCaption(QStringLiteral("lblPath"), QString());
        m.setEnabled(QStringLiteral("cmdShow"), false);
        m.setEnabled(QStringLiteral("cmdEditTex"), false);
        return;
    }

    ctx.expectedOutput.clear();
    const int tab = ctx.selectedTab();
    if (tab >= TabHevea && tab <= TabPdf) {
        const Place place = placeFor(ctx, file);
        m.setCaption(QStringLiteral("lblPath"), place.label);
        ctx.expectedOutput = place.expected;
        if (tab == TabTex4ht || tab == TabL2h)
            updateSaveLabel(ctx);
    }

    // TeX4ht falls back to HTML when its XML output did not come about.
    if (ctx.expectedOutput.endsWith(QStringLiteral(".xml")) &&
        !QFileInfo::exists(ctx.expectedOutput))
        ctx.expectedOutput = ctx.expectedOutput.chopped(4) + QStringLiteral(".html");

    m.setEnabled(QStringLiteral("cmdShow"),
                 !ctx.expectedOutput.isEmpty() && QFileInfo::exists(ctx.expectedOutput));
    m.setEnabled(QStringLiteral("cmdEditTex"), QFileInfo::exists(file));
}

void updateSaveLabel(AppContext& ctx) {
    switch (ctx.selectedTab()) {
    case TabTex4ht:
        ctx.model->setCaption(QStringLiteral("lblSaveTo"),
                              kSaveToPrefix + shown(ctx.vars.tex4htSaveTo));
        break;
    case TabL2h:
        ctx.model->setCaption(QStringLiteral("lblSavelatex2"),
                              kSaveToPrefix + shown(ctx.vars.l2hSaveTo));
        break;
    default:
        break;
    }
}

void cmdTex4htBrowse_Click(AppContext& ctx) {
    browseOutputRoot(ctx, QStringLiteral("Select a directory in which to save TeX4ht files:"),
                     &SettingsVariables::tex4htSaveTo);
}

void cmdlatex2htmlBrowse_Click(AppContext& ctx) {
    browseOutputRoot(ctx, QStringLiteral("Select a directory in which to save LaTeX2HTML files:"),
                     &SettingsVariables::l2hSaveTo);
}

} // namespace morvane
