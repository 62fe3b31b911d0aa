#include "pipeline/appcontext.h"
#include "settings/controlnames.h"
#include "settings/filehistory.h"
#include "support/testhome.h"
#include "support/testmain.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace morvane;

namespace {

QStringList numbered(int count, const QString& prefix = "/d/f") {
    QStringList list;
    for (int i = 0; i < count; ++i)
        list.append(prefix + QString::number(i) + ".tex");
    return list;
}

} // namespace

class TestFileHistory : public QObject {
    Q_OBJECT
private slots:
    void remember_data() {
        QTest::addColumn<QStringList>("before");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("after");
        QTest::newRow("first file") << QStringList{} << "/d/a.tex" << QStringList{"/d/a.tex"};
        QTest::newRow("same file again stays once, on top")
            << QStringList{"/d/b.tex", "/d/a.tex"} << "/d/a.tex"
            << QStringList{"/d/a.tex", "/d/b.tex"};
        QTest::newRow("other spelling is another file")
            << QStringList{"/d/a.tex"} << "/d/A.tex" << QStringList{"/d/A.tex", "/d/a.tex"};
        QTest::newRow("eleventh file pushes out the oldest")
            << numbered(10) << "/d/new.tex" << QStringList{"/d/new.tex"} + numbered(9);
        QStringList reordered = numbered(10);
        reordered.move(7, 0);
        QTest::newRow("listed file in a full history loses nothing")
            << numbered(10) << "/d/f7.tex" << reordered;
        QTest::newRow("long loaded history is cut to ten")
            << numbered(14) << "/d/new.tex" << QStringList{"/d/new.tex"} + numbered(9);
        QTest::newRow("duplicates from the file are merged")
            << QStringList{"/d/a.tex", "/d/b.tex", "/d/a.tex"} << "/d/a.tex"
            << QStringList{"/d/a.tex", "/d/b.tex"};
        QTest::newRow("empty text changes nothing")
            << QStringList{"/d/a.tex"} << "" << QStringList{"/d/a.tex"};
    }
    void remember() {
        QFETCH(QStringList, before);
        QFETCH(QString, text);
        QFETCH(QStringList, after);
        OptionsModel model;
        AppContext ctx;
        ctx.model = &model;
        model.setItems(ctl::cmbTeX, before);
        model.setText(ctl::cmbTeX, text);
        rememberFile(*ctx.model);
        QCOMPARE(model.items(ctl::cmbTeX), after);
        QCOMPARE(model.text(ctl::cmbTeX), text);
    }

    void load() {
        QTemporaryDir dir;
        QFile f(dir.filePath("FileList.txt"));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(";This is the file list of tex files that have been converted\r\n"
                ";You can delete this file if you wish\r\n"
                "/home/u/Paper.tex\r\n"
                "C:\\docs\\old.tex\r\n"
                "relative/a.tex\n"
                ";/commented/out.tex\n"
                "\n"
                "/home/u/my paper.tex\n"
                "//server/share/b.tex\n"
                "/home/u/last.tex");
        f.close();
        QCOMPARE(loadFileHistory(dir.path()),
                 (QStringList{"/home/u/Paper.tex", "/home/u/my paper.tex", "//server/share/b.tex",
                              "/home/u/last.tex"}));
        QTemporaryDir empty;
        QVERIFY(loadFileHistory(empty.path()).isEmpty());
    }

    void damagedOrHugeFile() {
        QTemporaryDir dir;
        const char damaged[] = "/d/bin\x01ary.tex\n/d/nul\0.tex\n\xff\xfe/x\n/d/a.tex\n/d/a.tex\n";
        QByteArray content(damaged, sizeof(damaged) - 1);
        for (int i = 0; i < 100000; ++i)
            content += "/d/f" + QByteArray::number(i) + ".tex\n";
        QFile f(dir.filePath("FileList.txt"));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(content);
        f.close();
        // Ten entries at most, each once, none with control characters.
        QCOMPARE(loadFileHistory(dir.path()), QStringList{"/d/a.tex"} + numbered(9));
    }

    void save() {
        QTemporaryDir dir;
        const QStringList history{"/home/u/Paper.tex", "/home/u/two\nlines.tex", "/home/u/é b.tex"};
        QVERIFY(saveFileHistory(dir.path(), history));
        QCOMPARE(test::readAll(dir.filePath("FileList.txt")),
                 QByteArray(";This is the file list of tex files that have been converted\n"
                            ";You can delete this file if you wish\n"
                            "/home/u/Paper.tex\n") +
                     QString("/home/u/é b.tex\n").toUtf8());
        // A name with a line break cannot come back as a bogus entry.
        QCOMPARE(loadFileHistory(dir.path()),
                 (QStringList{"/home/u/Paper.tex", "/home/u/é b.tex"}));
        QVERIFY(saveFileHistory(dir.path(), {}));
        QVERIFY(loadFileHistory(dir.path()).isEmpty());
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"FileList.txt"});
        QVERIFY(!saveFileHistory(dir.filePath("missing"), history));
    }
};

MORVANE_TEST_GUILESS_MAIN(TestFileHistory)
#include "tst_filehistory.moc"
