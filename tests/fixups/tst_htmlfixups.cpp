#include "fixupfixture.h"
#include "settings/controlnames.h"
#include "support/testmain.h"

#include <QTest>

using namespace morvane;
using morvane::test::FixupFixture;

class TestHtmlFixups : public QObject {
    Q_OBJECT
private slots:
    void imageLine_data() {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<bool>("image");
        QTest::newRow("gif source") << QByteArray("<img src=\"fig.gif\" alt=\"\">") << true;
        QTest::newRow("opener in capitals") << QByteArray("<IMG SRC=\"fig.png\">") << true;
        QTest::newRow("jpg without tag end") << QByteArray("<img src=\"fig.jpg") << true;
        QTest::newRow("extension after tag end") << QByteArray("<img src=\"a\"> fig.gif") << false;
        QTest::newRow("extension before opener") << QByteArray("fig.gif <img src=\"a\">") << false;
        QTest::newRow("extension case counts") << QByteArray("<img src=\"FIG.GIF\">") << false;
        QTest::newRow("link only") << QByteArray("<a href=\"fig.gif\">x</a>") << false;
        QTest::newRow("gif and png images")
            << QByteArray("<img src=\"a.gif\"><img src=\"b.png\">") << true;
        QTest::newRow("empty") << QByteArray() << false;
    }
    void imageLine() {
        QFETCH(QByteArray, line);
        QFETCH(bool, image);
        QCOMPARE(isImageLine(QByteArrayView(line)), image);
        QCOMPARE(isImageLine(QString::fromLatin1(line)), image);
    }

    void rewriteLink_data() {
        QTest::addColumn<int>("tab");
        QTest::addColumn<QString>("tex4htExtension");
        QTest::addColumn<int>("stateBefore");
        QTest::addColumn<int>("answer"); // -1: no question expected
        QTest::addColumn<QString>("target");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<int>("stateAfter");
        const QString none;
        QTest::newRow("yes keeps the fragment") << 3 << none << 0 << 1 << "chap2.tex#sec"
                                                << "chap2.html#sec" << 1;
        QTest::newRow("no") << 3 << none << 0 << 2 << "chap2.tex"
                            << "chap2.tex" << 2;
        QTest::newRow("tex4ht xml extension") << 3 << ".xml" << 0 << 1 << "a.tex"
                                              << "a.xml" << 1;
        QTest::newRow("other tab gives html") << 4 << ".xml" << 0 << 1 << "a.tex"
                                              << "a.html" << 1;
        QTest::newRow("extension in capitals") << 3 << none << 0 << 1 << "A.TEX"
                                               << "A.html" << 1;
        QTest::newRow("yes to all asks no more") << 3 << none << 3 << -1 << "b.tex"
                                                 << "b.html" << 3;
        QTest::newRow("no to all leaves it") << 3 << none << 4 << -1 << "b.tex"
                                             << "b.tex" << 4;
        QTest::newRow("url never asked") << 3 << none << 0 << -1 << "http://x.org/a.tex"
                                         << "http://x.org/a.tex" << 0;
        QTest::newRow("no tex no question") << 3 << none << 0 << -1 << "a.html"
                                            << "a.html" << 0;
        QTest::newRow(".tex inside a name is no extension")
            << 3 << none << 0 << -1 << "notes.texts.html"
            << "notes.texts.html" << 0;
        QTest::newRow(".tex folder is no extension") << 3 << none << 0 << -1 << "my.tex/a.html"
                                                     << "my.tex/a.html" << 0;
        QTest::newRow("doubled extension: the last one changes")
            << 3 << none << 0 << 1 << "a.tex.tex"
            << "a.tex.html" << 1;
        QTest::newRow("query kept") << 3 << none << 0 << 1 << "a.tex?x=1.tex"
                                    << "a.html?x=1.tex" << 1;
        QTest::newRow("hevea label") << 1 << none << 0 << -1 << "intro"
                                     << "#intro" << 0;
        QTest::newRow("hevea fragment stays") << 1 << none << 0 << -1 << "#intro"
                                              << "#intro" << 0;
        QTest::newRow("hevea empty stays") << 1 << none << 0 << -1 << ""
                                           << "" << 0;
        QTest::newRow("hevea mail stays") << 1 << none << 0 << -1 << "mailto:me"
                                          << "mailto:me" << 0;
        QTest::newRow("hevea path stays") << 1 << none << 0 << -1 << "/url"
                                          << "/url" << 0;
        QTest::newRow("hevea query stays") << 1 << none << 0 << -1 << "/script?foo=1"
                                           << "/script?foo=1" << 0;
        QTest::newRow("hevea relative folder stays") << 1 << none << 0 << -1 << "sub/page"
                                                     << "sub/page" << 0;
        QTest::newRow("hevea tex link") << 1 << none << 0 << 1 << "b.tex"
                                        << "b.html" << 1;
        QTest::newRow("hevea no to all keeps label") << 1 << none << 4 << -1 << "intro"
                                                     << "intro" << 4;
    }
    void rewriteLink() {
        QFETCH(int, tab);
        QFETCH(QString, tex4htExtension);
        QFETCH(int, stateBefore);
        QFETCH(int, answer);
        QFETCH(QString, target);
        QFETCH(QString, expected);
        QFETCH(int, stateAfter);
        FixupFixture f;
        f.rules.bareNamesAreLabels = tab == TabHevea;
        if (tab == TabTex4ht && !tex4htExtension.isEmpty())
            f.rules.pageExtension = tex4htExtension.mid(1).toUtf8();
        f.conv.linkAnswer = stateBefore;
        if (answer > 0)
            f.question.answers.enqueue(answer);
        QCOMPARE(morvane::rewriteLink(f.conv, f.rules, target, "page.html"), expected);
        QCOMPARE(f.question.texts.size(), answer > 0 ? 1 : 0);
        QCOMPARE(f.conv.linkAnswer, stateAfter);
    }

