#include "pipeline/appcontext.h"
#include "platform/networkdownloader.h"
#include "settings/optionsmodel.h"
#include "support/doubles.h"
#include "support/testhome.h"
#include "support/testmain.h"
#include "update/updatecheck.h"

#include <QPushButton>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <QTimer>

using namespace morvane;

namespace {

// How the test server answers one document.
enum class Answering {
    Page,      // 200 with the body
    Missing,   // 404
    Silent,    // takes the request and never answers
    Flood,     // 100 MB without announcing a length
    Announced, // announces 100 MB in its header, then sends
};

// An HTTP server on 127.0.0.1, started by the test, answering from a table
// of paths; paths it does not know are missing.
class PageServer : public QObject {
public:
    struct Document {
        Answering answering = Answering::Page;
        QByteArray body;
    };

    PageServer() {
        QVERIFY(m_server.listen(QHostAddress::LocalHost, 0));
        connect(&m_server, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket* socket = m_server.nextPendingConnection())
                serve(socket);
        });
    }
    QString site() const {
        return QStringLiteral("http://127.0.0.1:%1/site/").arg(m_server.serverPort());
    }

    QHash<QByteArray, Document> documents;
    QList<QByteArray> requested;

private:
    void serve(QTcpSocket* socket) {
        socket->setParent(this);
        connect(socket, &QTcpSocket::readyRead, socket, [this, socket] {
            m_requests[socket] += socket->readAll();
            const QByteArray request = m_requests[socket];
            if (!request.contains("\r\n\r\n") || m_answered.contains(socket))
                return;
            m_answered.insert(socket);
            const QByteArray path = request.split(' ').value(1);
            requested.append(path);
            answer(socket, documents.value(path, Document{Answering::Missing, {}}));
        });
    }

    void answer(QTcpSocket* socket, const Document& document) {
        constexpr qint64 flood = 100 * 1024 * 1024;
        switch (document.answering) {
        case Answering::Page:
            socket->write("HTTP/1.1 200 OK\r\nConnection: close\r\nContent-Length: " +
                          QByteArray::number(document.body.size()) + "\r\n\r\n" + document.body);
            socket->disconnectFromHost();
            break;
        case Answering::Missing:
            socket->write("HTTP/1.1 404 Not Found\r\nConnection: close\r\nContent-Length: 9\r\n"
                          "\r\nnot found");
            socket->disconnectFromHost();
            break;
        case Answering::Silent:
            break;
        case Answering::Flood:
        case Answering::Announced: {
            socket->write(document.answering == Answering::Announced
                              ? "HTTP/1.1 200 OK\r\nContent-Length: " + QByteArray::number(flood) +
                                    "\r\n\r\n"
                              : QByteArray("HTTP/1.1 200 OK\r\nConnection: close\r\n\r\n"));
            // Sent as the client reads, so the test never holds 100 MB.
            auto sent = std::make_shared<qint64>(0);
            auto more = [socket, sent] {
                if (*sent >= flood || socket->state() != QAbstractSocket::ConnectedState)
                    return;
                const QByteArray chunk(64 * 1024, 'x');
                *sent += socket->write(chunk);
            };
            connect(socket, &QTcpSocket::bytesWritten, socket, more);
            more();
            break;
        }
        }
    }

    QTcpServer m_server;
    QHash<QTcpSocket*, QByteArray> m_requests;
    QSet<QTcpSocket*> m_answered;
};

QByteArray mainPage(const QString& latest) {
    return "<html><p>News<!--update start -->" + latest.toLatin1() +
           " is out<!--update end --></p><p><!--size start -->1.2 MB<!--size end --></p></html>";
}

const QByteArray kTemplate = "<html><p><!--update--></p><p>Size: <!--size--></p>"
                             "<p>Yours is <!--version--> </p><!--text end--><p>Bye</p></html>";

// The notes of the next version, then the running version's heading.
QByteArray readmeText() {
    const ProgramVersion running = runningVersion();
    return "Morvane\r\n\r\nRevisions\r\n---------\r\nNext: <b>&bold</b>\r\nVersion " +
           QByteArray::number(running.major) + '.' + QByteArray::number(running.minor) +
           "\r\n- old\r\n";
}

