#include "settings/inisync.h"

#include "app/startup.h"
#include "pipeline/appcontext.h"
#include "pipeline/pathutils.h"
#include "platform/prompter.h"
#include "platform/shell.h"
#include "settings/hevealibrary.h"
#include "settings/iniencoding.h"
#include "settings/pathcheck.h"
#include "settings/profilefile.h"

#include <QDir>
#include <cmath>

namespace morvane {

namespace {

const QString secPaths = QStringLiteral("Paths");
const QString secPreferences = QStringLiteral("Preferences");
const QString secHevea = QStringLiteral("Hevea");
const QString secTth = QStringLiteral("Tth");
const QString secTexify = QStringLiteral("Texify");
const QString secTex4ht = QStringLiteral("TeX4ht");
const QString secL2h = QStringLiteral("Latex2HTML");

const QString no = QStringLiteral("No");
const QString defaultEntry = QStringLiteral("Default");

QString trueFalse(bool value) {
    return value ? QStringLiteral("True") : QStringLiteral("False");
}

// Reads one profile and hands decoded values to the options model.
class IniReader {
public:
    IniReader(const ProfileFile& profile, OptionsModel& model)
        : m_profile(profile), m_model(model) {}

    QString text(const QString& section, const QString& key, const QString& defaultValue) const {
        return m_profile.read(section, key, defaultValue);
    }
    QString path(const QString& section, const QString& key, const QString& defaultValue) const {
        return dropTrailingSeparator(text(section, key, defaultValue));
    }
    bool yes(const QString& section, const QString& key, const QString& defaultValue = no) const {
        return yesFlag(text(section, key, defaultValue));
    }
    bool isTrue(const QString& section, const QString& key, const QString& defaultValue) const {
        return trueFlag(text(section, key, defaultValue));
    }
    int number(const QString& section, const QString& key, const QString& defaultValue) const {
        return numberValue(text(section, key, defaultValue));
    }