    void linkQuestionText() {
        FixupFixture f;
        f.question.answers.enqueue(2);
        morvane::rewriteLink(f.conv, f.rules, QStringLiteral("chap2.tex#sec"),
                             QStringLiteral("index.html"));
        QCOMPARE(f.question.texts, QStringList{"Link to chap2.tex#sec found in index.html.\n\n"
                                               "Do you wish to change this link to chap2.html?"});
    }

    void withoutWindowTheAnswerIsYes() {
        FixupFixture f;
        f.ctx.seams.linkQuestion = nullptr;
        QCOMPARE(morvane::rewriteLink(f.conv, f.rules, QStringLiteral("a.tex"), "p.html"),
                 QStringLiteral("a.html"));
        QCOMPARE(f.conv.linkAnswer, 1);
    }

    void otherSourceExtension() {
        FixupFixture f;
        f.conv.sourceExtension = ".ltx";
        QCOMPARE(morvane::rewriteLink(f.conv, f.rules, QStringLiteral("a.ltx"), "p.html"),
                 QStringLiteral("a.html"));
        QCOMPARE(morvane::rewriteLink(f.conv, f.rules, QStringLiteral("a.tex"), "p.html"),
                 QStringLiteral("a.tex"));
    }

    void linkFixupRewritesFirstLinkOfEachLine() {
        FixupFixture f;
        f.conv.linkAnswer = 3;
        f.write("out/p.html", "<a href=\"a.tex\">A</a> <a href=\"b.tex\">B</a>\r\n"
                              "plain line\n"
                              "<A HREF=\"c.tex#x\">C</A>");
        fixLinks(f.conv, f.rules, f.path("out/p.html"));
        // Only the first link of a line; every line keeps its own end, and
        // the last line stays without one.
        QCOMPARE(f.read("out/p.html"),
                 QByteArray("<a href=\"a.html\">A</a> <a href=\"b.tex\">B</a>\r\n"
                            "plain line\n"
                            "<A HREF=\"c.html#x\">C</A>"));
        QVERIFY(!f.exists("out/temp.htm"));
    }

