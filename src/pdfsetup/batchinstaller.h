#pragma once

#include "platform/printers.h"

#include <QString>
#include <optional>

namespace morvane {

struct AppContext;
class Prompter;

// What the Batch File Installer holds when OK is pressed. An option group
// with nothing chosen is -1.
struct InstallerForm {
    QString gsLib;    // txtGS
    QString swpDir;   // txtSWP
    int version = -1; // optVersion: 0 95, 98 or Me; 1 NT, 2000 or XP
    int format = -1;  // optFormat: 0 TrueTeX MultiLingual; 1 TrueTeX
    int acrobat = -1; // optAcrobat: 0, 1, 2 for Reader 3, 4, 5 or later
    std::optional<Printer> printer;
};

// A message of the installer's checks.
struct Complaint {
    QString text;
    QString title;
    bool operator==(const Complaint&) const = default;
};

// Makes every check in order and returns the message of the last that
// fails; nothing when all pass.
std::optional<Complaint> installerComplaint(const InstallerForm& form, const QString& programDir);

// The file `name` in `dir`, found in any letter case (the Windows tools'
// files come in whatever case they were copied with); empty when missing.
QString fileInAnyCase(const QString& dir, const QString& name);

// Sets up the chain's batch files for a form that passed the checks: backs
// up ps2pdfxx.bat into the program directory when no backup is there yet,
// patches it, rewrites pdfmakegstc.bat, saves the PDF settings and reports.
// False (after saying why) when a file could not be set up.
bool installBatchFiles(AppContext& ctx, const InstallerForm& form);

// The choices kept in section PDF of Morvane.ini.
struct PdfSettings {
    QString swp;
    int format = -1;
    int acrobat = -1;
    QString printer;
    bool hasSwp = false; // the SWP key is there
};
PdfSettings readPdfSettings(const QString& iniFile);
bool writePdfSettings(const QString& iniFile, const InstallerForm& form);

} // namespace morvane
