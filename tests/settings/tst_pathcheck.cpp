#include "app/inicommands.h"
#include "pipeline/appcontext.h"
#include "settings/inisync.h"
#include "settings/pathcheck.h"
#include "support/routetabs.h"
#include "support/testhome.h"
#include "support/testmain.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

using namespace morvane;

namespace {

// A folder holding the named files; names ending in "*" become programs.
QString folderWith(const QTemporaryDir& root, const QString& folder, const QStringList& files) {
    const QString dir = root.filePath(folder);
    QDir().mkpath(dir);
    for (QString name : files) {
        const bool program = name.endsWith(QLatin1Char('*'));
        name.chop(program ? 1 : 0);
        QFile file(dir + QLatin1Char('/') + name);
        if (!file.open(QIODevice::WriteOnly))
            qFatal("cannot write %s", qPrintable(file.fileName()));
        file.write("#!/bin/sh\n");
        file.close();
        if (program)
            file.setPermissions(file.permissions() | QFileDevice::ExeOwner | QFileDevice::ExeUser);
    }
    return dir;
}

} // namespace

class TestPathCheck : public QObject {
    Q_OBJECT

private slots:
    void programFoundFlags_data();
    void programFoundFlags();
    void programNamesAreReset();
    void texDocsExists_data();
    void texDocsExists();
    void outputRoots();
    void editorsAndHtrunLocations_data();
    void editorsAndHtrunLocations();
    void shippedLocationsFindTheInstalledConverters();

private:
    QTemporaryDir m_root;
    OptionsModel m_model;
};

void TestPathCheck::programFoundFlags_data() {
    QTest::addColumn<QString>("location");
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<int>("tab");
    QTest::addColumn<bool>("found");

    QTest::newRow("hevea present") << "h1" << QStringList{"hevea*"} << int(TabHevea) << true;
    QTest::newRow("hevea not executable") << "h2" << QStringList{"hevea"} << int(TabHevea) << false;
    QTest::newRow("folder without hevea") << "h3" << QStringList{"tth*"} << int(TabHevea) << false;
    QTest::newRow("empty location") << "" << QStringList{} << int(TabHevea) << false;
    QTest::newRow("missing folder") << "missing/folder" << QStringList{} << int(TabTth) << false;
    QTest::newRow("tth present") << "t1" << QStringList{"tth*"} << int(TabTth) << true;
    QTest::newRow("tex4ht present") << "x1" << QStringList{"tex4ht*"} << int(TabTex4ht) << true;
    QTest::newRow("htlatex alone is no tex4ht")
        << "x2" << QStringList{"htlatex*"} << int(TabTex4ht) << false;
    QTest::newRow("latex2html library") << "l1" << QStringList{"l2hconf.pm"} << int(TabL2h) << true;
    QTest::newRow("latex2html without l2hconf.pm")
        << "l2" << QStringList{"latex2html*"} << int(TabL2h) << false;
    QTest::newRow("texi2dvi for DVI") << "d1" << QStringList{"texi2dvi*"} << int(TabDvi) << true;
    QTest::newRow("texi2dvi for PDF") << "d2" << QStringList{"texi2dvi*"} << int(TabPdf) << true;
    QTest::newRow("texify accepted") << "d3" << QStringList{"texify*"} << int(TabPdf) << true;
    QTest::newRow("no texify") << "d4" << QStringList{"latex*"} << int(TabDvi) << false;
}

void TestPathCheck::programFoundFlags() {
    QFETCH(QString, location);
    QFETCH(QStringList, files);
    QFETCH(int, tab);
    QFETCH(bool, found);

    AppContext ctx;
    ctx.model = &m_model;
    QString dir;
    if (!location.isEmpty())
        dir = files.isEmpty() ? m_root.filePath(location) : folderWith(m_root, location, files);
    // Every location names the same folder: only the route's program counts.
    ctx.settings.vars.hevea = ctx.settings.vars.tth = ctx.settings.vars.tex4ht =
        ctx.settings.vars.l2h = ctx.settings.vars.texify = dir;
    for (bool& flag : ctx.settings.paths.programFound)
        flag = !found; // stale values must not survive
    CheckPaths(ctx);
    QCOMPARE(ctx.settings.paths.programFoundOn(tab), found);
    QCOMPARE(ctx.settings.paths.programFoundOn(TabPdf), ctx.settings.paths.programFoundOn(TabDvi));
    QVERIFY(!ctx.settings.paths.programFoundOn(0));
}

void TestPathCheck::programNamesAreReset() {
    AppContext ctx;
    ctx.model = &m_model;
    for (QString& name : ctx.settings.paths.programName)
        name = QStringLiteral("stale");
    CheckPaths(ctx);
    const QStringList names{ctx.settings.paths.programName[1], ctx.settings.paths.programName[2],
                            ctx.settings.paths.programName[3], ctx.settings.paths.programName[4],
                            ctx.settings.paths.programName[5], ctx.settings.paths.programName[6]};
    QCOMPARE(names, (QStringList{"Hevea", "Tth", "Tex4ht", "L2h", "Texify", "Texify"}));
}

