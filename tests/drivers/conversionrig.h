#pragma once

// What the driver tests share: a program directory with the shipped files, a
// context set up as the window sets it up (settings read from Morvane.ini),
// copies of the test documents, and runs of the built program in batch mode.

#include "app/optionhandlers.h"
#include "app/startup.h"
#include "fixups/htmlfixups.h"
#include "pipeline/appcontext.h"
#include "pipeline/conversion.h"
#include "pipeline/convertcommand.h"
#include "pipeline/resultdisplay.h"
#include "platform/launcher.h"
#include "platform/prompter.h"
#include "platform/shell.h"
#include "settings/optionsmodel.h"
#include "support/doubles.h"
#include "support/testhome.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

namespace morvane::test {

// The change-link dialog, scripted: records each text and answers from a
// queue (1 yes, 2 no, 3 yes to all, 4 no to all), then with `fallback`.
class ScriptedLinkQuestion : public LinkQuestion {
public:
    int ask(const QString& text) override {
        texts.append(text);
        return answers.isEmpty() ? fallback : answers.takeFirst();
    }
    QStringList texts;
    QList<int> answers;
    int fallback = 1;
};

// A context wired like the main window's, without the window.
struct ConversionRig {
    TestHome home;
    OptionsModel model;
    ScriptedPrompter prompter;
    RecordingShell shell;
    QProcessLauncher launcher;
    ScriptedLinkQuestion links;
    AppContext ctx;
    int quitCalls = 0;
    bool loaded = false;

    ConversionRig() {
        ctx.programDir = home.path();
        ctx.model = &model;
        ctx.seams.prompter = &prompter;
        ctx.seams.shell = &shell;
        ctx.seams.launcher = &launcher;
        ctx.seams.linkQuestion = &links;
        ctx.seams.quitProgram = [this] { ++quitCalls; };
        connectOptionHandlers(ctx);
        loaded = loadStep(ctx, QString());
        prompter.clear();
    }

    void selectTab(int tab) {
        model.setIndex(ctl::tbstrip, tab);
        tbstrip_Click(ctx);
    }

    // Presses Convert for `file` on `tab`.
    void convert(int tab, const QString& file) {
        selectTab(tab);
        model.setText(ctl::cmbTeX, file);
        cmdConvert_Click(ctx);
    }

    // Runs a route's driver on `source` and applies the Convert command's
    // ending to its result, as the Convert command does after its checks.
    ConversionResult runDriver(int tab, const QString& source) {
        Conversion conversion(ctx, *routeForTab(ctx.routes, tab), source);
        conversion.result = conversion.route.driver(conversion);
        finishConversion(ctx, conversion);
        return conversion.result;
    }

