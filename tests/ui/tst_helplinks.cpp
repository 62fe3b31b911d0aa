// The Help tab's links: opening, changing with the right button, and the
// changed addresses coming back after a restart.

#include "app/optionhandlers.h"
#include "pipeline/appcontext.h"
#include "settings/helplinks.h"
#include "settings/inisync.h"
#include "settings/optionsmodel.h"
#include "settings/profilefile.h"
#include "support/controlbyname.h"
#include "support/doubles.h"
#include "support/testhome.h"
#include "support/testmain.h"
#include "ui/linklabels.h"
#include "ui/mainwindow.h"

#include <QLabel>
#include <QMouseEvent>
#include <QTest>
#include <memory>

using namespace morvane;

namespace {

struct Fixture {
    test::TestHome home{false};
    OptionsModel model;
    ScriptedPrompter prompter;
    RecordingShell shell;
    AppContext ctx;
    std::unique_ptr<MainWindow> window;
    LinkLabels* links = nullptr;
    QStringList asked; // prompt, title and current address of each question
    QString answer;

    Fixture() {
        ctx.programDir = home.path();
        ctx.model = &model;
        ctx.seams.prompter = &prompter;
        ctx.seams.shell = &shell;
        ctx.settings.vars.upgradeNoticeShown = true;
        home.write("Morvane.ini", "[Preferences]\nSavePrefs=No\n");
        setDefaultLinks(model);
        connectOptionHandlers(ctx);
        window = std::make_unique<MainWindow>(ctx);
        links = window->findChild<LinkLabels*>();
        links->askText = [this](const QString& prompt, const QString& title,
                                const QString& current) {
            asked << prompt << title << current;
            return answer;
        };
    }
    QLabel* label(const QString& name) const { return window->widgetNamed<QLabel>(name); }
    void click(const QString& name, Qt::MouseButton button) const {
        QMouseEvent release(QEvent::MouseButtonRelease, QPointF(2, 2), QPointF(2, 2), button,
                            Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(label(name), &release);
    }
    QString stored(const QString& key) const {
        return ProfileFile::load(home.file("Morvane.ini")).read("Links", key, "(none)");
    }
};

} // namespace

class TestHelpLinks : public QObject {
    Q_OBJECT
private slots:
    void rightClickChangesLinkNowAndAfterRestart_data() {
        QTest::addColumn<QString>("label");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("key");
        QTest::newRow("TeX4ht for SWP") << "Label22"
                                        << "TeX4ht for SWP"
                                        << "link(4,0)";
        QTest::newRow("PDF tab link, entry 0") << "Label34"
                                               << "Automating PDF production from SWP"
                                               << "link(0,0)";
        QTest::newRow("LaTeX2HTML installation, last entry") << "Label31"
                                                             << "Installation with MiKTeX"
                                                             << "link(5,0)";
    }
    void rightClickChangesLinkNowAndAfterRestart() {
        QFETCH(QString, label);
        QFETCH(QString, caption);
        QFETCH(QString, key);
        Fixture f;
        const QString before = f.model.tag(test::control(label));
        QVERIFY(!before.isEmpty());
        f.answer = "https://tutorials.example.net/new page.html";

        f.click(label, Qt::RightButton);
        QCOMPARE(f.asked, QStringList({"Type in the new link (URL) for\n\n'" + caption + "'",
                                       "Update Link", before}));
        QVERIFY(f.shell.opened.isEmpty());
        QCOMPARE(f.label(label)->toolTip(), f.answer);
        QCOMPARE(f.stored(key), f.answer);

        f.click(label, Qt::LeftButton);
        QCOMPARE(f.shell.opened, QStringList({f.answer}));

        // A new start: the built-in address first, then the INI file.
        OptionsModel again;
        SettingsVariables vars;
        setDefaultLinks(again);
        readini(f.home.file("Morvane.ini"), again, vars, allIniKeys(builtInRoutes()));
        QCOMPARE(again.tag(test::control(label)), f.answer);
        QCOMPARE(again.tag(ctl::Label21), f.model.tag(ctl::Label21));
    }

    void contactLinksCannotBeChanged_data() {
        QTest::addColumn<QString>("label");
        QTest::newRow("bugs address") << "Label10";
        QTest::newRow("publisher's site") << "Label11";
    }
    void contactLinksCannotBeChanged() {
        QFETCH(QString, label);
        Fixture f;
        const QByteArray ini = test::readAll(f.home.file("Morvane.ini"));
        f.answer = "https://elsewhere.example.net/";
        f.click(label, Qt::RightButton);
        QVERIFY(f.asked.isEmpty());
        QVERIFY(f.shell.opened.isEmpty());
        QCOMPARE(test::readAll(f.home.file("Morvane.ini")), ini);
        f.click(label, Qt::LeftButton);
        QCOMPARE(f.shell.opened, QStringList({f.model.tag(test::control(label))}));
    }

    void addressTooLongForTheIniIsNotStored() {
        Fixture f;
        f.answer = "https://example.net/" + QString(ProfileFile::ValueLimit, 'a');
        f.click("Label20", Qt::RightButton);
        // Used for this session, but storing it would cut it short.
        QCOMPARE(f.model.tag(ctl::Label20), f.answer);
        QCOMPARE(f.stored("link(2,0)"), QString("(none)"));
        QCOMPARE(f.prompter.prompts().size(), 1);
        QCOMPARE(f.prompter.prompts().first().title, QString("Update Link"));
    }
};

MORVANE_TEST_MAIN(TestHelpLinks)
#include "tst_helplinks.moc"