void TestPathCheck::texDocsExists_data() {
    QTest::addColumn<QString>("texDocs");
    QTest::addColumn<bool>("exists");
    QTest::newRow("existing folder") << m_root.path() << true;
    QTest::newRow("missing folder") << m_root.filePath("nope") << false;
    QTest::newRow("empty") << "" << false;
}

void TestPathCheck::texDocsExists() {
    QFETCH(QString, texDocs);
    QFETCH(bool, exists);
    AppContext ctx;
    ctx.model = &m_model;
    ctx.settings.vars.texDocs = texDocs;
    ctx.settings.paths.texDocsExists = !exists;
    CheckPaths(ctx);
    QCOMPARE(ctx.settings.paths.texDocsExists, exists);
    QCOMPARE(ctx.settings.vars.texDocs, texDocs);
}

void TestPathCheck::outputRoots() {
    AppContext ctx;
    ctx.model = &m_model;
    ctx.settings.vars.tex4ht = QStringLiteral("/usr/bin");
    ctx.settings.vars.l2h = QStringLiteral("/usr/share/latex2html");
    ctx.settings.vars.tex4htSaveTo = m_root.filePath("gone");
    ctx.settings.vars.l2hSaveTo = QString();
    CheckPaths(ctx);
    // Program folders are no place for documents: the home folder stands in.
    QCOMPARE(ctx.settings.vars.tex4htSaveTo, QDir::homePath());
    QCOMPARE(ctx.settings.vars.l2hSaveTo, QDir::homePath());

    ctx.settings.vars.tex4htSaveTo = m_root.path();
    ctx.settings.vars.l2hSaveTo = m_root.path();
    CheckPaths(ctx);
    QCOMPARE(ctx.settings.vars.tex4htSaveTo, m_root.path());
    QCOMPARE(ctx.settings.vars.l2hSaveTo, m_root.path());
}

void TestPathCheck::editorsAndHtrunLocations_data() {
    QTest::addColumn<QString>("value");
    QTest::addColumn<bool>("kept");
    const QString editor = folderWith(m_root, "ed", {"myeditor*"}) + QStringLiteral("/myeditor");
    QTest::newRow("existing path") << editor << true;
    QTest::newRow("missing path") << m_root.filePath("ed/none") << false;
    QTest::newRow("empty") << "" << true;
    QTest::newRow("program on PATH") << "sh" << true;
    QTest::newRow("unknown program name") << "no-such-editor-xyz" << false;
}

void TestPathCheck::editorsAndHtrunLocations() {
    QFETCH(QString, value);
    QFETCH(bool, kept);
    AppContext ctx;
    ctx.model = &m_model;
    ctx.settings.vars.editor = value;
    ctx.settings.vars.texEditor = value;
    CheckPaths(ctx);
    QCOMPARE(ctx.settings.vars.editor, kept ? value : QString());
    QCOMPARE(ctx.settings.vars.texEditor, kept ? value : QString());

    // The htrun locations are folders: a program name is not looked up.
    const bool folderKept = QFileInfo::exists(value) || value.isEmpty();
    ctx.settings.vars.htrunM = value;
    ctx.settings.vars.htrunS = value;
    CheckPaths(ctx);
    QCOMPARE(ctx.settings.vars.htrunM, folderKept ? value : QString());
    QCOMPARE(ctx.settings.vars.htrunS, folderKept ? value : QString());
}

void TestPathCheck::shippedLocationsFindTheInstalledConverters() {
    test::TestHome home;
    AppContext ctx;
    ctx.programDir = home.path();
    ctx.model = &m_model;
    readini(ctx);
    CheckPaths(ctx);
    const struct {
        int tab;
        const char* program;
    } routes[] = {{TabHevea, "/usr/bin/hevea"},
                  {TabTth, "/usr/bin/tth"},
                  {TabTex4ht, "/usr/bin/tex4ht"},
                  {TabL2h, "/usr/share/latex2html/l2hconf.pm"},
                  {TabDvi, "/usr/bin/texi2dvi"}};
    for (const auto& route : routes)
        QCOMPARE(ctx.settings.paths.programFoundOn(route.tab), QFileInfo::exists(route.program));
    QVERIFY(QFileInfo::exists(ctx.settings.vars.gsLib + QStringLiteral("/gs_init.ps")));
    QVERIFY(QFileInfo(ctx.settings.vars.imageMagick + QStringLiteral("/delegates.xml")).isFile());
}

MORVANE_TEST_GUILESS_MAIN(TestPathCheck)
#include "tst_pathcheck.moc"
