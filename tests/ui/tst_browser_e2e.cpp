// The built-in browser on a page that TeX4ht really produced: MathML output,
// which the engine cannot draw itself, comes out typeset by the local MathJax.

#include "pipeline/appcontext.h"
#include "settings/optionsmodel.h"
#include "support/testmain.h"
#include "ui/browserwindow.h"
#include "ui/localpagepolicy.h"
#include "ui/webengineloader.h"

#include <QApplication>
#include <QFile>
#include <QProcess>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QWebEngineView>

using namespace morvane;

namespace {

QVariant evaluate(QWebEngineView* view, const QString& script) {
    QVariant result;
    bool done = false;
    view->page()->runJavaScript(script, [&](const QVariant& value) {
        result = value;
        done = true;
    });
    if (!QTest::qWaitFor([&] { return done; }, 10000))
        return {};
    return result;
}

} // namespace

class TestBrowserE2e : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_store.path());
        QVERIFY2(webEngineAvailable(), "the web-view module could not be loaded");
        if (QStandardPaths::findExecutable("htlatex").isEmpty())
            QSKIP("htlatex is not installed");
        if (!QFile::exists(mathJaxDirectory() + "/MathJax.js"))
            QSKIP("MathJax (libjs-mathjax) is not installed");
    }

    void tex4htMathmlPageShowsTypesetMath() {
        QTemporaryDir dir;
        QFile tex(dir.filePath("formulas.tex"));
        QVERIFY(tex.open(QIODevice::WriteOnly));
        tex.write("\\documentclass{article}\n\\begin{document}\n"
                  "\\section{Euler}\nInline $e^{i\\pi}+1=0$ and displayed\n"
                  "\\[ \\int_0^1 x^2\\,dx = \\frac{1}{3} \\]\n\\end{document}\n");
        tex.close();
        QProcess htlatex;
        htlatex.setWorkingDirectory(dir.path());
        htlatex.setStandardInputFile(QProcess::nullDevice());
        htlatex.setProcessChannelMode(QProcess::MergedChannels);
        htlatex.start("htlatex", {"formulas.tex", "xhtml,mathml"});
        QVERIFY(htlatex.waitForFinished(180000));
        const QString page = dir.filePath("formulas.html");
        QFile html(page);
        QVERIFY2(html.open(QIODevice::ReadOnly), htlatex.readAll().right(2000).constData());
        QVERIFY(html.readAll().contains("<math"));

        OptionsModel model;
        AppContext ctx;
        ctx.model = &model;
        BrowserWindow window(ctx);
        window.show(page);
        auto* view = qobject_cast<QWebEngineView*>(window.findChild<QWidget*>("brwWebBrowser"));
        QVERIFY(view);
        QTRY_COMPARE_WITH_TIMEOUT(view->url(), QUrl::fromLocalFile(page), 20000);

        // Each formula becomes an SVG picture of its own with a real size.
        const QString drawn = R"((function () {
            var pictures = document.querySelectorAll('.MathJax_SVG svg, .MathJax_SVG_Display svg');
            var sized = 0;
            for (var i = 0; i < pictures.length; ++i) {
                var box = pictures[i].getBoundingClientRect();
                if (box.width > 0 && box.height > 0) ++sized;
            }
            return sized;
        })())";
        QTRY_VERIFY_WITH_TIMEOUT(evaluate(view, drawn).toInt() >= 2, 30000);
    }

private:
    QTemporaryDir m_store;
};

static int runBrowserE2eTest(int argc, char** argv) {
    // The engine is tried under a real (virtual) X server when there is one.
    if (qEnvironmentVariableIsSet("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "xcb");
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    TestBrowserE2e test;
    return QTest::qExec(&test, argc, argv);
}

MORVANE_TEST_CUSTOM_MAIN(TestBrowserE2e, runBrowserE2eTest)

#include "tst_browser_e2e.moc"