    void rewriteKeepsPermissionsAndLinks() {
        FixupFixture f;
        f.conv.linkAnswer = 3;
        f.write("real/p.html", "<a href=\"a.tex\">\n");
        QFile::setPermissions(f.path("real/p.html"),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup);
        QDir().mkpath(f.path("out"));
        QVERIFY(QFile::link(f.path("real/p.html"), f.path("out/p.html")));
        fixLinks(f.conv, f.rules, f.path("out/p.html"));
        QVERIFY(QFileInfo(f.path("out/p.html")).isSymLink());
        QCOMPARE(f.read("real/p.html"), QByteArray("<a href=\"a.html\">\n"));
        QCOMPARE(QFile::permissions(f.path("real/p.html")), QFile::ReadOwner | QFile::WriteOwner |
                                                                QFile::ReadGroup | QFile::ReadUser |
                                                                QFile::WriteUser);
        QCOMPARE(QDir(f.path("real")).entryList(QDir::Files | QDir::Hidden), QStringList{"p.html"});
        QCOMPARE(QDir(f.path("out")).entryList(QDir::Files | QDir::Hidden | QDir::System),
                 QStringList{"p.html"});
    }

    void noThenAllSuppressesQuestionsAcrossPages() {
        FixupFixture f;
        f.write("p1.html", "<a href=\"a.tex\">\n<a href=\"b.tex\">\n");
        f.write("p2.html", "<a href=\"c.tex\">\n");
        f.question.answers << 2 << 4;
        fixLinks(f.conv, f.rules, f.path("p1.html"));
        fixLinks(f.conv, f.rules, f.path("p2.html"));
        QCOMPARE(f.question.texts.size(), 2);
        QCOMPARE(f.conv.linkAnswer, 4);
        QCOMPARE(f.read("p1.html"), QByteArray("<a href=\"a.tex\">\n<a href=\"b.tex\">\n"));
        QCOMPARE(f.read("p2.html"), QByteArray("<a href=\"c.tex\">\n"));
    }

    void heveaLabelsNeedNoQuestion() {
        FixupFixture f;
        f.rules.bareNamesAreLabels = true;
        f.write("p.html", "<a href=\"intro\">Intro</a>\n<a href=\"#top\">Top</a>\n");
        fixLinks(f.conv, f.rules, f.path("p.html"));
        QCOMPARE(f.read("p.html"),
                 QByteArray("<a href=\"#intro\">Intro</a>\n<a href=\"#top\">Top</a>\n"));
        QVERIFY(f.question.texts.isEmpty());
        // A second run adds nothing: the label is a fragment now.
        f.ageFile("p.html");
        fixLinks(f.conv, f.rules, f.path("p.html"));
        QVERIFY(!f.wasRewritten("p.html"));
    }

    void unchangedPageIsNotRewritten() {
        FixupFixture f;
        f.write("p.html", "<a href=\"a.html\">x</a>\n<a href=\"b.tex\">\n");
        f.ageFile("p.html");
        f.question.answers << 4;
        fixLinks(f.conv, f.rules, f.path("p.html"));
        QVERIFY(!f.wasRewritten("p.html"));
        fixLinks(f.conv, f.rules, f.path("missing.html")); // silently skipped
        QVERIFY(!f.exists("missing.html"));
    }

    void badPageBytesSurvive_data() {
        QTest::addColumn<QByteArray>("page");
        QTest::addColumn<QByteArray>("expected");
        const QByteArray binary("\0\x01\xff\xfe\r\x80", 6);
        QTest::newRow("binary bytes around a link")
            << binary + "<a href=\"a.tex\">" + binary + "\n" + binary
            << binary + "<a href=\"a.html\">" + binary + "\n" + binary;
        QTest::newRow("invalid utf-8 in the target")
            << QByteArray("<a href=\"\xe9t\xc3\x28.tex\">\xff\xfe</a>\r\n")
            << QByteArray("<a href=\"\xe9t\xc3\x28.html\">\xff\xfe</a>\r\n");
        QTest::newRow("unterminated link")
            << QByteArray("x <a href=\"a.tex") << QByteArray("x <a href=\"a.tex");
        QTest::newRow("opener at the very end")
            << QByteArray("<a href=\"") << QByteArray("<a href=\"");
        QTest::newRow("lone carriage returns stay")
            << QByteArray("a\rb <a href=\"a.tex\">\r") << QByteArray("a\rb <a href=\"a.html\">\r");
    }
    void badPageBytesSurvive() {
        QFETCH(QByteArray, page);
        QFETCH(QByteArray, expected);
        FixupFixture f;
        f.conv.linkAnswer = 3;
        f.write("p.html", page);
        fixLinks(f.conv, f.rules, f.path("p.html"));
        QCOMPARE(f.read("p.html"), expected);
    }

