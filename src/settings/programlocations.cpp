#include "settings/programlocations.h"

#include "settings/profilefile.h"

namespace morvane {

namespace {

const QString kPaths = QStringLiteral("Paths");

} // namespace

// Linux names: the programs without ".exe", texi2dvi doing texify's work,
// ImageMagick's delegates.xml, Netpbm's pnmquant (ppmquant still accepted),
// and the htrun scripts in any of the forms a user may have installed.
std::span<const LocationRow> ownLocationRows() {
    static const LocationRow rows[] = {
        {"&Most TeX files are kept here:",
         "TeXDocs",
         &SettingsVariables::texDocs,
         "Select the directory where most TeX files are kept:",
         {},
         false},
    };
    return rows;
}

std::span<const LocationRow> heveaLocationRows() {
    static const LocationRow rows[] = {
        {"&Hevea:",
         "Hevea",
         &SettingsVariables::hevea,
         "Select the Hevea directory containing hevea:",
         {QStringLiteral("hevea")},
         true},
    };
    return rows;
}

std::span<const LocationRow> tthLocationRows() {
    static const LocationRow rows[] = {
        {"&Tth:",
         "Tth",
         &SettingsVariables::tth,
         "Select the Tth directory containing tth:",
         {QStringLiteral("tth")},
         true},
    };
    return rows;
}

std::span<const LocationRow> texifyLocationRows() {
    static const LocationRow rows[] = {
        {"Te&xify:",
         "Texify",
         &SettingsVariables::texify,
         "Select the Texify directory containing texi2dvi:",
         {QStringLiteral("texi2dvi"), QStringLiteral("texify")},
         true},
    };
    return rows;
}

// TeX4ht converts pictures with ImageMagick and Ghostscript, and may run htrun.
std::span<const LocationRow> tex4htLocationRows() {
    static const LocationRow rows[] = {
        {"TeX&4ht:",
         "Tex4ht",
         &SettingsVariables::tex4ht,
         "Select the TeX4ht directory containing tex4ht:",
         {QStringLiteral("tex4ht")},
         true},
        {"&Imagemagick delegates.xml:",
         "imagemagick",
         &SettingsVariables::imageMagick,
         "Select the directory where ImageMagick's delegates.xml is kept:",
         {QStringLiteral("delegates.xml")},
         false},
        {"&Ghostscript Lib:",
         "gs",
         &SettingsVariables::gsLib,
         "Select the GhostScript directory containing gs_init.ps:",
         {QStringLiteral("gs_init.ps")},
         false},
        {"Ht&run for MiKteX:",
         "htrunm",
         &SettingsVariables::htrunM,
         "Select the directory containing htrun for MiKteX batch file htlatexm:",
         {QStringLiteral("htlatexm"), QStringLiteral("htlatexm.sh"),
          QStringLiteral("htlatexm.bat")},
         false},
        {"Htr&un for SWP:",
         "htruns",
         &SettingsVariables::htrunS,
         "Select the directory containing htrun for SWP batch file htlatexs",
         {QStringLiteral("htlatexs"), QStringLiteral("htlatexs.sh"),
          QStringLiteral("htlatexs.bat")},
         false},
    };
    return rows;
}

// LaTeX2HTML is a Perl program that makes its pictures with Netpbm.
std::span<const LocationRow> l2hLocationRows() {
    static const LocationRow rows[] = {
        {"&L2H:",
         "l2h",
         &SettingsVariables::l2h,
         "Select the Latex2HTML directory containing l2hconf.pm:",
         {QStringLiteral("l2hconf.pm")},
         false},
        {"&Perl:",
         "perl",
         &SettingsVariables::perl,
         "Select the Perl directory containing perl:",
         {QStringLiteral("perl")},
         true},
        {"&Netpbm:",
         "netpbm",
         &SettingsVariables::netpbm,
         "Select the Netpbm directory containing pnmquant:",
         {QStringLiteral("pnmquant"), QStringLiteral("ppmquant")},
         true},
    };
    return rows;
}

QList<SearchTarget> searchTargets(const QList<LocationRow>& rows) {
    QList<SearchTarget> targets;
    for (qsizetype i = 1; i < rows.size(); ++i)
        targets.append({rows[i].searchNames, rows[i].executable});
    return targets;
}

QString driveTypeText(DriveType type) {
    switch (type) {
    case DriveType::Removable:
        return QStringLiteral(" - Removable drive");
    case DriveType::Fixed:
        return QStringLiteral(" - Fixed drive");
    case DriveType::Remote:
        return QStringLiteral(" - Remote drive");
    case DriveType::CdRom:
        return QStringLiteral(" - CD-ROM drive");
    case DriveType::Ramdisk:
        return QStringLiteral(" - Ramdisk");
    case DriveType::Unknown:
        break;
    }
    return {};
}

QList<VolumeEntry> volumeEntries(const QList<Volume>& volumes) {
    QList<VolumeEntry> entries{{QString(), QString()}};
    for (const Volume& volume : volumes)
        entries.append({volume.mountPoint + driveTypeText(volume.type), volume.mountPoint});
    return entries;
}

int lastCdRomEntry(const QList<Volume>& volumes) {
    int entry = 0;
    for (int i = 0; i < volumes.size(); ++i) {
        if (volumes[i].type == DriveType::CdRom)
            entry = i + 1;
    }
    return entry;
}

RowOutcome searchOutcome(const QStringList& found, const QString& savedText) {
    RowOutcome outcome;
    if (found.isEmpty()) {
        outcome.note = QStringLiteral("Not found");
        return outcome;
    }
    if (found.size() == 1) {
        outcome.text = found.first();
        return outcome;
    }
    // Paths are the same folder only when spelled the same.
    outcome.candidates = found;
    const qsizetype held = savedText.isEmpty() ? -1 : found.indexOf(savedText);
    if (held > 0)
        outcome.candidates.move(held, 0);
    outcome.text = outcome.candidates.first();
    outcome.note = searchNoteText(int(found.size()));
    return outcome;
}

QString searchNoteText(int found) {
    return QStringLiteral("Choose correct path ") + QLatin1Char('(') + QString::number(found) +
           QStringLiteral(" found)");
}

QString chosenFolderText(const QString& folder) {
    QString text = folder;
    while (text.size() > 1 && text.endsWith(QLatin1Char('/')))
        text.chop(1);
    return text;
}

bool writeProgramLocations(const QString& iniFile, const QString& cdRom,
                           const QList<LocationRow>& rows, const QStringList& texts) {
    ProfileFile profile = ProfileFile::load(iniFile);
    bool ok = profile.writeText(QStringLiteral("Preferences"), QStringLiteral("FirstTime"),
                                QStringLiteral("No"));
    ok = profile.writeText(kPaths, QStringLiteral("CD-ROM"), cdRom) && ok;
    for (qsizetype row = 0; row < rows.size(); ++row) {
        const QString text = row < texts.size() ? texts[row] : QString();
        ok = profile.writeText(kPaths, QString::fromLatin1(rows[row].key), text) && ok;
    }
    return profile.save() && ok;
}

bool writeFirstTimeDone(const QString& iniFile) {
    return writeProfileString(iniFile, QStringLiteral("Preferences"), QStringLiteral("FirstTime"),
                              QStringLiteral("No"));
}

} // namespace morvane
