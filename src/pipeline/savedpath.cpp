#include "pipeline/savedpath.h"

#include "pipeline/appcontext.h"
#include "pipeline/convertcommand.h"
#include "pipeline/resultdisplay.h"
#include "platform/folderchooser.h"
#include "platform/pathutils.h"
#include "platform/prompter.h"
#include "platform/volumes.h"
#include "settings/controlnames.h"

#include <QDir>
#include <QFileInfo>

namespace morvane {

namespace {

QString shown(const QString& path) {
    return QDir::toNativeSeparators(path);
}

// Asks for a directory until the user accepts one or gives up; empty when
// nothing is to change. CD-ROM directories are refused, removable ones only
// warned about.
QString chooseOutputRoot(AppContext& ctx, const QString& prompt) {
    for (;;) {
        const QString chosen = ctx.seams.folders->chooseDirectory(prompt);
        if (chosen.isEmpty())
            return {};
        const DriveType type =
            ctx.seams.volumes ? ctx.seams.volumes->typeOf(chosen) : DriveType::Unknown;
        if (type == DriveType::Removable) {
            const Answer answer = ctx.seams.prompter->ask(
                QStringLiteral("This directory is on a removable drive. To prvent problems please "
                               "ensure that  there is a disk in the drive.\n\nDo you wish to "
                               "choose another directory instead?"),
                QStringLiteral("Save Directory"), Buttons::YesNo, Icon::Exclamation);
            if (answer == Answer::Yes)
                continue;
        } else if (type == DriveType::CdRom) {
            const Answer answer = ctx.seams.prompter->ask(
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
    ctx.settings.vars.*root = chosen;
    updateSaveLabel(ctx);
    SavedPath(ctx);
}

} // namespace

QString expectedOutputOf(const OutputPlace& place) {
    // TeX4ht falls back to HTML when its XML output did not come about.
    if (place.expected.endsWith(QStringLiteral(".xml")) && !QFileInfo::exists(place.expected))
        return place.expected.chopped(4) + QStringLiteral(".html");
    return place.expected;
}

void SavedPath(AppContext& ctx) {
    OptionsModel& m = *ctx.model;
    if (m.isBold(ctl::cmdLog))
        ResetcmdLog(ctx);

    const QString file = ctx.convertFile();
    if (sourceExtensionIndex(file, ctx.sourceExtension) < 0) {
        m.setCaption(ctl::lblPath, QString());
        m.setEnabled(ctl::cmdShow, false);
        m.setEnabled(ctl::cmdEditTex, false);
        return;
    }

    ctx.expectedOutput.clear();
    if (const Route* route = ctx.selectedRoute()) {
        const OutputPlace place = route->place(ctx, file);
        m.setCaption(ctl::lblPath, place.label);
        ctx.expectedOutput = expectedOutputOf(place);
        updateSaveLabel(ctx);
    }

    m.setEnabled(ctl::cmdShow,
                 !ctx.expectedOutput.isEmpty() && QFileInfo::exists(ctx.expectedOutput));
    m.setEnabled(ctl::cmdEditTex, QFileInfo::exists(file));
}

void updateSaveLabel(AppContext& ctx) {
    const Route* route = ctx.selectedRoute();
    if (!route || !route->outputRootLabel)
        return;
    ctx.model->setCaption(route->outputRootLabel,
                          QStringLiteral("Files saved to a subdirectory of ") +
                              shown(ctx.settings.vars.*route->outputRoot));
}

void cmdTex4htBrowse_Click(AppContext& ctx) {
    browseOutputRoot(ctx, QStringLiteral("Select a directory in which to save TeX4ht files:"),
                     &SettingsVariables::tex4htSaveTo);
}

void cmdlatex2htmlBrowse_Click(AppContext& ctx) {
    browseOutputRoot(ctx, QStringLiteral("Select a directory in which to save LaTeX2HTML files:"),
                     &SettingsVariables::l2hSaveTo);
}

void changeOutputRoot(AppContext& ctx) {
    const Route* route = ctx.selectedRoute();
    if (!route || !route->outputRoot)
        return;
    browseOutputRoot(ctx,
                     QStringLiteral("Select a directory in which to save %1 files:")
                         .arg(QLatin1String(route->caption)),
                     route->outputRoot);
}

void cmdLatexmlBrowse_Click(AppContext& ctx) {
    browseOutputRoot(ctx, QStringLiteral("Select a directory in which to save LaTeXML files:"),
                     &SettingsVariables::latexmlSaveTo);
}

} // namespace morvane
