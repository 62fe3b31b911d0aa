#include "update/updatecheck.h"

#include "pipeline/appcontext.h"
#include "pipeline/resultdisplay.h"
#include "platform/atomicfile.h"
#include "platform/downloader.h"
#include "platform/pointershape.h"
#include "platform/prompter.h"

namespace morvane {

namespace {

QString L(const char* text) {
    return QString::fromLatin1(text);
}

const char kMainPage[] = "tex.htm";
const char kTemplate[] = "update.htm";
const char kReadme[] = "readme.txt";

QString confirmationText() {
    return L("There is no need to update Morvane if it is\n"
             "working properly and you don't need any new\n"
             "features.\n"
             "\n"
             "Morvane checks the website for updates later\n"
             "than this one so you will need an internet connection.\n"
             "\n"
             "Please be patient as it may take a little while to\n"
             "download the information.\n"
             "\n"
             "Press\tOK\tto check for updates\n"
             "\tCancel\tto abort the update check\n"
             "\n");
}

// The documents are read as bytes and written back as the same bytes:
// whatever their encoding, only the ASCII markers are looked at.
QString textOf(const QByteArray& bytes) {
    return QString::fromLatin1(bytes);
}

} // namespace

UpdateCheck::UpdateCheck(Downloader& downloader, QString site, ProgramVersion running)
    : m_downloader(downloader), m_site(std::move(site)), m_running(running) {
    while (m_site.endsWith(QLatin1Char('/')))
        m_site.chop(1);
}

QString UpdateCheck::address(const QString& document) const {
    return m_site + QLatin1Char('/') + document;
}

std::optional<QString> UpdateCheck::download(const QString& document) {
    const UpdateStage before = m_stage;
    m_stage = UpdateStage::Downloading;
    // A document that did not arrive in full is no document: reading on
    // would show a page made from half a page.
    const std::optional<QByteArray> bytes = m_downloader.fetch(address(document));
    if (!bytes)
        return std::nullopt;
    m_stage = before;
    return textOf(*bytes);
}

std::optional<QByteArray> UpdateCheck::composePage() {
    m_stage = UpdateStage::Idle;
    const std::optional<QString> mainPage = download(L(kMainPage));
    if (!mainPage)
        return std::nullopt;
    const QString updateBlock = updateBlockOf(*mainPage);
    const QString sizeBlock = sizeBlockOf(*mainPage);
    const std::optional<QString> page = download(L(kTemplate));
    if (!page)
        return std::nullopt;
    const std::optional<QString> completed = completedTemplate(*page, updateBlock, sizeBlock);
    if (!completed)
        return std::nullopt;
    return (*completed + QLatin1Char('\n')).toLatin1();
}

std::optional<QString> UpdateCheck::completedTemplate(const QString& templateText,
                                                      const QString& updateBlock,
                                                      const QString& sizeBlock) {
    m_stage = UpdateStage::Completing;
    const QString page = withBlocksInserted(templateText, updateBlock, sizeBlock);
    const std::optional<ProgramVersion> latest = latestVersionIn(updateBlock);
    if (!latest)
        return std::nullopt;
    const std::optional<NotePlaces> places = notePlacesIn(page);
    if (!isNewer(*latest, m_running)) {
        if (!places)
            return std::nullopt;
        return pageWithoutUpdate(page, *places, m_running);
    }
    // A template without a place for the version is shown as it is.
    if (page.indexOf(L("<!--version"), 0, Qt::CaseInsensitive) < 0)
        return page;
    if (!places)
        return std::nullopt;
    const std::optional<QString> notes = revisionNotes();
    if (!notes)
        return std::nullopt;
    m_stage = UpdateStage::Completing;
    return pageWithNotes(page, *places, m_running, notesHtml(*notes));
}

std::optional<QString> UpdateCheck::revisionNotes() {
    m_stage = UpdateStage::ReadingNotes;
    const std::optional<QString> readme = download(L(kReadme));
    if (!readme)
        return std::nullopt;
    return revisionNotesIn(*readme, m_running);
}

QString updateFailureText(UpdateStage stage, const QString& mainPageAddress) {
    return L("Sorry! Unable to find update information.\n(Error ") +
           QString::number(static_cast<int>(stage)) + L(")\n\nPlease go to\n") + mainPageAddress +
           L(" \nfor the latest version.\n\n");
}

void cmdUpdate_Click(AppContext& ctx) {
    Prompter& prompter = *ctx.seams.prompter;
    if (prompter.ask(confirmationText(), L("Check for Update"), Buttons::OkCancel,
                     Icon::Information) != Answer::Ok)
        return;
    if (!ctx.seams.downloader)
        return;
    UpdateCheck check(*ctx.seams.downloader, ctx.settings.vars.updateSite, runningVersion());
    const QString result = ctx.programDir + QLatin1Char('/') + L(kTemplate);
    bool written = false;
    {
        PointerOverride busy(PointerShape::Busy);
        const std::optional<QByteArray> page = check.composePage();
        written = page && replaceFileAtomically(result, *page, Durability::NoWait);
    }
    if (!written) {
        prompter.tell(updateFailureText(check.stage(), check.address(L(kMainPage))),
                      L("Morvane Update"), Icon::Exclamation);
        return;
    }
    RunIE(ctx, result);
}

} // namespace morvane
