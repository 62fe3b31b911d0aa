// Conversions started at the same time from one program directory: each run
// must execute the settings block written for it, although the next run
// rewrites the shared batch driver at once, and read the LaTeX2HTML init
// file written for it, although the next run rewrites the shared one.

#include "support/testhome.h"
#include "support/testmain.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <QTest>
#include <memory>
#include <vector>

using namespace morvane::test;

class TestSimultaneousRuns : public QObject {
    Q_OBJECT
private slots:
    void mixedRoutesGetTheirOwnSettings() {
        TestHome home;
        QTemporaryDir work;
        constexpr int kPairs = 100;
        constexpr int kWave = 25; // pairs running at once
        const QByteArray document = "\\documentclass{article}\\begin{document}Hello $x^2$."
                                    "\\end{document}\n";
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("MORVANE_HOME", home.path());
        env.remove("DISPLAY");
        // The private copies go to a temporary folder of this test's own.
        const QString temp = work.filePath("tmp");
        QVERIFY(QDir().mkpath(temp));
        env.insert("TMPDIR", temp);
        int wrong = 0;
        QString unmade; // which pages, and what their logs end with
        for (int first = 0; first < kPairs; first += kWave) {
            std::vector<std::unique_ptr<QProcess>> runs;
            for (int pair = first; pair < first + kWave; ++pair) {
                for (const char* route : {"hevea", "tth"}) {
                    const QString dir = work.filePath(QString("%1-%2").arg(route).arg(pair));
                    QVERIFY(QDir().mkpath(dir));
                    QFile tex(dir + "/doc.tex");
                    QVERIFY(tex.open(QIODevice::WriteOnly));
                    tex.write(document);
                    tex.close();
                    auto process = std::make_unique<QProcess>();
                    process->setProcessEnvironment(env);
                    process->setWorkingDirectory(dir);
                    process->setStandardOutputFile(QProcess::nullDevice());
                    process->setStandardErrorFile(QProcess::nullDevice());
                    process->start(MORVANE_BUILD_PROGRAM_DIR "/morvane",
                                   {QString("--convert=") + route, "doc.tex"});
                    runs.push_back(std::move(process));
                }
            }
            for (const auto& process : runs)
                QVERIFY(process->waitForFinished(300000));
            for (int pair = first; pair < first + kWave; ++pair) {
                // The other route's options would leave this route's page unmade.
                for (const char* page : {"hevea-%1/doc.html", "tth-%1/doc.htm"}) {
                    const QString path = work.filePath(QString(page).arg(pair));
                    if (QFileInfo(path).size() > 0)
                        continue;
                    ++wrong;
                    const QString log =
                        QFileInfo(path).path() +
                        (QString(page).startsWith("hevea") ? "/doc.hlog" : "/doc.tlog");
                    unmade += path + ":\n" + QString::fromUtf8(readAll(log).right(300)) + '\n';
                }
            }
        }
        QVERIFY2(wrong == 0, qPrintable(unmade));
        // The private copies are gone; the shared script shows a block as usual.
        QVERIFY(QDir(temp).entryList(QDir::Files).isEmpty());
        QVERIFY(readAll(home.file("convert.sh")).contains("set cmdline="));
    }

    void latex2htmlRunsKeepTheirOwnOutputFolder() {
        TestHome home;
        QTemporaryDir work;
        QFile ini(home.file("Morvane.ini"));
        QVERIFY(ini.open(QIODevice::ReadOnly));
        QByteArray text = ini.readAll();
        ini.close();
        text.replace("\nSaveTo=\n", "\nSaveTo=" + work.filePath("out").toUtf8() + "\n");
        QVERIFY(ini.open(QIODevice::WriteOnly | QIODevice::Truncate));
        ini.write(text);
        ini.close();
        QVERIFY(QDir().mkpath(work.filePath("out")));
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("MORVANE_HOME", home.path());
        env.remove("DISPLAY");
        std::vector<std::unique_ptr<QProcess>> runs;
        for (int n = 0; n < 6; ++n) {
            const QString name = QString("doc%1").arg(n);
            QFile tex(work.filePath(name + ".tex"));
            QVERIFY(tex.open(QIODevice::WriteOnly));
            tex.write(
                QString("\\documentclass{article}\\begin{document}Text of %1.\\end{document}\n")
                    .arg(name)
                    .toUtf8());
            tex.close();
            auto process = std::make_unique<QProcess>();
            process->setProcessEnvironment(env);
            process->setWorkingDirectory(work.path());
            process->setStandardOutputFile(QProcess::nullDevice());
            process->setStandardErrorFile(QProcess::nullDevice());
            process->start(MORVANE_BUILD_PROGRAM_DIR "/morvane",
                           {"--convert=latex2html", name + ".tex"});
            runs.push_back(std::move(process));
        }
        for (const auto& process : runs)
            QVERIFY(process->waitForFinished(300000));
        for (int n = 0; n < 6; ++n) {
            const QString name = QString("doc%1").arg(n);
            QVERIFY2(readAll(work.filePath("out/" + name + "/index.html"))
                         .contains(("Text of " + name).toUtf8()),
                     qPrintable(name));
        }
    }
};

MORVANE_TEST_GUILESS_MAIN(TestSimultaneousRuns)
#include "tst_simultaneousruns_e2e.moc"
