#include "platform/programdir.h"
#include "platform/prompter.h"
#include "support/doubles.h"
#include "support/testhome.h"
#include "support/testmain.h"
#include "ui/qtprompter.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFile>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

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

    // The message box shows the prompt as asked, and the button pressed (or
    // Escape, -1) comes back as the matching answer.
    void qtPrompterShowsThePrompt_data() {
        QTest::addColumn<int>("buttons");
        QTest::addColumn<int>("icon");
        QTest::addColumn<int>("defaultButton");
        QTest::addColumn<int>("press"); // a QMessageBox::StandardButton, or -1 for Escape
        QTest::addColumn<int>("answer");
        QTest::newRow("OK message") << int(Buttons::Ok) << int(Icon::Exclamation) << int(Answer::Ok)
                                    << int(QMessageBox::Ok) << int(Answer::Ok);
        QTest::newRow("yes/no, No default, Yes pressed")
            << int(Buttons::YesNo) << int(Icon::Question) << int(Answer::No)
            << int(QMessageBox::Yes) << int(Answer::Yes);
        QTest::newRow("yes/no, Escape is No") << int(Buttons::YesNo) << int(Icon::Exclamation)
                                              << int(Answer::Yes) << -1 << int(Answer::No);
        QTest::newRow("yes/no/cancel, No pressed")
            << int(Buttons::YesNoCancel) << int(Icon::Exclamation) << int(Answer::Yes)
            << int(QMessageBox::No) << int(Answer::No);
        QTest::newRow("yes/no/cancel, Escape is Cancel")
            << int(Buttons::YesNoCancel) << int(Icon::Exclamation) << int(Answer::Yes) << -1
            << int(Answer::Cancel);
        QTest::newRow("OK/cancel, Cancel pressed")
            << int(Buttons::OkCancel) << int(Icon::Exclamation) << int(Answer::Ok)
            << int(QMessageBox::Cancel) << int(Answer::Cancel);
        QTest::newRow("retry/cancel, Retry pressed")
            << int(Buttons::RetryCancel) << int(Icon::Critical) << int(Answer::Retry)
            << int(QMessageBox::Retry) << int(Answer::Retry);
    }
    void qtPrompterShowsThePrompt() {
        QFETCH(int, buttons);
        QFETCH(int, icon);
        QFETCH(int, defaultButton);
        QFETCH(int, press);
        QFETCH(int, answer);
        const Prompt prompt{"Line one\nline two", "Some Title", Buttons(buttons), Icon(icon),
                            Answer(defaultButton)};
        const QMap<int, QMessageBox::StandardButton> qtButton{
            {int(Answer::Ok), QMessageBox::Ok},
            {int(Answer::Cancel), QMessageBox::Cancel},
            {int(Answer::Yes), QMessageBox::Yes},
            {int(Answer::No), QMessageBox::No},
            {int(Answer::Retry), QMessageBox::Retry}};
        const QMap<int, QMessageBox::Icon> qtIcon{{int(Icon::Critical), QMessageBox::Critical},
                                                  {int(Icon::Question), QMessageBox::Question},
                                                  {int(Icon::Exclamation), QMessageBox::Warning}};

        QString text, title;
        QMessageBox::Icon shownIcon = QMessageBox::NoIcon;
        QMessageBox::StandardButtons shownButtons;
        QMessageBox::StandardButton shownDefault = QMessageBox::NoButton;
        bool seen = false;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box)
                return;
            seen = true;
            text = box->text();
            title = box->windowTitle();
            shownIcon = box->icon();
            shownButtons = box->standardButtons();
            shownDefault = box->standardButton(box->defaultButton());
            if (press < 0)
                QTest::keyClick(box, Qt::Key_Escape);
            else
                box->button(QMessageBox::StandardButton(press))->click();
        });
        QtPrompter prompter;
        const Answer got = prompter.ask(prompt);

        QVERIFY(seen);
        QCOMPARE(text, prompt.text);
        QCOMPARE(title, prompt.title);
        QCOMPARE(shownIcon, qtIcon.value(icon));
        QCOMPARE(shownDefault, qtButton.value(defaultButton));
        QVERIFY(shownButtons.testFlag(qtButton.value(int(firstButton(Buttons(buttons))))));
        QCOMPARE(int(got), answer);
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

MORVANE_TEST_MAIN(TestPrompter)
#include "tst_prompter.moc"