    void check(const QString& section, const QString& key, const QString& control,
               const QString& defaultValue = no) {
        m_model.setCheckValue(control, yes(section, key, defaultValue) ? 1 : 0);
    }
    void listIndex(const QString& section, const QString& key, const QString& control,
                   int entries) {
        m_model.setIndex(control, listIndexValue(text(section, key, QStringLiteral("0")), entries));
    }

private:
    const ProfileFile& m_profile;
    OptionsModel& m_model;
};

QStringList tex4htArgs(const OptionsModel& model) {
    QStringList args = model.items(QStringLiteral("tex4htArgs"));
    while (args.size() < 6)
        args.append(QString());
    return args;
}

// A combo that offers fixed entries plus the stored text when that is none
// of them. The entries are set afresh, so a reload never piles up copies of
// the stored text.
void setTextCombo(OptionsModel& model, const QString& control, QStringList entries,
                  const QString& selected) {
    if (!entries.contains(selected))
        entries.append(selected);
    model.setItems(control, entries);
    model.setText(control, selected);
}

void readPaths(IniReader& ini, SettingsVariables& vars) {
    vars.cdRom = ini.text(secPaths, QStringLiteral("CD-ROM"), QString());
    vars.texDocs = ini.path(secPaths, QStringLiteral("TeXDocs"), QString());
    vars.hevea = ini.path(secPaths, QStringLiteral("Hevea"), QString());
    vars.tth = ini.path(secPaths, QStringLiteral("Tth"), QString());
    vars.texify = ini.path(secPaths, QStringLiteral("Texify"), QString());
    vars.tex4ht = ini.path(secPaths, QStringLiteral("Tex4ht"), QString());
    vars.imageMagick = ini.path(secPaths, QStringLiteral("imagemagick"), QString());
    vars.gsLib = ini.path(secPaths, QStringLiteral("gs"), QString());
    vars.htrunM = ini.path(secPaths, QStringLiteral("htrunm"), QString());
    vars.htrunS = ini.path(secPaths, QStringLiteral("htruns"), QString());
    vars.l2h = ini.path(secPaths, QStringLiteral("l2h"), QString());
    vars.perl = ini.path(secPaths, QStringLiteral("perl"), QString());
    vars.netpbm = ini.path(secPaths, QStringLiteral("netpbm"), QString());
    vars.editor = ini.path(secPaths, QStringLiteral("Editor"), QString());
    vars.texEditor = ini.path(secPaths, QStringLiteral("TexEditor"), QString());
}

void readPreferences(IniReader& ini, OptionsModel& model, SettingsVariables& vars) {
    ini.check(secPreferences, QStringLiteral("SavePrefs"), QStringLiteral("chkSave"));
    ini.check(secPreferences, QStringLiteral("RunHTML"), QStringLiteral("chkIE"));
    model.setIndex(QStringLiteral("optIE"),
                   ini.yes(secPreferences, QStringLiteral("Showinownbrowser")) ? 1 : 0);
    ini.check(secPreferences, QStringLiteral("Close"), QStringLiteral("chkClose"));
    vars.startupTab = startupTabValue(ini.text(secPreferences, QStringLiteral("StartupTab"), no));
    model.setIndex(QStringLiteral("cmbTabs"), vars.startupTab);
    ini.check(secPreferences, QStringLiteral("Warning"), QStringLiteral("chkWarning"));
    ini.check(secPreferences, QStringLiteral("BrowserPos"), QStringLiteral("chkSettings"));
    // The box's change reaction stays silent while its tag says so.
    model.setTag(QStringLiteral("chkMulti"), QStringLiteral("no message"));
    ini.check(secPreferences, QStringLiteral("AllowMultiProcess"), QStringLiteral("chkMulti"));
    model.setTag(QStringLiteral("chkMulti"), QString());
    vars.firstTime = ini.yes(secPreferences, QStringLiteral("FirstTime"));
    vars.scrollFraction = scrollFractionValue(
        ini.text(secPreferences, QStringLiteral("ScrollPercent"), QStringLiteral("1")));
    vars.lowRes = ini.isTrue(secPreferences, QStringLiteral("LowRes"), QStringLiteral("False"));
    vars.longFileName =
        ini.isTrue(secPreferences, QStringLiteral("LongFileName"), QStringLiteral("False"));
    vars.allowNonTeXFiles =
        ini.isTrue(secPreferences, QStringLiteral("AllowNonTeXFiles"), QStringLiteral("False"));
}

void readHevea(IniReader& ini, OptionsModel& model, SettingsVariables& vars) {
    ini.check(secHevea, QStringLiteral("IncludeStyle"), QStringLiteral("chkStyle"));
    const QString outputType = ini.text(secHevea, QStringLiteral("OutputType"), no).toLower();
    if (outputType == QStringLiteral("html")) {
        model.setIndex(QStringLiteral("optOutput"), 0);
        vars.heveaOutputExtension = QStringLiteral("html");
    } else if (outputType == QStringLiteral("text")) {
        model.setIndex(QStringLiteral("optOutput"), 1);
        vars.heveaOutputExtension = QStringLiteral("txt");
    } else if (outputType == QStringLiteral("info")) {
        model.setIndex(QStringLiteral("optOutput"), 2);
        vars.heveaOutputExtension = QStringLiteral("info");
    }
    vars.defaultConfig = ini.path(secHevea, QStringLiteral("DefaultConfig"), no);
    ini.check(secHevea, QStringLiteral("Version1.05OrLater"), QStringLiteral("chkVersion"));
    ini.check(secHevea, QStringLiteral("French"), QStringLiteral("chkFrench"));
    ini.check(secHevea, QStringLiteral("Fix"), QStringLiteral("chkFix"));
    ini.check(secHevea, QStringLiteral("Hacha"), QStringLiteral("chkHacha"));
    const QString verbose = ini.text(secHevea, QStringLiteral("Verbose"), no).toLower();
    model.setItems(QStringLiteral("cmbHeveaVerbose"), heveaVerboseEntries());
    model.setIndex(QStringLiteral("cmbHeveaVerbose"), verbose == QStringLiteral("single")   ? 1
                                                      : verbose == QStringLiteral("double") ? 2
                                                                                            : 0);
    model.setIndex(QStringLiteral("optCode"),
                   ini.text(secHevea, QStringLiteral("Code"), no) == QStringLiteral("Native") ? 1
                                                                                              : 0);
    ini.check(secHevea, QStringLiteral("Esponja"), QStringLiteral("chkEsponja"));
}

void readTth(IniReader& ini) {
    ini.check(secTth, QStringLiteral("Italics"), QStringLiteral("chkItalics"));
    ini.check(secTth, QStringLiteral("NumberMulti"), QStringLiteral("chkNumber"));
    ini.check(secTth, QStringLiteral("Inline"), QStringLiteral("chkInline"));
    ini.check(secTth, QStringLiteral("Revise"), QStringLiteral("chkRevise"));
}

void readTexify(IniReader& ini) {
    ini.check(secTexify, QStringLiteral("UseDVI"), QStringLiteral("chkTexify_0"));
    ini.check(secTexify, QStringLiteral("ReportDVI"), QStringLiteral("chkReport_0"));
    ini.check(secTexify, QStringLiteral("UsePDF"), QStringLiteral("chkTexify_1"));
    ini.check(secTexify, QStringLiteral("ReportPDF"), QStringLiteral("chkReport_1"));
    ini.check(secTexify, QStringLiteral("SWPGS"), QStringLiteral("chkSWPGS"));
    ini.listIndex(secTexify, QStringLiteral("Passes"), QStringLiteral("cmbpdfPasses"), 5);
}

void readTex4ht(IniReader& ini, OptionsModel& model, SettingsVariables& vars) {
    ini.check(secTex4ht, QStringLiteral("SWP"), QStringLiteral("chkSWP"));
    // The TeX4ht directory is where the tex4ht program lives (/usr/bin), no
    // place for documents: without a stored root the home folder is used.
    vars.tex4htSaveTo = ini.path(secTex4ht, QStringLiteral("SaveTo"), QDir::homePath());
    ini.check(secTex4ht, QStringLiteral("ImagesSubDir"), QStringLiteral("chkImages"));
    model.setText(QStringLiteral("txtImages"),
                  ini.text(secTex4ht, QStringLiteral("SubDir"), QString()));
    ini.check(secTex4ht, QStringLiteral("Htrun"), QStringLiteral("chkHtrun"), QString());

    QStringList args = tex4htArgs(model);
    splitCmdline(ini.text(secTex4ht, QStringLiteral("Cmdline"), QString()), args);
    model.setItems(QStringLiteral("tex4htArgs"), args);
    model.setTag(QStringLiteral("txt3"),
                 ini.text(secTex4ht, QStringLiteral("UsePackage"), QString()));
    splitHtruncommand(ini.text(secTex4ht, QStringLiteral("Htruncommand"), QString()), args);
    model.setItems(QStringLiteral("tex4htArgs"), args);

    ini.listIndex(secTex4ht, QStringLiteral("SWPpasses"), QStringLiteral("cmbPasses"), 4);
    ini.check(secTex4ht, QStringLiteral("DOSPause"), QStringLiteral("chkTex4htPause"),
              QStringLiteral("0"));
    vars.upgradeNoticeShown = ini.yes(secTex4ht, QStringLiteral("Ver2.5"), QStringLiteral("0"));
    vars.advancedSave =
        advancedSaveFlag(ini.text(secTex4ht, QStringLiteral("AdvancedSave"), QStringLiteral("0")));
    vars.checkForUsePackage =
        ini.isTrue(secTex4ht, QStringLiteral("CheckForUsePackage"), QStringLiteral("False"));
}

void readLatex2html(IniReader& ini, OptionsModel& model, SettingsVariables& vars) {
    vars.l2hSaveTo = ini.path(secL2h, QStringLiteral("SaveTo"), vars.l2hSaveTo);
    ini.check(secL2h, QStringLiteral("Anti-Virus"), QStringLiteral("chkAntiVirus"));
    model.setIndex(
        QStringLiteral("optGifPng"),
        ini.text(secL2h, QStringLiteral("ImageType"), no).toUpper() == QStringLiteral("PNG") ? 1
                                                                                             : 0);
    ini.check(secL2h, QStringLiteral("ImageSubDir"), QStringLiteral("chkImageDir"));
    ini.check(secL2h, QStringLiteral("NavLinks"), QStringLiteral("chkNavigation"));

    // A missing key selects "Default": a stored "No" would otherwise be
    // handed to LaTeX2HTML as the text of the about page, address or title.
    const QString about = ini.path(secL2h, QStringLiteral("About"), defaultEntry);
    setTextCombo(model, QStringLiteral("cmbAbout"), {defaultEntry, QStringLiteral("None")},
                 about.isEmpty() ? QStringLiteral("None") : about);
    setTextCombo(model, QStringLiteral("cmbAddress"), {defaultEntry},
                 ini.path(secL2h, QStringLiteral("Author"), defaultEntry));
    const QString title = ini.path(secL2h, QStringLiteral("Title"), defaultEntry);
    setTextCombo(model, QStringLiteral("cmbTitle"), {defaultEntry},
                 title.isEmpty() ? defaultEntry : title);

    model.setTag(QStringLiteral("cmdInit"), ini.yes(secL2h, QStringLiteral("CheckSyntax"))
                                                ? QStringLiteral("1")
                                                : QStringLiteral("0"));
    model.setTag(QStringLiteral("Label25"), ini.yes(secL2h, QStringLiteral("DOSPause"))
                                                ? QStringLiteral("1")
                                                : QStringLiteral("0"));
    ini.listIndex(secL2h, QStringLiteral("Split"), QStringLiteral("cmbSplit"), 10);
    ini.listIndex(secL2h, QStringLiteral("Verbosity"), QStringLiteral("cmbVerbosity"), 10);
}

// Collects the writes of one save: every key goes into the profile in
// memory and the file is replaced once, atomically, at the end.
class IniWriter {
public:
    explicit IniWriter(const QString& file) : m_profile(ProfileFile::load(file)) {}

