#pragma once

#include "update/updatepage.h"

#include <QByteArray>
#include <QString>
#include <optional>

namespace morvane {

struct AppContext;
class Downloader;

// Where the check stands; the failure message reports it.
enum class UpdateStage {
    Idle = 0,         // before and after the check
    Completing = 1,   // the template is being completed
    ReadingNotes = 2, // the revision notes are read
    Downloading = 3,  // a document is being fetched
};

// The whole check as data: the site's three documents turned into the page
// "update.htm" shows. Each download sets the stage to Downloading and
// restores it when the document arrived; any failure leaves the stage at
// the step that failed.
class UpdateCheck {
public:
    UpdateCheck(Downloader& downloader, QString site, ProgramVersion running);

    // The completed page, or nothing; then stage() says where it failed.
    std::optional<QByteArray> composePage();
    UpdateStage stage() const { return m_stage; }

    // The address of a document of the site.
    QString address(const QString& document) const;

private:
    std::optional<QString> download(const QString& document);
    std::optional<QString> completedTemplate(const QString& page, const QString& updateBlock,
                                             const QString& sizeBlock);
    std::optional<QString> revisionNotes();

    Downloader& m_downloader;
    QString m_site;
    ProgramVersion m_running;
    UpdateStage m_stage = UpdateStage::Idle;
};

// "Update Chec&k": asks first, then checks the site named in the settings,
// writes "update.htm" into the program directory and shows it, or tells
// why it could not.
void cmdUpdate_Click(AppContext& ctx);

// The failure message for a check that stopped at `stage`.
QString updateFailureText(UpdateStage stage, const QString& mainPageAddress);

} // namespace morvane