    void tenMegabyteLine() {
        FixupFixture f;
        f.conv.linkAnswer = 3;
        const QByteArray filler(10 * 1024 * 1024, 'x');
        const QByteArray middle = "<a href=\"a.tex\"><img src=\"f.png\">\n";
        f.write("big.html", filler + middle + filler + "src=\"");
        fixImageSubdirectory(f.conv, f.rules, f.path("big.html"), "images", true);
        const QByteArray out = f.read("big.html");
        // The picture's line gets its link fixed in the same pass ("tex" -> "html").
        QCOMPARE(out.size(),
                 2 * filler.size() + middle.size() + qsizetype(strlen("images/src=\"")) + 1);
        QVERIFY(out.startsWith(filler));
        QVERIFY(out.contains("<a href=\"a.html\"><img src=\"images/f.png\">\n"));
        QVERIFY(out.endsWith("src=\""));
        fixLinks(f.conv, f.rules, f.path("big.html"));
        QCOMPARE(f.read("big.html"), out);
    }

    void imageSubdirectory() {
        FixupFixture f;
        f.write("out/fig.gif", "GIF89a");
        f.write("out/keep.txt", "text");
        f.write("out/p.html", "<p>\n<img src=\"fig.gif\" alt=\"fig\">\r\n"
                              "<IMG SRC=\"b.png\"><img src=\"http://x.org/c.png\">\n");
        fixImageSubdirectory(f.conv, f.rules, f.path("out/p.html"), "images", false);
        QCOMPARE(f.read("out/images/fig.gif"), QByteArray("GIF89a"));
        QVERIFY(!f.exists("out/fig.gif"));
        QVERIFY(f.exists("out/keep.txt"));
        QVERIFY(!f.exists("out/images/keep.txt"));
        // Addresses elsewhere are not pointed into the folder.
        QCOMPARE(f.read("out/p.html"),
                 QByteArray("<p>\n<img src=\"images/fig.gif\" alt=\"fig\">\r\n"
                            "<IMG SRC=\"images/b.png\"><img src=\"http://x.org/c.png\">\n"));
        f.ageFile("out/p.html");
        fixImageSubdirectory(f.conv, f.rules, f.path("out/p.html"), "images", false);
        QVERIFY(!f.wasRewritten("out/p.html"));
        QCOMPARE(f.read("out/images/fig.gif"), QByteArray("GIF89a"));
    }

    void imageSubdirectoryKeepsOriginalsAndFixesLinks() {
        FixupFixture f;
        f.conv.linkAnswer = 3;
        f.write("out/a.png", "PNG");
        f.write("out/A.GIF", "upper");
        f.write("out/p.html", "<img src=\"images/a.png\"><a href=\"x.tex\">\n"
                              "<img src=\"a.png\"><a href=\"y.tex\">\n"
                              "<img src=\"file:///tmp/z.png\"><a href=\"z.tex\">\n");
        fixImageSubdirectory(f.conv, f.rules, f.path("out/p.html"), "images", true);
        QVERIFY(f.exists("out/a.png"));
        QCOMPARE(f.read("out/images/a.png"), QByteArray("PNG"));
        // A picture whose name the page test would never match stays put.
        QVERIFY(f.exists("out/A.GIF"));
        QVERIFY(!f.exists("out/images/A.GIF"));
        // The link of a line whose picture moved is fixed in the same pass:
        // a second run must find nothing left to change.
        const QByteArray fixed("<img src=\"images/a.png\"><a href=\"x.html\">\n"
                               "<img src=\"images/a.png\"><a href=\"y.html\">\n"
                               "<img src=\"file:///tmp/z.png\"><a href=\"z.html\">\n");
        QCOMPARE(f.read("out/p.html"), fixed);
        fixImageSubdirectory(f.conv, f.rules, f.path("out/p.html"), "images", true);
        QCOMPARE(f.read("out/p.html"), fixed);
    }

