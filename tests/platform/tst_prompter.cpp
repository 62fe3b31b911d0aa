#include "platform/programdir.h"
#include "platform/prompter.h"
#include "support/testhome.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace morvane;

class TestPrompter : public QObject {
    Q_OBJECT
private slots:
    void scriptedAnswersInOrderThenDefault() {
        ScriptedPrompter prompter;
        prompter.queueAnswer(Answer::No);
        QCOMPARE(prompter.ask("q1", "T", Buttons::YesNo, Icon::Question), Answer::No);
        QCOMPARE(prompter.ask("q2", "T", Buttons::YesNo, Icon::Question, Answer::No), Answer::No);
        QCOMPARE(prompter.ask("q3", "T", Buttons::OkCancel, Icon::Exclamation), Answer::Ok);
        QCOMPARE(prompter.prompts().size(), 3);
        QCOMPARE(prompter.prompts().at(1).defaultButton, Answer::No);
        QCOMPARE(prompter.prompts().at(2).icon, Icon::Exclamation);
    }

    void programDirectoryOrder() {
        QTemporaryDir home, exe, config, defaults;
        QFile ini(defaults.filePath("Morvane.ini"));
        QVERIFY(ini.open(QIODevice::WriteOnly));
        ini.write("[Paths]\n");
        ini.close();

        ProgramDirectoryInputs in{home.path(), exe.path(), config.path(), defaults.path()};
        QCOMPARE(resolveProgramDirectory(in), home.path());

        in.morvaneHome.clear();
        // The executable's directory counts only when it holds Morvane.ini.
        const QString seeded = resolveProgramDirectory(in);
        QCOMPARE(seeded, config.path() + "/morvane");
        QVERIFY(QFile::exists(seeded + "/Morvane.ini"));

        QFile exeIni(exe.filePath("Morvane.ini"));
        QVERIFY(exeIni.open(QIODevice::WriteOnly));
        exeIni.close();
        QCOMPARE(resolveProgramDirectory(in), exe.path());
    }

    void seedingNeverOverwrites() {
        QTemporaryDir dir, defaults;
        QFile a(defaults.filePath("a.txt"));
        QVERIFY(a.open(QIODevice::WriteOnly));
        a.write("shipped");
        a.close();
        QFile mine(dir.filePath("a.txt"));
        QVERIFY(mine.open(QIODevice::WriteOnly));
        mine.write("mine");
        mine.close();
        seedProgramDirectory(dir.path(), defaults.path());
        QCOMPARE(test::readAll(dir.filePath("a.txt")), QByteArray("mine"));
    }
};

QTEST_GUILESS_MAIN(TestPrompter)
#include "tst_prompter.moc"
