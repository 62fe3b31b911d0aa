#include "app/startup.h"

#include "settings/make4htchoice.h"
#include "settings/pandocsettings.h"

#include "drivers/tex4ht.h"

#include "app/inicommands.h"
#include "drivers/hevea.h"
#include "pipeline/appcontext.h"
#include "pipeline/batchdriver.h"
#include "platform/pathutils.h"
#include "platform/prompter.h"
#include "settings/controlnames.h"
#include "settings/filehistory.h"
#include "settings/helplinks.h"
#include "settings/hevealibrary.h"
#include "settings/iniencoding.h"
#include "tex4ht/codefragments.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QSettings>
#include <algorithm>

namespace morvane {

namespace {

// Captions the form does not hold itself.
void setFixedCaptions(OptionsModel& model) {
    const QString slow = QStringLiteral("May take a long time to convert");
    model.setCaption(ctl::Label5, slow);
    model.setCaption(ctl::Label25, slow);
    const QString texify = QStringLiteral(
        "Texify automatically runs (La)TeX, Makeindex (Texindex) and BibTeX as many times as "
        "necessary to produce a DVI file with sorted indices and all cross-references resolved.");
    model.setCaption(ctl::Label6, texify);
    model.setCaption(ctl::Label7, texify);
    model.setCaption(ctl::Label18,
                     QStringLiteral("Drag or use arrows to put styles in order that Hevea will "
                                    "use. Only those above the line will be used."));
    model.setCaption(ctl::lblListCover, QString());
}

void fillPassLists(OptionsModel& model) {
    model.setItems(ctl::cmbPasses, {QStringLiteral("Default"), QStringLiteral("1"),
                                    QStringLiteral("2"), QStringLiteral("3")});
    // The LaTeX2HTML depth lists hold "Default" and 0 to 8.
    for (const ctl::Control name : {ctl::cmbSplit, ctl::cmbVerbosity}) {
        if (!model.items(name).isEmpty())
            continue;
        QStringList items{QStringLiteral("Default")};
        for (int depth = 0; depth <= 8; ++depth)
            items.append(QString::number(depth));
        model.setItems(name, items);
    }
    for (const ctl::Control name :
         {ctl::cmbPasses, ctl::cmbSplit, ctl::cmbVerbosity, ctl::cmbpdfPasses})
        model.setIndex(name, 0);
    // make4ht's lists open when make4ht is ticked (chkMake4ht_Click).
    model.setItems(ctl::cmbMake4htFormat, make4htFormatEntries());
    model.setItems(ctl::cmbMake4htEngine, make4htEngineEntries());
    model.setItems(ctl::cmbPandocFormat, pandocFormatEntries());
    for (const ctl::Control name : {ctl::cmbMake4htFormat, ctl::cmbMake4htEngine,
                                    ctl::lblMake4htFormat, ctl::lblMake4htEngine})
        model.setEnabled(name, model.isChecked(ctl::chkMake4ht));
}

bool programFileMissing(AppContext& ctx, const QString& name, const QString& secondLine,
                        const QString& title) {
    if (QFileInfo::exists(ctx.programDir + QLatin1Char('/') + name))
        return false;
    ctx.seams.prompter->tell(QStringLiteral("Can't find ") + ctx.programDir + QLatin1Char('/') +
                                 name + QStringLiteral(" file.") + QStringLiteral("\n\n") +
                                 secondLine,
                             title, Icon::Critical);
    return true;
}

// What is wrong with a settings file that exists but cannot be Morvane's:
// read as it is, it would only give "... Not Found" for every program.
QString iniDamage(const QString& path) {
    const QFileInfo info(path);
    if (info.isDir())
        return QStringLiteral("it is a folder, not a file");
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("it cannot be read (") + file.errorString() + QLatin1Char(')');
    // Read no more than the file holds: a megabyte's buffer would cost every
    // start its allocation. A file that tells no size is read up to that.
    const qint64 size = file.size();
    const QByteArray text = file.read(size > 0 ? std::min<qint64>(size, 1 << 20) : 1 << 20);
    if (text.trimmed().isEmpty())
        return QStringLiteral("it is empty");
    if (text.contains('\0'))
        return QStringLiteral("it is not a text file");
    if (!text.contains("[Paths]"))
        return QStringLiteral("it has no [Paths] section");
    return {};
}

bool programIniDamaged(AppContext& ctx) {
    const QString path = ctx.programDir + QStringLiteral("/Morvane.ini");
    const QString damage = iniDamage(path);
    if (damage.isEmpty())
        return false;
    ctx.seams.prompter->tell(
        path + QStringLiteral(" is damaged: ") + damage +
            QStringLiteral(".\n\nRestore it from a backup, or rename it and put a copy of the "
                           "Morvane.ini Morvane was installed with in its place."),
        QStringLiteral("Initialisation File"), Icon::Critical);
    return true;
}

void selectStartupTab(AppContext& ctx) {
    QStringList captions;
    for (const Route& route : ctx.routes)
        captions.append(QLatin1String(route.caption));
    ctx.model->setItems(ctl::cmbTabs, captions);
    // A hand-edited value counts round the routes; a negative one is the first.
    const int tab = startupTabValue(ctx.settings.vars.startupTab, int(captions.size()));
    ctx.model->setIndex(ctl::cmbTabs, tab);
    ctx.model->setIndex(ctl::tbstrip, tab + 1);
}

void fillStyleList(AppContext& ctx) {
    if (ctx.heveaStylesUnused)
        return;
    // An unreadable directory simply leaves the list empty.
    const QStringList hva = styleFileNames(heveaStyleDirectory(ctx));
    ctx.model->setItems(ctl::File1, hva);
    ctx.model->setItems(ctl::List1, styleListFrom(hva));
}

// HeVeA's native-code program and esponja decide what the HeVeA tab offers.
void applyHeveaVersionRules(AppContext& ctx) {
    OptionsModel& model = *ctx.model;
    const QString heveaDir = ctx.settings.vars.hevea;
    if (!heveaDir.isEmpty()) {
        model.setVisible(ctl::Frame12, QFileInfo::exists(heveaDir + QStringLiteral("/hevea.opt")));
        const bool esponja = QFileInfo::exists(heveaDir + QStringLiteral("/esponja"));
        model.setEnabled(ctl::chkEsponja, esponja);
        if (!esponja)
            model.setChecked(ctl::chkEsponja, false);
    }
    if (model.isVisible(ctl::Frame12))
        model.setChecked(ctl::chkVersion, true);
    else
        model.setIndex(ctl::optCode, 0);
    if (!model.isChecked(ctl::chkVersion))
        model.setChecked(ctl::chkEsponja, false);
}

} // namespace

QString commandLineFileOf(const QStringList& arguments) {
    QString file = arguments.join(QLatin1Char(' '));
    file.remove(QLatin1Char('"'));
    return file;
}

QString fullPathOf(const QString& file, const QString& currentDir) {
    // A relative path with folders in it is completed as well: on Linux it
    // would otherwise be read against the wrong directory or lost.
    if (file.isEmpty() || QDir::isAbsolutePath(file))
        return file;
    return QDir::cleanPath(currentDir + QLatin1Char('/') + file);
}

QString programVersion() {
    return QStringLiteral("%1.%2.%3")
        .arg(MORVANE_VERSION_MAJOR)
        .arg(MORVANE_VERSION_MINOR)
        .arg(MORVANE_VERSION_PATCH);
}

QString versionLabel() {
    return QStringLiteral("Morvane ") + programVersion() + QStringLiteral("      ") +
           QStringLiteral("\u00a9 The Morvane developers");
}

QString dateTimeLabel(const QString& file) {
    return QLocale::c().toString(QFileInfo(file).lastModified(),
                                 QStringLiteral("d MMM yyyy  h:mm AP"));
}

void upgradeNoticeStep(AppContext& ctx) {
    const Route* route = ctx.selectedRoute();
    if (route && route->tabSelected)
        route->tabSelected(ctx);
}

void registerProgram(const QString& executable) {
    QSettings store(QStringLiteral("Morvane"), QStringLiteral("Morvane"));
    store.beginGroup(QStringLiteral("Path"));
    // There are no short names on Linux: both forms are the path itself.
    const QList<std::pair<QString, QString>> entries{
        {QStringLiteral("Short"), executable},
        {QStringLiteral("Long"), longPathOf(executable)},
        {QStringLiteral("Version"), programVersion()}};
    // The store is rewritten only when something changed, so an ordinary
    // start costs no disk write.
    for (const auto& [key, value] : entries) {
        if (store.value(key).toString() != value || !store.contains(key))
            store.setValue(key, value);
    }
    store.endGroup();
}

bool loadStep(AppContext& ctx, const QString& commandLineFile) {
    ctx.loading = true;
    QString file = commandLineFile;
    file.remove(QLatin1Char('"'));

    // A run without a window (batch mode, --compare, --check) shows no
    // captions, links, fragments or history: it does not read them.
    const bool window = !ctx.unattended;
    if (window) {
        setFixedCaptions(*ctx.model);
        setDefaultLinks(*ctx.model);
    }
    fillPassLists(*ctx.model);
    ctx.sourceExtension = QStringLiteral(".tex");

    if (!file.isEmpty()) {
        QString box = longPathOf(fullPathOf(file, QDir::currentPath()));
        if (box == QStringLiteral("/") || box == QStringLiteral("\\"))
            box.clear();
        ctx.model->setText(ctl::cmbTeX, box);
    }

    if (programFileMissing(ctx, QStringLiteral("Morvane.ini"),
                           QStringLiteral("Cannot run Morvane without this file."),
                           QStringLiteral("Initialisation File")) ||
        programIniDamaged(ctx)) {
        ctx.loading = false;
        return false;
    }
    readini(ctx);
    if (programFileMissing(ctx, QStringLiteral("convert.sh"),
                           QStringLiteral("Morvane cannot run any programs without this file."),
                           QStringLiteral("Batch File"))) {
        ctx.loading = false;
        return false;
    }
    CheckPaths(ctx);

    fillStyleList(ctx);
    if (ctx.settings.paths.texDocsExists)
        ctx.settings.vars.openDialogDir = ctx.settings.vars.texDocs;
    selectStartupTab(ctx);

    if (window)
        ctx.model->setItems(ctl::cmbFrags, codeFragmentEntries(ctx.programDir));
    if (ctx.loadDefaultConfig)
        ctx.loadDefaultConfig();
    if (window)
        ctx.model->setItems(ctl::cmbTeX, loadFileHistory(ctx.programDir));
    checkBatchDriverVersion(ctx);
    ctx.l2hRun = false;

    applyHeveaVersionRules(ctx);
    probeHtrunIni(ctx);
    ctx.model->setVisible(ctl::chkHtrun, true);

    if (window) {
        ctx.model->setCaption(ctl::lblVersion, versionLabel());
        ctx.model->setCaption(ctl::lblDateTime,
                              dateTimeLabel(QCoreApplication::applicationFilePath()));
    }
    // The TeX4ht command line follows the options just read.
    if (ctx.composeTex4htCommandLine)
        ctx.composeTex4htCommandLine();
    ctx.loading = false;
    return true;
}

QString restoredAfterCrashText(const QStringList& restored) {
    return QStringLiteral("A conversion was stopped before it could finish (the program ended "
                          "during the run). What it had renamed has been put back:\n\n") +
           restored.join(QLatin1Char('\n'));
}

} // namespace morvane
