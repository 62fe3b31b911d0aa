#include "drivers/workingcopy.h"

#include "fixups/graphicsfixup.h"
#include "fixups/htmlfixups.h"
#include "pipeline/appcontext.h"
#include "pipeline/conversion.h"
#include "platform/atomicfile.h"
#include "platform/pathutils.h"
#include "platform/prompter.h"

#include <QDir>
#include <QFileInfo>

namespace morvane {

namespace {

QString S(const char* text) {
    return QString::fromLatin1(text);
}

bool agreeToConvertInPlace(AppContext& ctx, const QString& source) {
    const QFileInfo file(source);
    const QString backup = file.absolutePath() + S("/Backup of ") + file.fileName();
    const Answer answer = ctx.seams.prompter->ask(
        S("Morvane makes a copy of the tex file and puts it in the html output directory and "
          "then may make changes to this copy.\n\nHowever, the original tex file is already in "
          "the output directory so a backup of this file will be made with the name\n\n\t") +
            backup + S("\n\n"),
        S("Make Copy of Tex File"), Buttons::OkCancel, Icon::Exclamation);
    if (answer != Answer::Ok)
        return false;
    if (QFileInfo::exists(backup))
        return true; // the text before the first run survives every later one
    QString error;
    if (copyFileAtomically(source, backup, Durability::WaitForDisk, &error))
        return true;
    ctx.seams.prompter->tell(S("Unable to make the backup\n\n") + backup + S("\n\n") + error,
                             S("Make Copy of Tex File"), Icon::Exclamation);
    return false;
}

} // namespace

bool makeOutputDirectory(AppContext& ctx, const QString& dir, const QString& howToChange) {
    if (QFileInfo(dir).isDir() || QDir().mkdir(dir))
        return true;
    ctx.seams.prompter->tell(S("Unable to make the output directory\n\n") +
                                 QDir::toNativeSeparators(dir) + S("\n\n") + howToChange,
                             S("Output Directory"), Icon::Exclamation);
    return false;
}

bool makeWorkingCopy(Conversion& conv, const QString& source, const QString& workingCopy,
                     bool tex4htRoute) {
    AppContext& ctx = conv.app;
    conv.convertedInPlace.clear();
    if (source == workingCopy) {
        if (!agreeToConvertInPlace(ctx, source))
            return false;
        // The backup exists: TeX4ht's steps that follow edit the document
        // itself, or the converter would run without what they put in.
        if (tex4htRoute)
            conv.convertedInPlace = source;
        return true;
    }
    if (!copyTextFile(source, workingCopy)) {
        ctx.seams.prompter->tell(S("Unable to copy\n\n") + source + S("\n\nto\n\n") + workingCopy,
                                 S("Convert TeX File"), Icon::Exclamation);
        return false;
    }
    conv.includeDepth = 0;
    const KwzTexExtBlock block = tex4htRoute ? KwzTexExtBlock::Add : KwzTexExtBlock::Omit;
    // The TeX4ht driver runs the graphics fix-up of the working copy as a
    // step of its own, after the class and auxiliary copies.
    handleIncludes(conv, source, workingCopy, block,
                   tex4htRoute ? TopFileGraphics::LeftToCaller : TopFileGraphics::Fix);
    return true;
}

} // namespace morvane