    bool logMarked() const {
        return model.isBold(ctl::cmdLog) &&
               model.caption(ctl::cmdLog) == QStringLiteral("Errors in &Log");
    }
    bool logPlain() const {
        return !model.isBold(ctl::cmdLog) &&
               model.caption(ctl::cmdLog) != QStringLiteral("Errors in &Log");
    }
};

// A folder of the real documents in tests/corpus (see its README.md).
inline QString corpus(const QString& name) {
    return QStringLiteral(MORVANE_SOURCE_DIR "/tests/corpus/") + name;
}

inline QString dataDir() {
    return QStringLiteral(MORVANE_SOURCE_DIR "/tests/data/drivers");
}

// Copies a directory tree. A missing source is a missing fixture: it fails,
// naming the path, rather than copying nothing and failing later.
inline bool copyTree(const QString& from, const QString& to) {
    if (!QFileInfo(from).isDir()) {
        qWarning("copyTree: no folder %s", qPrintable(from));
        return false;
    }
    if (!QDir().mkpath(to))
        return false;
    QDirIterator it(from, QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QString target = to + path.mid(from.size());
        if (it.fileInfo().isDir()) {
            QDir().mkpath(target);
        } else if (!QFile::copy(path, target)) {
            return false;
        }
    }
    return true;
}

// Every file below `dir` with its bytes, to show that a run left them alone.
inline QHash<QString, QByteArray> filesBelow(const QString& dir, const QString& suffix) {
    QHash<QString, QByteArray> files;
    QDirIterator it(dir, {QStringLiteral("*") + suffix}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        files.insert(path, readAll(path));
    }
    return files;
}

inline QStringList filesNamed(const QString& dir, const QString& pattern) {
    QStringList found;
    QDirIterator it(dir, {pattern}, QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        found.append(it.next());
    return found;
}

// Every reference of the pages below `dir` (src= and href=, or only the
// pictures' src=) that names a local file must resolve to a file inside
// `dir`. Returns the ones that do not, as "page: target".
inline QStringList unresolvedReferences(const QString& dir, bool picturesOnly = false) {
    static const QRegularExpression any(QStringLiteral("(?:src|href)=\"([^\"]*)\""),
                                        QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression pictures(QStringLiteral("src=\"([^\"]*)\""),
                                             QRegularExpression::CaseInsensitiveOption);
    const QRegularExpression& reference = picturesOnly ? pictures : any;
    const QString root = QFileInfo(dir).canonicalFilePath() + QLatin1Char('/');
    QStringList missing;
    for (const QString& page : filesNamed(dir, "*.htm*") + filesNamed(dir, "*.xht")) {
        const QString text = QString::fromUtf8(readAll(page));
        for (auto it = reference.globalMatch(text); it.hasNext();) {
            QString target = it.next().captured(1);
            if (target.isEmpty() || target.startsWith('#') || target.contains(':'))
                continue; // a fragment, or a web or mail address
            // A browser decodes the link's %XX escapes.
            target =
                QUrl::fromPercentEncoding(target.section('#', 0, 0).section('?', 0, 0).toUtf8());
            const QFileInfo file(QFileInfo(page).absolutePath() + "/" + target);
            if (!file.exists() || !file.canonicalFilePath().startsWith(root))
                missing.append(QFileInfo(page).fileName() + ": " + target);
        }
    }
    return missing;
}

inline QString sample2e() {
    QProcess which;
    which.start(QStringLiteral("kpsewhich"), {QStringLiteral("sample2e.tex")});
    if (!which.waitForFinished(30000))
        return QString();
    return QString::fromLocal8Bit(which.readAllStandardOutput()).trimmed();
}

// A document (or any file) of the test's own, with `text`; its folders are
// made as needed.
inline void writeText(const QString& path, const QByteArray& text) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(text), text.size());
}

// A stand-in for a converter's program: a shell script that may be run.
inline void writeProgram(const QString& path, const QByteArray& script) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(script);
    file.close();
    QVERIFY(file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
}

// Sets one key of the home's Morvane.ini (as a user editing it would).
inline void setIniKey(const QString& iniFile, const QString& key, const QString& value) {
    QByteArray text = readAll(iniFile);
    QList<QByteArray> lines = text.split('\n');
    bool found = false;
    for (QByteArray& line : lines) {
        if (line.startsWith(key.toUtf8() + '=')) {
            line = (key + QLatin1Char('=') + value).toUtf8();
            found = true;
        }
    }
    QVERIFY2(found, qPrintable(key));
    QFile out(iniFile);
    QVERIFY(out.open(QIODevice::WriteOnly));
    out.write(lines.join('\n'));
}

struct BatchRun {
    int status = -1;
    QByteArray out;
    QByteArray err;
};

// Runs the built program: `morvane --convert=ROUTE FILE` with MORVANE_HOME
// set to `home`, in `workingDir`.
inline BatchRun runBatch(const QString& home, const QString& workingDir, const QStringList& args,
                         const QString& pathInFront = QString()) {
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    if (!pathInFront.isEmpty())
        env.insert(QStringLiteral("PATH"), pathInFront + QLatin1Char(':') + env.value("PATH"));
    env.insert(QStringLiteral("MORVANE_HOME"), home);
    env.remove(QStringLiteral("DISPLAY"));
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    process.setProcessEnvironment(env);
    process.setWorkingDirectory(workingDir);
    process.start(QStringLiteral(MORVANE_BUILD_PROGRAM_DIR "/morvane"), args);
    BatchRun run;
    if (!process.waitForFinished(300000)) {
        process.kill();
        process.waitForFinished();
        return run;
    }
    run.status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = process.readAllStandardOutput();
    run.err = process.readAllStandardError();
    return run;
}

// Runs an awkward document of the bad-input folder through batch mode and
// checks that it ends with `status`, leaves the sources and everything
// outside the document's folder as they were, and produces a page exactly
// when the status says it did (or a part of one when the converter gave up).
inline void checkBadDocumentInBatchMode(const QString& route, const QString& file, int status,
                                        const QString& pageSuffix) {
    QTemporaryDir outer;
    const QString work = outer.filePath("doc");
    QVERIFY(copyTree(dataDir() + "/badinput", work));
    const auto sources = filesBelow(work, ".tex");
    TestHome home;
    const BatchRun run = runBatch(home.path(), work, {"--convert=" + route, file});
    QCOMPARE(run.status, status);
    // The converter may add files (HeVeA its .image.tex); the documents stay.
    for (auto source = sources.cbegin(); source != sources.cend(); ++source)
        QCOMPARE(readAll(source.key()), source.value());
    QCOMPARE(QDir(outer.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
             QStringList{"doc"});
    // Status 2 with a page: the converter gave up part-way.
    const QFileInfo page(work + "/" + QFileInfo(file).completeBaseName() + pageSuffix);
    if (status != 2 || !run.err.contains("the converter gave up part-way"))
        QCOMPARE(page.exists() && page.size() > 0, status != 2);
}

} // namespace morvane::test
