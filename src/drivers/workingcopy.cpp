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

// The name a file of the converted folder has for the user: while a plain
// alias stands in for the document, the folder and the file carry the
// alias's name.
QString userNameOf(const Conversion& conv, const QString& path) {
    const QFileInfo document(conv.document);
    return document.absolutePath() + QLatin1Char('/') +
           replaceAll(QFileInfo(path).fileName(), QFileInfo(conv.source).completeBaseName(),
                      document.completeBaseName());
}

bool agreeToConvertInPlace(Conversion& conv, const QString& source) {
    AppContext& ctx = conv.app;
    const QFileInfo file(source);
    const QString backup = file.absolutePath() + S("/Backup of ") + file.fileName();
    // Without anyone to agree, the user's file is not edited.
    if (ctx.unattended) {
        ctx.seams.prompter->tell(
            conv.document +
                S("\n\nis in its own output directory, where the conversion would edit it. "
                  "It is converted there only from the window, after a question. Move it out "
                  "of the output directory, or choose another output directory."),
            S("Make Copy of Tex File"), Icon::Exclamation);
        return false;
    }
    const Answer answer = ctx.seams.prompter->ask(
        S("Morvane makes a copy of the tex file and puts it in the html output directory and "
          "then may make changes to this copy.\n\nHowever, the original tex file is already in "
          "the output directory so a backup of this file will be made with the name\n\n\t") +
            userNameOf(conv, backup) + S("\n\n"),
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
        if (!agreeToConvertInPlace(conv, source))
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