    void picturesOfAFolderFollowItsChanges() {
        FixupFixture f;
        f.write("out/fig.gif", "one");
        for (const char* page : {"out/p1.html", "out/p2.html", "out/p3.html", "out/p4.html"})
            f.write(page, "<img src=\"fig.gif\">\n");
        fixImageSubdirectory(f.conv, f.rules, f.path("out/p1.html"), "images", true);
        QCOMPARE(f.read("out/images/fig.gif"), QByteArray("one"));

        // Rewritten in place (the folder's entries stay the same).
        {
            QFile original(f.path("out/fig.gif"));
            QVERIFY(original.open(QIODevice::WriteOnly | QIODevice::Truncate));
            original.write("second");
        }
        fixImageSubdirectory(f.conv, f.rules, f.path("out/p2.html"), "images", true);
        QCOMPARE(f.read("out/images/fig.gif"), QByteArray("second"));

        // A copy someone deleted (the page folder itself is unchanged).
        QVERIFY(QFile::remove(f.path("out/images/fig.gif")));
        fixImageSubdirectory(f.conv, f.rules, f.path("out/p3.html"), "images", true);
        QCOMPARE(f.read("out/images/fig.gif"), QByteArray("second"));

        // A new picture.
        f.write("out/new.png", "new");
        fixImageSubdirectory(f.conv, f.rules, f.path("out/p3.html"), "images", true);
        QCOMPARE(f.read("out/images/new.png"), QByteArray("new"));

        // Moving instead of keeping takes the originals away.
        fixImageSubdirectory(f.conv, f.rules, f.path("out/p4.html"), "images", false);
        QVERIFY(!f.exists("out/fig.gif"));
        QVERIFY(!f.exists("out/new.png"));
        QCOMPARE(f.read("out/images/new.png"), QByteArray("new"));
        QCOMPARE(f.read("out/p4.html"), QByteArray("<img src=\"images/fig.gif\">\n"));
    }

    void imageSubdirectoryRefusesUnsafeNames_data() {
        QTest::addColumn<QString>("subdir");
        QTest::newRow("empty") << "";
        QTest::newRow("dot") << ".";
        QTest::newRow("parent") << "../pics";
        QTest::newRow("inner parent") << "a/../../pics";
        QTest::newRow("absolute") << "/tmp/morvane-pics";
    }
    void imageSubdirectoryRefusesUnsafeNames() {
        QFETCH(QString, subdir);
        FixupFixture f;
        f.write("out/fig.gif", "GIF");
        f.write("out/p.html", "<img src=\"fig.gif\">\n");
        fixImageSubdirectory(f.conv, f.rules, f.path("out/p.html"), subdir, false);
        QCOMPARE(f.read("out/fig.gif"), QByteArray("GIF"));
        QCOMPARE(f.read("out/p.html"), QByteArray("<img src=\"fig.gif\">\n"));
        QVERIFY(!f.exists("pics"));
        QVERIFY(!QFileInfo::exists("/tmp/morvane-pics"));
    }

    void sourceImagesComeFromTheTexFolder() {
        FixupFixture f;
        f.write("My Docs/Paper/paper.tex", "x");
        f.write("My Docs/Paper/plot.png", "PLOT");
        f.write("My Docs/Paper/figs/in.jpg", "JPG");
        f.model.setText(ctl::cmbTeX, f.path("My Docs/Paper/paper.tex"));
        f.write("out/p.html", "<img src=\"plot.png\">\n<img src=\"figs/in.jpg\">\n");
        fixImageSubdirectory(f.conv, f.rules, f.path("out/p.html"), "images", true);
        QCOMPARE(f.read("out/images/plot.png"), QByteArray("PLOT"));
        QCOMPARE(f.read("out/images/figs/in.jpg"), QByteArray("JPG"));
        QCOMPARE(f.read("out/p.html"),
                 QByteArray("<img src=\"images/plot.png\">\n<img src=\"images/figs/in.jpg\">\n"));
    }

    void plainImagesAreCopiedAndThePageStays() {
        FixupFixture f;
        f.write("tex/doc.tex", "x");
        f.write("tex/a.gif", "A");
        f.write("tex/b.png", "B");
        f.model.setText(ctl::cmbTeX, f.path("tex/doc.tex"));
        const QByteArray page =
            "<img src=\"a.gif\">\n<img src=\"file:///x/b.png\">\n<img src=\"gone.png\">\n";
        f.write("out/p.html", page);
        f.ageFile("out/p.html");
        fixPlainImages(f.conv, f.path("out/p.html"), f.path("out"));
        QCOMPARE(f.read("out/a.gif"), QByteArray("A"));
        QVERIFY(!f.exists("out/b.png"));
        QVERIFY(!f.exists("out/gone.png"));
        QCOMPARE(f.read("out/p.html"), page);
        QVERIFY(!f.wasRewritten("out/p.html"));
    }

