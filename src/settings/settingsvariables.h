#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <array>

namespace morvane {

// Program-wide values that readini fills from Morvane.ini besides the option
// controls: tool locations, editors and preferences.
struct SettingsVariables {
    // Paths section (directories without a trailing separator).
    QString cdRom; // mount point of the CD-ROM volume (key CD-ROM)
    QString texDocs;
    QString hevea;
    QString tth;
    QString texify;
    QString tex4ht;
    QString imageMagick;
    QString gsLib;
    QString htrunM;
    QString htrunS;
    QString l2h;
    QString perl;
    QString netpbm;
    QString latexml; // the folder of latexmlc (key Latexml)
    QString editor;
    QString texEditor;
    QString pandoc;

    // Preferences section.
    int startupTab = 0;
    bool firstTime = false;
    double scrollFraction = 0.01;
    bool lowRes = false;
    bool longFileName = false;
    bool allowNonTeXFiles = false;
    // The limits of a converter run; 0 until the user sets one, so that the
    // defaults (settings/limitsettings.h) apply and Morvane.ini stays as it
    // was. Batch mode's --timeout takes seconds, More Preferences minutes.
    int timeLimitSeconds = 0;
    int memoryLimitMB = 0;

    // Hevea section.
    QString heveaOutputExtension = QStringLiteral("html"); // "html", "txt" or "info"
    QString defaultConfig;

    // TeX4ht section.
    QString tex4htSaveTo;
    bool upgradeNoticeShown = false;
    bool advancedSave = true;
    bool checkForUsePackage = false;

    // Latex2HTML section.
    QString l2hSaveTo;

    // Pandoc section.
    QString pandocSaveTo;
    // LaTeXML section: the output root; the home folder when none is stored.
    QString latexmlSaveTo;

    // Update section: the publisher's site, where the update check finds
    // its three documents.
    QString updateSite;

    // Starting folder of the open-file dialog: the TeX documents directory
    // once the path check has found it.
    QString openDialogDir;
};

// Results of the path check of the program locations.
struct PathCheck {
    bool texDocsExists = false;
    // Whether each route's program was found, and its location key as
    // "… Not Found" names it; indexed by the route's tab (index 0 unused).
    QList<bool> programFound;
    QStringList programName;
    bool programFoundOn(int tab) const {
        return tab > 0 && tab < programFound.size() && programFound[tab];
    }
    void setProgramFound(int tab, bool found) {
        if (tab >= programFound.size())
            programFound.resize(tab + 1, false);
        programFound[tab] = found;
    }
    // An output root that was set but did not exist, and was replaced by the
    // home folder: batch mode says so, since nothing else shows it there.
    struct ReplacedRoot {
        QString SettingsVariables::*root;
        QString missing;
    };
    QList<ReplacedRoot> replacedRoots;
};

// What the program settings hold, and what their check found.
struct Settings {
    SettingsVariables vars;
    PathCheck paths;
};

// The program a route needs and where the settings say it lies: its [Paths]
// key, the loaded location, and the names that count (either one).
struct RouteProgram {
    const char* locationKey;
    QString SettingsVariables::*location;
    std::array<const char*, 2> names;
    bool executable; // false: a plain file (LaTeX2HTML's l2hconf.pm) is enough
    // The routes added after the first six: a location never set is the
    // program's folder on PATH, so that settings files written before the
    // route existed need no new [Paths] key.
    bool onPathWhenUnset = false;
};

} // namespace morvane
