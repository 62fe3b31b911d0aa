// Comparing the routes on real documents, and converting many documents
// side by side, with the real converters.

#include "drivers/conversionrig.h"
#include "support/testmain.h"

#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStandardPaths>

using namespace morvane;
using namespace morvane::test;

namespace {

// Runs the built program with its own program directory and a home folder
// of the test's, in `workingDir`.
BatchRun runProgram(const QString& program, const TestHome& home, const QString& userHome,
                    const QString& workingDir, const QStringList& args,
                    const QString& pathInFront = {}) {
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("MORVANE_HOME", home.path());
    env.insert("HOME", userHome);
    if (!pathInFront.isEmpty())
        env.insert("PATH", pathInFront + ':' + env.value("PATH"));
    process.setProcessEnvironment(env);
    process.setWorkingDirectory(workingDir);
    process.start(program, args);
    BatchRun run;
    if (!process.waitForFinished(600000))
        return run;
    run.status = process.exitCode();
    run.out = process.readAllStandardOutput();
    run.err = process.readAllStandardError();
    return run;
}

BatchRun runMorvane(const TestHome& home, const QString& userHome, const QString& workingDir,
                    const QStringList& args, const QString& pathInFront = {}) {
    return runProgram(MORVANE_BUILD_PROGRAM_DIR "/morvane", home, userHome, workingDir, args,
                      pathInFront);
}

QJsonObject comparisonReport(const QString& userHome) {
    const QStringList folders =
        QDir(userHome).entryList({"*-compare"}, QDir::Dirs | QDir::NoDotAndDotDot);
    return folders.size() == 1
               ? QJsonDocument::fromJson(readAll(userHome + '/' + folders[0] + "/compare.json"))
                     .object()
               : QJsonObject();
}

// The web routes the test machine has, as the comparison names them.
QStringList installedWebRoutes() {
    QStringList captions;
    const auto has = [](const char* program) {
        return !QStandardPaths::findExecutable(program).isEmpty();
    };
    if (has("hevea"))
        captions << "HeVeA";
    if (has("tth"))
        captions << "TtH";
    if (has("tex4ht"))
        captions << "TeX4ht";
    if (has("tex4ht") && has("make4ht"))
        captions << "make4ht (MathML)";
    if (has("latex2html"))
        captions << "LaTeX2HTML";
    if (has("latexmlc"))
        captions << "LaTeXML";
    if (has("pandoc"))
        captions << "Pandoc";
    return captions;
}

int countIn(const QString& dir, const QString& pattern, const QByteArray& what) {
    int count = 0;
    for (const QString& page : filesNamed(dir, pattern))
        count += int(readAll(page).count(what));
    return count;
}

bool hasInk(const QImage& image) {
    for (int y = 0; y < image.height(); y += 4)
        for (int x = 0; x < image.width(); x += 4)
            if (qGray(image.pixel(x, y)) < 128)
                return true;
    return false;
}

} // namespace

class TestCompareE2e : public QObject {
    Q_OBJECT

private slots:
    void everyRouteOnRealDocuments_data() {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("file");
        // LaTeXML takes about a minute on the amsmath displays and more than
        // ten on the thesis: a limit keeps the test short, and a route that
        // reaches it is a failed row like any other.
        QTest::addColumn<QString>("timeout");
        QTest::newRow("sample2e") << QString() << "sample2e.tex"
                                  << "600";
        QTest::newRow("a thesis") << "thesis-kks32"
                                  << "main.tex"
                                  << "45";
        QTest::newRow("amsmath displays") << "amsmath-testmath"
                                          << "main.tex"
                                          << "150";
    }
    void everyRouteOnRealDocuments() {
        QFETCH(QString, folder);
        QFETCH(QString, file);
        QFETCH(QString, timeout);
        QTemporaryDir dir;
        const QString work = dir.filePath("doc");
        if (folder.isEmpty()) {
            QDir().mkpath(work);
            QVERIFY(QFile::copy(sample2e(), work + '/' + file));
        } else {
            QVERIFY(copyTree(corpus(folder), work));
        }
        const auto before = filesBelow(work, "");
        const qsizetype entriesBefore = filesNamed(work, "*").size();
        TestHome home;
        QDir().mkpath(dir.filePath("home"));
        const BatchRun run = runMorvane(home, dir.filePath("home"), work,
                                        {"--compare", "--jobs=2", "--timeout=" + timeout, file});
        QVERIFY2(run.status == 0, run.err.constData());
        // The user's folder is as it was: the same files, nothing added.
        QCOMPARE(filesBelow(work, ""), before);
        QCOMPARE(filesNamed(work, "*").size(), entriesBefore);

        const QJsonObject report = comparisonReport(dir.filePath("home"));
        QStringList captions;
        for (const QJsonValue& value : report["routes"].toArray()) {
            const QJsonObject route = value.toObject();
            captions << route["caption"].toString();
            if (!route["produced"].toBool())
                continue;
            // The measures are the pages' own.
            const QString pages = QFileInfo(route["result"].toString()).absolutePath();
            QCOMPARE(route["mathml"].toInt(), countIn(pages, "*.htm*", "<math"));
            const double coverage = route["text_coverage"].toDouble();
            QVERIFY(coverage > 0 && coverage <= 1);
            const QImage thumbnail(route["thumbnail"].toString());
            QVERIFY2(!thumbnail.isNull() && hasInk(thumbnail),
                     qPrintable(route["caption"].toString()));
        }
        QCOMPARE(captions, installedWebRoutes());
        QVERIFY(!report["recommended"].toString().isEmpty());
        // The recommended route keeps most of the text.
        for (const QJsonValue& value : report["routes"].toArray())
            if (value["caption"] == report["recommended"])
                QVERIFY(value["text_coverage"].toDouble() > 0.8);
        QVERIFY(run.out.contains("Recommended: " + report["recommended"].toString().toUtf8()));
    }

