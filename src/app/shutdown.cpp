#include "app/shutdown.h"

#include "platform/processgroup.h"

#include "app/inicommands.h"
#include "pipeline/appcontext.h"
#include "pipeline/resultdisplay.h"
#include "platform/prompter.h"
#include "settings/controlnames.h"
#include "settings/filehistory.h"
#include "settings/inisync.h"

namespace morvane {

QString runningConversionsQuestion(const QStringList& running) {
    const bool several = running.size() > 1;
    QString text = QStringLiteral("You are currently converting the following process") +
                   (several ? QStringLiteral("es") : QString()) + QStringLiteral(":\n") +
                   QStringLiteral("\n");
    for (const QString& entry : running)
        text += entry + QStringLiteral("\n");
    text += QStringLiteral("\n");
    text += QStringLiteral("You should wait until ") +
            (several ? QStringLiteral("they have") : QStringLiteral("it has")) +
            QStringLiteral(" been completed.") + QStringLiteral("\n");
    text += QStringLiteral("\n");
    text += QStringLiteral("Do you still wish to exit?") + QStringLiteral("\n\n");
    return text;
}

bool unloadStep(AppContext& ctx) {
    // Multiple mode lists its runs; a single-mode run is known on its own.
    QStringList running = ctx.model->items(ctl::lstProcesses);
    if (!ctx.runningAlone.isEmpty())
        running.append(ctx.runningAlone);
    if (!running.isEmpty() &&
        ctx.seams.prompter->ask(runningConversionsQuestion(running), QStringLiteral("Exit"),
                                Buttons::YesNo, Icon::Question, Answer::No) != Answer::Yes)
        return false;
    // No converter outlives the program: the running ones end with it.
    if (!running.isEmpty())
        stopAllProcessGroups();

    writeini(ctx);
    if (ctx.model->isChecked(ctl::chkSettings) && ctx.seams.viewer)
        ctx.seams.viewer->savePlacement();
    saveFileHistory(ctx.programDir, ctx.model->items(ctl::cmbTeX));

    if (ctx.l2hRun && ctx.model->isChecked(ctl::chkAntiVirus))
        ctx.seams.prompter->tell(
            QStringLiteral("Just to remind you to turn the virus checker back on!"),
            QStringLiteral("Anti-Virus Reminder"), Icon::Exclamation);
    return true;
}

} // namespace morvane