QString versionAfter(int step) {
    const ProgramVersion running = runningVersion();
    return versionText({running.major + step, running.minor, running.revision});
}

struct Fixture {
    test::TestHome home{false};
    OptionsModel model;
    ScriptedPrompter prompter;
    RecordingShell shell;
    NetworkDownloader downloader{NetworkDownloader::Limits{400, 256 * 1024}};
    PageServer server;
    AppContext ctx;
    int quits = 0;

    Fixture() {
        ctx.programDir = home.path();
        ctx.model = &model;
        ctx.seams.prompter = &prompter;
        ctx.seams.shell = &shell;
        ctx.seams.downloader = &downloader;
        ctx.seams.quitProgram = [this] { ++quits; };
        ctx.settings.vars.updateSite = server.site();
        // The system browser with "Close after running": the update page
        // must still not end the program.
        model.setIndex(ctl::optIE, 0);
        model.setCheckValue(ctl::chkIE, 1);
        model.setCheckValue(ctl::chkClose, 1);
        home.write(QStringLiteral("update.htm"), "earlier page");
    }
    QString result() const { return home.file(QStringLiteral("update.htm")); }
};

} // namespace

Q_DECLARE_METATYPE(Answering)

class TestUpdateCheck : public QObject {
    Q_OBJECT
private slots:
    void check_data() {
        QTest::addColumn<Answering>("mainAnswering");
        QTest::addColumn<QByteArray>("main");
        QTest::addColumn<QByteArray>("templatePage");
        QTest::addColumn<Answering>("readmeAnswering");
        QTest::addColumn<QByteArray>("readme");
        QTest::addColumn<int>("stage"); // -1: the page is shown
        QTest::addColumn<QString>("shown");

        const QByteArray newer = mainPage(versionAfter(1));
        const QByteArray equal = mainPage(versionAfter(0));
        const QString running = versionText(runningVersion());
        const QByteArray readmeDoc = readmeText();
        QTest::newRow("newer: version, blocks and escaped notes")
            << Answering::Page << newer << kTemplate << Answering::Page << readmeDoc << -1
            << "<p>The latest version is <!--update start -->" + versionAfter(1) +
                   " is out<!--update--></p><p>Size: <!--size start -->1.2 MB<!--size--></p>"
                   "<p>Yours is " +
                   running +
                   "<!--version--> </p><pre>Revisions\r\n---------\r\nNext: "
                   "&lt;b&gt;&amp;bold&lt;/b&gt;\r\n</pre><!--text end--><p>Bye</p></html>\n";
        QTest::newRow("equal: no update required")
            << Answering::Page << equal << kTemplate << Answering::Missing << readmeDoc << -1
            << "<p>Yours is " + running + "<P>Update is not required<!--text end--><p>Bye</p>";
        QTest::newRow("main page without markers: stage 1")
            << Answering::Page << QByteArray("<html>2.0.0 </html>") << kTemplate << Answering::Page
            << readmeDoc << 1 << "";
        QTest::newRow("update markers in the wrong order: stage 1")
            << Answering::Page << QByteArray("<!--update end--><!--update start-->9.0.0 x")
            << kTemplate << Answering::Page << readmeDoc << 1 << "";
        QTest::newRow("template markers in the wrong order: stage 1")
            << Answering::Page << equal << QByteArray("<!--update--><!--text end--> <!--version-->")
            << Answering::Page << readmeDoc << 1 << "";
        QTest::newRow("readme missing: stage 3")
            << Answering::Page << newer << kTemplate << Answering::Missing << readmeDoc << 3 << "";
        QTest::newRow("readme without its heading: stage 2")
            << Answering::Page << newer << kTemplate << Answering::Page
            << QByteArray("Version 0.9\n") << 2 << "";
        QTest::newRow("server never answers: stage 3")
            << Answering::Silent << newer << kTemplate << Answering::Page << readmeDoc << 3 << "";
        QTest::newRow("100 MB page: stage 3")
            << Answering::Flood << newer << kTemplate << Answering::Page << readmeDoc << 3 << "";
        QTest::newRow("100 MB announced: stage 3") << Answering::Announced << newer << kTemplate
                                                   << Answering::Page << readmeDoc << 3 << "";
    }
    void check() {
        QFETCH(Answering, mainAnswering);
        QFETCH(QByteArray, main);
        QFETCH(QByteArray, templatePage);
        QFETCH(Answering, readmeAnswering);
        QFETCH(QByteArray, readme);
        QFETCH(int, stage);
        QFETCH(QString, shown);
        Fixture f;
        f.server.documents["/site/tex.htm"] = {mainAnswering, main};
        f.server.documents["/site/update.htm"] = {Answering::Page, templatePage};
        f.server.documents["/site/readme.txt"] = {readmeAnswering, readme};

        cmdUpdate_Click(f.ctx);

        const auto& prompts = f.prompter.prompts();
        QCOMPARE(prompts.first().title, QStringLiteral("Check for Update"));
        if (stage < 0) {
            QCOMPARE(prompts.size(), 1);
            QVERIFY2(QString::fromLatin1(test::readAll(f.result())).contains(shown),
                     test::readAll(f.result()).constData());
            QCOMPARE(f.shell.opened, QStringList{f.result()});
        } else {
            QCOMPARE(prompts.size(), 2);
            QCOMPARE(prompts.last().title, QStringLiteral("Morvane Update"));
            QCOMPARE(prompts.last().icon, Icon::Exclamation);
            QCOMPARE(prompts.last().text,
                     updateFailureText(UpdateStage(stage), f.server.site() + "tex.htm"));
            QCOMPARE(test::readAll(f.result()), QByteArray("earlier page"));
            QVERIFY(f.shell.opened.isEmpty());
        }
        QCOMPARE(f.quits, 0);
    }

