#include "pipeline/appcontext.h"
#include "settings/optionsmodel.h"
#include "support/testmain.h"
#include "ui/changelinkdialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using namespace morvane;

namespace {

// Answers the next modal dialog: ticks the all-box when asked, then clicks
// the named button. Records what the dialog showed.
struct DialogAnswer {
    QString button;
    bool all = false;
    QString title;
    QString message;
    QString boxCaption;

    void arm() {
        QTimer::singleShot(0, [this] {
            QWidget* dialog = QApplication::activeModalWidget();
            if (!dialog)
                return;
            title = dialog->windowTitle();
            message = dialog->findChild<QLabel*>("lblMessage")->text();
            auto* box = dialog->findChild<QCheckBox*>("chkAll");
            boxCaption = box->text();
            box->setChecked(all);
            dialog->findChild<QPushButton*>(button)->click();
        });
    }
};

} // namespace

class TestChangeLinkDialog : public QObject {
    Q_OBJECT
private slots:
    void controls() {
        ChangeLinkDialog dialog;
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Change Link Filename"));
        QCOMPARE(dialog.findChild<QCheckBox*>("chkAll")->text(),
                 QStringLiteral("&Treat all links after this one in the same way"));
        QCOMPARE(dialog.findChild<QPushButton*>("cmdYes")->text(), QStringLiteral("&Yes"));
        QCOMPARE(dialog.findChild<QPushButton*>("cmdNo")->text(), QStringLiteral("&No"));
        QVERIFY(dialog.findChild<QPushButton*>("cmdYes")->isDefault());
        QVERIFY(!dialog.findChild<QCheckBox*>("chkAll")->isChecked());
    }

    void answers_data() {
        QTest::addColumn<QString>("button");
        QTest::addColumn<bool>("all");
        QTest::addColumn<int>("state");
        QTest::newRow("yes") << "cmdYes" << false << 1;
        QTest::newRow("no") << "cmdNo" << false << 2;
        QTest::newRow("yes to all") << "cmdYes" << true << 3;
        QTest::newRow("no to all") << "cmdNo" << true << 4;
    }
    void answers() {
        QFETCH(QString, button);
        QFETCH(bool, all);
        QFETCH(int, state);
        DialogLinkQuestion question;
        DialogAnswer answer{button, all};
        answer.arm();
        QCOMPARE(question.ask(QStringLiteral("Link to a.tex found in p.html.\n\nDo you wish?")),
                 state);
        QCOMPARE(answer.title, QStringLiteral("Change Link Filename"));
        QCOMPARE(answer.message, QStringLiteral("Link to a.tex found in p.html.\n\nDo you wish?"));
    }

    void closingCountsAsNo() {
        QTimer::singleShot(0, [] {
            if (QWidget* dialog = QApplication::activeModalWidget())
                dialog->close();
        });
        QCOMPARE(DialogLinkQuestion().ask(QStringLiteral("q")), 2);
    }
};

MORVANE_TEST_MAIN(TestChangeLinkDialog)
#include "tst_changelinkdialog.moc"
