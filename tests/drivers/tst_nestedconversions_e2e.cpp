// Two real conversions nested in multiple mode: a slow TeX4ht run, and a
// quick HeVeA run started while the first one's converter is still busy.
// Each keeps its own result, log verdict and answer to the link question.

#include "conversionrig.h"
#include "pipeline/convertcommand.h"
#include "settings/controlnames.h"
#include "support/testmain.h"

#include <QTimer>

using namespace morvane;
using namespace morvane::test;

namespace {

void write(const QString& path, const QByteArray& text) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(text) == text.size());
}

} // namespace

class TestNestedConversions : public QObject {
    Q_OBJECT
private slots:
    void eachKeepsItsOwnOutcome() {
        ConversionRig rig;
        QVERIFY(rig.loaded);
        QTemporaryDir work;
        rig.ctx.settings.vars.tex4htSaveTo = work.path();
        rig.model.setChecked(ctl::chkMulti, true);
        rig.model.setChecked(ctl::chkIE, false);
        // A TeX loop keeps each of htlatex's LaTeX runs busy for a while.
        write(work.filePath("outer.tex"), "\\documentclass{article}\\usepackage{hyperref}"
                                          "\\newcount\\n\\begin{document}"
                                          "\\loop\\advance\\n by 1 \\ifnum\\n<3000000 \\repeat "
                                          "See \\href{other.tex}{the other}.\\end{document}\n");
        write(work.filePath("inner.tex"), "\\documentclass{article}\\usepackage{hyperref}"
                                          "\\begin{document}See \\href{other.tex}{the other}. "
                                          "\\undefinedthing\\end{document}\n");
        const Route& tex4ht = *routeForTab(rig.ctx.routes, TabTex4ht);
        const Route& hevea = *routeForTab(rig.ctx.routes, TabHevea);
        // The inner run is asked first: no to all; the outer run: yes to all.
        rig.links.answers = {4, 3};

        std::optional<ConversionResult> inner;
        bool innerStarted = false;
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            if (innerStarted || rig.model.items(ctl::lstProcesses).isEmpty())
                return;
            innerStarted = true;
            poll.stop();
            inner = convert(rig.ctx, hevea, work.filePath("inner.tex"));
        });
        poll.start(20);
        const std::optional<ConversionResult> outer =
            convert(rig.ctx, tex4ht, work.filePath("outer.tex"));

        QVERIFY(innerStarted);
        QVERIFY(inner && outer);
        QVERIFY(inner->produced && outer->produced);
        QCOMPARE(inner->output, work.filePath("inner.html"));
        QCOMPARE(outer->output, work.filePath("outer/outer.html"));
        QCOMPARE(inner->verdict, LogVerdict::Errors); // HeVeA does not know \undefinedthing
        QCOMPARE(outer->verdict, LogVerdict::Clean);
        QCOMPARE(logOf(rig.ctx.logs, "hevea"), work.filePath("inner.hlog"));
        QCOMPARE(logOf(rig.ctx.logs, "tex4ht"), work.filePath("outer/outer.log"));
        // Each run asked once, and its answer held for its own pages only.
        QCOMPARE(rig.links.texts.size(), 2);
        QVERIFY(readAll(inner->output).contains("href=\"other.tex\""));
        QVERIFY(readAll(outer->output).contains("href=\"other.html\""));
    }
};

MORVANE_TEST_GUILESS_MAIN(TestNestedConversions)
#include "tst_nestedconversions_e2e.moc"