    void failureText() {
        QCOMPARE(
            updateFailureText(UpdateStage::Downloading, "https://x.org/tex.htm"),
            QStringLiteral("Sorry! Unable to find update information.\n(Error 3)\n\n"
                           "Please go to\nhttps://x.org/tex.htm \nfor the latest version.\n\n"));
    }

    void noServer() {
        Fixture f;
        QTcpServer closed;
        QVERIFY(closed.listen(QHostAddress::LocalHost, 0));
        f.ctx.settings.vars.updateSite =
            QStringLiteral("http://127.0.0.1:%1").arg(closed.serverPort());
        closed.close();
        cmdUpdate_Click(f.ctx);
        QCOMPARE(f.prompter.prompts().size(), 2);
        QVERIFY(f.prompter.prompts().last().text.contains(QStringLiteral("(Error 3)")));
    }

    void declinedDoesNothing() {
        Fixture f;
        f.prompter.queueAnswer(Answer::Cancel);
        cmdUpdate_Click(f.ctx);
        QCOMPARE(f.prompter.prompts().size(), 1);
        QVERIFY(f.server.requested.isEmpty());
        QCOMPARE(test::readAll(f.result()), QByteArray("earlier page"));
    }

    // A click made while a document downloads is not acted on inside the
    // wait (it could start a conversion or a second check there).
    void noInputDuringTheWait() {
        Fixture f;
        f.server.documents["/site/tex.htm"] = {Answering::Silent, {}};
        QPushButton button;
        button.show();
        bool fetching = false;
        int clicksWhileFetching = 0;
        int clicks = 0;
        connect(&button, &QPushButton::clicked, [&] {
            ++clicks;
            clicksWhileFetching += fetching;
        });
        QTimer::singleShot(100, &button, [&] { QTest::mouseClick(&button, Qt::LeftButton); });
        fetching = true;
        QVERIFY(!f.downloader.fetch(f.server.site() + "tex.htm"));
        fetching = false;
        QCOMPARE(clicksWhileFetching, 0);
        // The same click outside a download reaches the button.
        QTest::mouseClick(&button, Qt::LeftButton);
        QTRY_VERIFY(clicks > 0);
        QCOMPARE(clicksWhileFetching, 0);
    }
};

MORVANE_TEST_MAIN(TestUpdateCheck)
#include "tst_updatecheck.moc"
