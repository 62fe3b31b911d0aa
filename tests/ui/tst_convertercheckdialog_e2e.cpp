// The Help tab's "Check Converters": the button opens the table, which the
// real converters fill with one row per route; the main window's error list
// shows what a conversion's log holds.

#include "app/optionhandlers.h"
#include "pipeline/appcontext.h"
#include "settings/optionsmodel.h"
#include "support/doubles.h"
#include "support/testhome.h"
#include "support/testmain.h"
#include "ui/convertercheckdialog.h"
#include "ui/mainwindow.h"

#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

using namespace morvane;

class TestConverterCheckDialogE2e : public QObject {
    Q_OBJECT

private slots:
    void tableHasEveryRoute() {
        test::TestHome home;
        ConverterCheckDialog dialog;
        dialog.runCheck();
        auto* table = dialog.findChild<QTableWidget*>("tblChecks");
        QCOMPARE(table->rowCount(), int(builtInRoutes().size()));
        for (int row = 0; row < table->rowCount(); ++row)
            QCOMPARE(table->item(row, 1)->text(), QString("works"));
        QCOMPARE(table->item(2, 0)->text(), QString("TeX4ht"));
        QCOMPARE(dialog.findChild<QLabel*>("lblCheckStatus")->text(),
                 QString("%1 of %1 routes work.").arg(builtInRoutes().size()));
        QVERIFY(dialog.findChild<QPushButton*>("cmdCheckClose")->isEnabled());
    }

    void mainWindowWiring() {
        test::TestHome home;
        OptionsModel model;
        ScriptedPrompter prompter;
        RecordingShell shell;
        AppContext ctx;
        ctx.programDir = home.path();
        ctx.model = &model;
        ctx.seams.prompter = &prompter;
        ctx.seams.shell = &shell;
        connectOptionHandlers(ctx);
        MainWindow window(ctx);
        window.show();

        auto* list = window.findChild<QTreeWidget*>("lstErrors");
        auto* count = window.findChild<QLabel*>("lblErrorCount");
        QVERIFY(list && count);
        QVERIFY(!list->isVisible());
        QVERIFY(ctx.seams.showLogEntries);
        ctx.seams.showLogEntries({{LogEntry::Severity::Error, "/doc/a.tex", 3, "Missing $."}});
        QVERIFY(list->isVisible());
        QCOMPARE(list->topLevelItemCount(), 1);
        QCOMPARE(count->text(), QString("1 error"));

        // The Help tab's button opens the check's table.
        // It runs the check, then waits for the user: close it once it waits.
        bool finished = false;
        QTimer poll;
        connect(&poll, &QTimer::timeout, [&] {
            auto* dialog = window.findChild<ConverterCheckDialog*>();
            if (dialog && dialog->windowModality() == Qt::ApplicationModal &&
                dialog->findChild<QPushButton*>("cmdCheckClose")->isEnabled()) {
                finished = dialog->findChild<QTableWidget*>("tblChecks")->rowCount() ==
                           int(builtInRoutes().size());
                dialog->reject();
            }
        });
        poll.start(100);
        auto* button = window.widgetNamed<QPushButton>("cmdCheck");
        QVERIFY(button);
        button->click();
        QVERIFY(finished);
    }
};

MORVANE_TEST_MAIN(TestConverterCheckDialogE2e)
#include "tst_convertercheckdialog_e2e.moc"