    void text(const QString& section, const QString& key, const QString& value) {
        m_allWritten = m_profile.writeText(section, key, value) && m_allWritten;
    }
    void flag(const QString& section, const QString& key, int checkValueOrBool) {
        text(section, key, YesNo(checkValueOrBool));
    }
    void number(const QString& section, const QString& key, int value) {
        text(section, key, QString::number(value));
    }
    bool commit() { return m_profile.save() && m_allWritten; }

private:
    ProfileFile m_profile;
    bool m_allWritten = true;
};

void writeAlways(IniWriter& ini, const OptionsModel& model, const SettingsVariables& vars) {
    ini.flag(secPreferences, QStringLiteral("BrowserPos"),
             model.checkValue(QStringLiteral("chkSettings")));
    ini.flag(secHevea, QStringLiteral("Version1.05OrLater"),
             model.checkValue(QStringLiteral("chkVersion")));
    ini.flag(secPreferences, QStringLiteral("SavePrefs"),
             model.checkValue(QStringLiteral("chkSave")));
    ini.text(secTex4ht, QStringLiteral("SaveTo"), vars.tex4htSaveTo);
    ini.text(QStringLiteral("LaTeX2HTML"), QStringLiteral("SaveTo"), vars.l2hSaveTo);
    ini.text(secPaths, QStringLiteral("Editor"), vars.editor);
    ini.text(secPaths, QStringLiteral("TeXEditor"), vars.texEditor);
    ini.number(secPreferences, QStringLiteral("ScrollPercent"),
               scrollPercentValue(vars.scrollFraction));
    ini.text(secPreferences, QStringLiteral("LowRes"), trueFalse(vars.lowRes));
    ini.text(secPreferences, QStringLiteral("LongFileName"), trueFalse(vars.longFileName));
    ini.text(secPreferences, QStringLiteral("AllowNonTeXFiles"), trueFalse(vars.allowNonTeXFiles));
}

void writePreferences(IniWriter& ini, const OptionsModel& model) {
    ini.flag(secPreferences, QStringLiteral("RunHTML"), model.checkValue(QStringLiteral("chkIE")));
    ini.flag(secPreferences, QStringLiteral("Showinownbrowser"),
             model.index(QStringLiteral("optIE")) == 1);
    ini.flag(secPreferences, QStringLiteral("Close"), model.checkValue(QStringLiteral("chkClose")));
    ini.number(secPreferences, QStringLiteral("StartupTab"),
               model.index(QStringLiteral("cmbTabs")));
    ini.flag(secPreferences, QStringLiteral("Warning"),
             model.checkValue(QStringLiteral("chkWarning")));
    ini.flag(secPreferences, QStringLiteral("AllowMultiProcess"),
             model.checkValue(QStringLiteral("chkMulti")));
}

void writeHevea(IniWriter& ini, const OptionsModel& model) {
    ini.flag(secHevea, QStringLiteral("IncludeStyle"),
             model.checkValue(QStringLiteral("chkStyle")));
    ini.text(secHevea, QStringLiteral("OutputType"),
             outputTypeWord(model.index(QStringLiteral("optOutput"))));
    ini.flag(secHevea, QStringLiteral("French"), model.checkValue(QStringLiteral("chkFrench")));
    ini.flag(secHevea, QStringLiteral("Fix"), model.checkValue(QStringLiteral("chkFix")));
    ini.flag(secHevea, QStringLiteral("Hacha"), model.checkValue(QStringLiteral("chkHacha")));
    const QStringList verbose = heveaVerboseEntries();
    const int level = model.index(QStringLiteral("cmbHeveaVerbose"));
    ini.text(secHevea, QStringLiteral("Verbose"),
             level >= 0 && level < verbose.size() ? verbose.at(level) : verbose.first());
    ini.text(secHevea, QStringLiteral("Code"),
             model.index(QStringLiteral("optCode")) == 1 ? QStringLiteral("Native")
                                                         : QStringLiteral("Byte"));
    ini.flag(secHevea, QStringLiteral("Esponja"), model.checkValue(QStringLiteral("chkEsponja")));
}

void writeTth(IniWriter& ini, const OptionsModel& model) {
    ini.flag(secTth, QStringLiteral("Italics"), model.checkValue(QStringLiteral("chkItalics")));
    ini.flag(secTth, QStringLiteral("NumberMulti"), model.checkValue(QStringLiteral("chkNumber")));
    ini.flag(secTth, QStringLiteral("Inline"), model.checkValue(QStringLiteral("chkInline")));
    ini.flag(secTth, QStringLiteral("Revise"), model.checkValue(QStringLiteral("chkRevise")));
}

void writeTexify(IniWriter& ini, const OptionsModel& model) {
    ini.flag(secTexify, QStringLiteral("UseDVI"), model.checkValue(QStringLiteral("chkTexify_0")));
    ini.flag(secTexify, QStringLiteral("ReportDVI"),
             model.checkValue(QStringLiteral("chkReport_0")));
    ini.flag(secTexify, QStringLiteral("UsePDF"), model.checkValue(QStringLiteral("chkTexify_1")));
    ini.flag(secTexify, QStringLiteral("ReportPDF"),
             model.checkValue(QStringLiteral("chkReport_1")));
    ini.flag(secTexify, QStringLiteral("SWPGS"), model.checkValue(QStringLiteral("chkSWPGS")));
    ini.number(secTexify, QStringLiteral("Passes"), model.index(QStringLiteral("cmbpdfPasses")));
}

void writeTex4ht(IniWriter& ini, const OptionsModel& model, const SettingsVariables& vars) {
    const QStringList args = tex4htArgs(model);
    ini.flag(secTex4ht, QStringLiteral("SWP"), model.checkValue(QStringLiteral("chkSWP")));
    ini.flag(secTex4ht, QStringLiteral("ImagesSubDir"),
             model.checkValue(QStringLiteral("chkImages")));
    ini.text(secTex4ht, QStringLiteral("SubDir"), model.text(QStringLiteral("txtImages")));
    ini.flag(secTex4ht, QStringLiteral("Htrun"), model.checkValue(QStringLiteral("chkHtrun")));
    if (vars.advancedSave)
        ini.text(secTex4ht, QStringLiteral("Cmdline"), joinCmdline(args));
    ini.text(secTex4ht, QStringLiteral("Usepackage"), model.tag(QStringLiteral("txt3")));
    if (vars.advancedSave)
        ini.text(secTex4ht, QStringLiteral("Htruncommand"), joinHtruncommand(args));
    ini.number(secTex4ht, QStringLiteral("SWPpasses"), model.index(QStringLiteral("cmbPasses")));
    ini.flag(secTex4ht, QStringLiteral("DOSPause"),
             model.checkValue(QStringLiteral("chkTex4htPause")));
    ini.text(secTex4ht, QStringLiteral("Ver2.5"), YesNo(true));
    ini.text(secTex4ht, QStringLiteral("AdvancedSave"), trueFalse(vars.advancedSave));
    ini.text(secTex4ht, QStringLiteral("CheckForUsePackage"), trueFalse(vars.checkForUsePackage));
}

void writeLatex2html(IniWriter& ini, const OptionsModel& model, const SettingsVariables& vars) {
    ini.text(secL2h, QStringLiteral("SaveTo"), vars.l2hSaveTo);
    ini.flag(secL2h, QStringLiteral("Anti-Virus"),
             model.checkValue(QStringLiteral("chkAntiVirus")));
    ini.text(secL2h, QStringLiteral("ImageType"),
             model.index(QStringLiteral("optGifPng")) == 0 ? QStringLiteral("GIF")
                                                           : QStringLiteral("PNG"));
    ini.flag(secL2h, QStringLiteral("ImageSubDir"),
             model.checkValue(QStringLiteral("chkImageDir")));
    ini.flag(secL2h, QStringLiteral("NavLinks"), model.checkValue(QStringLiteral("chkNavigation")));
    ini.text(secL2h, QStringLiteral("Author"), model.text(QStringLiteral("cmbAddress")));
    ini.text(secL2h, QStringLiteral("About"), model.text(QStringLiteral("cmbAbout")));
    ini.text(secL2h, QStringLiteral("Title"), model.text(QStringLiteral("cmbTitle")));
    ini.flag(secL2h, QStringLiteral("CheckSyntax"), model.tag(QStringLiteral("cmdInit")).toInt());
    ini.flag(secL2h, QStringLiteral("DOSPause"), model.tag(QStringLiteral("Label25")).toInt());
    ini.number(secL2h, QStringLiteral("Split"), model.index(QStringLiteral("cmbSplit")));
    ini.number(secL2h, QStringLiteral("Verbosity"), model.index(QStringLiteral("cmbVerbosity")));
}

} // namespace

QString YesNo(int checkValueOrBool) {
    return (checkValueOrBool == 1 || checkValueOrBool == -1) ? QStringLiteral("Yes")
                                                             : QStringLiteral("No");
}

QString iniPath(const AppContext& ctx) {
    return ctx.programDir + QStringLiteral("/Morvane.ini");
}

void readini(AppContext& ctx) {
    const ProfileFile profile = ProfileFile::load(iniPath(ctx));
    IniReader ini(profile, *ctx.model);
    readPaths(ini, ctx.vars);
    readPreferences(ini, *ctx.model, ctx.vars);
    readHevea(ini, *ctx.model, ctx.vars);
    readTth(ini);
    readTexify(ini);
    readTex4ht(ini, *ctx.model, ctx.vars);
    readLatex2html(ini, *ctx.model, ctx.vars);
}

bool writeini(AppContext& ctx) {
    const OptionsModel& model = *ctx.model;
    IniWriter ini(iniPath(ctx));
    writeAlways(ini, model, ctx.vars);
    if (model.isChecked(QStringLiteral("chkSave"))) {
        writePreferences(ini, model);
        writeHevea(ini, model);
        writeTth(ini, model);
        writeTexify(ini, model);
        writeTex4ht(ini, model, ctx.vars);
        writeLatex2html(ini, model, ctx.vars);
    }
    if (ini.commit())
        return true;
    ctx.prompter->tell(QStringLiteral("Unable to save all the preferences"),
                       QStringLiteral("Save Preferences"), Icon::Critical);
    return false;
}

void reloadIni(AppContext& ctx) {
    readini(ctx);
    readini(ctx);
    CheckPaths(ctx);

    OptionsModel& model = *ctx.model;
    // An unreadable style folder leaves the list empty.
    const QStringList styles = styleFileNames(styleDirectory(ctx));
    model.setItems(QStringLiteral("File1"), styles);
    if (ctx.paths.texDocsExists)
        ctx.vars.openDialogDir = ctx.vars.texDocs;
    model.setItems(QStringLiteral("List1"), styleListFrom(styles));
    model.setText(QStringLiteral("txtExclude"), QString());
    if (ctx.loadDefaultConfig)
        ctx.loadDefaultConfig();
    model.setVisible(QStringLiteral("chkHtrun"), true);
    if (ctx.composeTex4htCommandLine)
        ctx.composeTex4htCommandLine();
}

void editIni(AppContext& ctx) {
    const QString ini = iniPath(ctx);
    if (!ctx.vars.editor.isEmpty() && ctx.shell->startDetached(ctx.vars.editor, {ini}))
        return;
    if (ctx.shell->open(ini))
        return;
    const QString notepad = ctx.shell->notepad();
    if (!notepad.isEmpty() && ctx.shell->startDetached(notepad, {ini}))
        return;
    ctx.prompter->tell(QStringLiteral("No text editor was found to open ") + ini + QLatin1Char('.'),
                       QStringLiteral("INI File"), Icon::Exclamation);
}

} // namespace morvane