    void picturesOutsideTheFolderAreNotCopied_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("mustNotExist");
        QTest::newRow("parent") << "../outside.png"
                                << "out/outside.png";
        QTest::newRow("deep parent") << "a/../../outside.png"
                                     << "out/outside.png";
        QTest::newRow("absolute") << "@ROOT@/outside.png"
                                  << "out/images@ROOT@/outside.png";
    }
    void picturesOutsideTheFolderAreNotCopied() {
        QFETCH(QString, name);
        QFETCH(QString, mustNotExist);
        FixupFixture f;
        const QString root = f.dir.path();
        name.replace("@ROOT@", root);
        mustNotExist.replace("@ROOT@", root);
        f.write("tex/doc.tex", "x");
        f.write("tex/a/keep.png", "a");
        f.write("outside.png", "secret");
        f.model.setText(ctl::cmbTeX, f.path("tex/doc.tex"));
        const QByteArray line = "<img src=\"" + name.toUtf8() + "\">";
        copySourceImages(f.conv, QString::fromUtf8(line), f.path("out/images/"));
        QVERIFY(!f.exists(mustNotExist));
        QVERIFY(!f.exists("out"));
        QCOMPARE(f.read("outside.png"), QByteArray("secret"));
    }

    void sourceImageCopyNeedsAnImageLine() {
        FixupFixture f;
        f.write("tex/doc.tex", "x");
        f.write("tex/a.png", "A");
        f.model.setText(ctl::cmbTeX, f.path("tex/doc.tex"));
        copySourceImages(f.conv, QStringLiteral("<a href=\"a.png\">"), f.path("out/"));
        copySourceImages(f.conv, QStringLiteral("<img src=\"a.png"), f.path("out/"));
        QVERIFY(!f.exists("out/a.png"));
        f.model.setText(ctl::cmbTeX, QString());
        copySourceImages(f.conv, QStringLiteral("<img src=\"a.png\">"), f.path("out/"));
        QVERIFY(!f.exists("out/a.png"));
        f.model.setText(ctl::cmbTeX, f.path("tex/doc.tex"));
        copySourceImages(f.conv, QStringLiteral("<img src=\"a.png\">"), f.path("out/"));
        QCOMPARE(f.read("out/a.png"), QByteArray("A"));
        // Copying a picture onto itself leaves it whole.
        copySourceImages(f.conv, QStringLiteral("<img src=\"a.png\">"), f.path("tex"));
        QCOMPARE(f.read("tex/a.png"), QByteArray("A"));
    }

    void javaScript_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("script");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("openers pointed at the folder")
            << "doc-js.js" << QByteArray("a='<img src=\\\"x.png\\\">';b='src=\\\"y.png\\\"'\r\n")
            << QByteArray("a='<img src=\\\"images/x.png\\\">';b='src=\\\"images/y.png\\\"'\r\n");
        QTest::newRow("already pointed")
            << "doc-js.js" << QByteArray("src=\\\"images/x.png\\\" src=\\\"y.png\\\"")
            << QByteArray("src=\\\"images/x.png\\\" src=\\\"y.png\\\"");
        QTest::newRow("already pointed, escaped slash")
            << "doc-js.js" << QByteArray("src=\\\"images\\/x.png\\\" src=\\\"y.png\\\"")
            << QByteArray("src=\\\"images\\/x.png\\\" src=\\\"y.png\\\"");
        QTest::newRow("other script")
            << "doc.js" << QByteArray("src=\\\"x.png\\\"") << QByteArray("src=\\\"x.png\\\"");
    }
    void javaScript() {
        QFETCH(QString, name);
        QFETCH(QByteArray, script);
        QFETCH(QByteArray, expected);
        FixupFixture f;
        f.write(name, script);
        fixJavaScript(f.path(name), "images");
        QCOMPARE(f.read(name), expected);
        fixJavaScript(f.path(name), "images");
        QCOMPARE(f.read(name), expected);
    }
};

MORVANE_TEST_MAIN(TestHtmlFixups)
#include "tst_htmlfixups.moc"