    // A converter that fails is a row that says so, not a missing row.
    void aFailingRouteShowsAsFailed() {
        QTemporaryDir dir;
        const QString work = dir.filePath("doc");
        QDir().mkpath(work);
        QVERIFY(QFile::copy(sample2e(), work + "/sample2e.tex"));
        QDir().mkpath(dir.filePath("bin"));
        writeProgram(dir.filePath("bin/tth"), "#!/bin/sh\necho 'tth: broken' >&2\nexit 1\n");
        TestHome home;
        setIniKey(home.path() + "/Morvane.ini", "Tth", dir.filePath("bin"));
        QDir().mkpath(dir.filePath("home"));
        const BatchRun run =
            runMorvane(home, dir.filePath("home"), work, {"--compare", "sample2e.tex"});
        QCOMPARE(run.status, 0); // the other routes gave pages
        const QJsonArray routes = comparisonReport(dir.filePath("home"))["routes"].toArray();
        bool seen = false;
        for (const QJsonValue& value : routes) {
            const QJsonObject route = value.toObject();
            if (route["caption"].toString() != "TtH")
                continue;
            seen = true;
            QVERIFY(!route["produced"].toBool());
            QCOMPARE(route["status"].toInt(), 2);
        }
        QVERIFY(seen);
        QVERIFY(QString::fromUtf8(run.out).contains(QRegularExpression("\\nTtH +failed ")));
    }

    // Twenty documents two at a time give what one at a time gives, and
    // --report=json a line for each.
    void jobsGiveTheSameResults() {
        QTemporaryDir one;
        QTemporaryDir two;
        QStringList files;
        for (int i = 1; i <= 20; ++i) {
            files << QStringLiteral("doc%1.tex").arg(i);
            QVERIFY(QFile::copy(sample2e(), one.filePath(files.last())));
            QVERIFY(QFile::copy(sample2e(), two.filePath(files.last())));
        }
        TestHome home;
        const BatchRun serial =
            runMorvane(home, one.path(), one.path(), QStringList{"--convert=tth"} + files);
        const BatchRun parallel =
            runMorvane(home, two.path(), two.path(),
                       QStringList{"--convert=tth", "--jobs=2", "--report=json"} + files);
        QCOMPARE(parallel.status, serial.status);
        QStringList reported;
        for (const QByteArray& line : parallel.out.split('\n')) {
            if (line.isEmpty())
                continue;
            const QJsonObject entry = QJsonDocument::fromJson(line).object();
            QCOMPARE(entry["status"].toInt(), 0);
            QCOMPARE(entry["route"].toString(), QString("tth"));
            reported << entry["file"].toString();
        }
        reported.sort();
        QStringList expected = files;
        expected.sort();
        QCOMPARE(reported, expected);
        for (const QString& file : files) {
            const QString page = QFileInfo(file).completeBaseName() + ".htm";
            QCOMPARE(readAll(two.filePath(page)), readAll(one.filePath(page)));
        }
        QVERIFY(parallel.err.contains("doc7.tex: "));
    }

    // The README's example of spreading a collection with GNU parallel.
    void gnuParallelExample() {
        if (QStandardPaths::findExecutable("parallel").isEmpty())
            QSKIP("GNU parallel is not installed");
        QTemporaryDir dir;
        for (const char* name : {"a.tex", "b.tex", "c.tex"})
            QVERIFY(QFile::copy(sample2e(), dir.filePath(name)));
        TestHome home;
        const BatchRun run =
            runProgram("/bin/sh", home, dir.path(), dir.path(),
                       {"-c", "ls *.tex | parallel --will-cite --jobs 2 morvane --convert=tth "
                              "--report=json {} > report.jsonl"},
                       MORVANE_BUILD_PROGRAM_DIR);
        // parallel's status is the number of documents that failed.
        QCOMPARE(run.status, 0);
        const QList<QByteArray> lines = readAll(dir.filePath("report.jsonl")).trimmed().split('\n');
        QCOMPARE(lines.size(), 3);
        for (const QByteArray& line : lines)
            QCOMPARE(QJsonDocument::fromJson(line).object()["status"].toInt(-1), 0);
    }
};

MORVANE_TEST_MAIN(TestCompareE2e)
#include "tst_compare_e2e.moc"
