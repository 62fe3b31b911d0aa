#include "pipeline/appcontext.h"
#include "pipeline/conversion.h"
#include "pipeline/convertcommand.h"
#include "pipeline/safealias.h"
#include "platform/atomicfile.h"
#include "platform/pathutils.h"
#include "platform/prompter.h"
#include "platform/volumes.h"
#include "settings/controlnames.h"
#include "support/doubles.h"
#include "support/testhome.h"
#include "support/testmain.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace morvane;

namespace {

const QByteArray kSource = "\\documentclass{article}\r\n\\begin{document}\nx\n\\end{document}\n";

struct DriverCall {
    int tab;
    QString source;
};

// A Convert command with scripted answers, a temporary documents area and
// drivers that only record their calls.
struct Fixture {
    QTemporaryDir tmp;
    OptionsModel model;
    ScriptedPrompter prompter;
    FixedVolumeTable volumes{{}};
    AppContext ctx;
    std::vector<Route> routes{builtInRoutes().begin(), builtInRoutes().end()};
    QList<DriverCall> calls;
    QStringList focus;

    Fixture() {
        ctx.model = &model;
        ctx.seams.prompter = &prompter;
        ctx.seams.volumes = &volumes;
        ctx.settings.vars.texDocs = tmp.filePath("TeX Docs");
        QDir().mkpath(ctx.settings.vars.texDocs);
        ctx.settings.paths.texDocsExists = true;
        for (int tab = TabHevea; tab <= TabPdf; ++tab)
            setDriver(tab, [this, tab](const QString& source) { calls.append({tab, source}); });
        ctx.seams.requestFocus = [this](ctl::Control control) { focus.append(control.name()); };
        model.setIndex(ctl::tbstrip, TabHevea);
    }

    // The route table with drivers that run `driver` instead of a converter.
    void setDriver(int tab, std::function<void(const QString& source)> driver) {
        for (Route& route : routes) {
            if (tabOf(routes, route) != tab)
                continue;
            route.driver = nullptr;
            if (driver)
                route.driver = [driver](Conversion& conversion) {
                    const QString& source = conversion.source;
                    driver(source);
                    return ConversionResult{};
                };
        }
        ctx.routes = routes;
    }

    QString write(const QString& relative, const QByteArray& bytes = kSource) {
        const QString path = tmp.filePath(relative);
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
            return {};
        return path;
    }

    void convert(const QString& file, int tab) {
        model.setText(ctl::cmbTeX, file);
        model.setIndex(ctl::tbstrip, tab);
        cmdConvert_Click(ctx);
    }
};

// The driver got `file`, or the plain alias that stands in for an awkward
// name beside it.
bool sameDocument(const QString& got, const QString& file) {
    return got == file || (PathOnly(got) == PathOnly(file) &&
                           fileNameOf(got).startsWith(QLatin1String("morvane-alias-")));
}

} // namespace

class TestConvertCommand : public QObject {
    Q_OBJECT
private slots:
    void checkfileRefusals_data() {
        QTest::addColumn<QString>("relative"); // "" for an empty file box
        QTest::addColumn<QString>("kind");     // what to create: none, file, dir
        QTest::addColumn<QString>("suffix");   // text after the path
        QTest::addColumn<QString>("title");
        QTest::newRow("empty") << ""
                               << "none"
                               << "No TeX file!"
                               << "No TeX File";
        QTest::newRow("missing") << "docs/gone.tex"
                                 << "none"
                                 << " doesn't exist!"
                                 << "No TeX File";
        QTest::newRow("missing folder") << "nowhere/a.tex"
                                        << "none"
                                        << " doesn't exist!"
                                        << "No TeX File";
        QTest::newRow("directory") << "docs/folder.tex"
                                   << "dir"
                                   << " is a directory, not a TeX file!"
                                   << "No TeX File";
        QTest::newRow("other extension") << "docs/a.ltx"
                                         << "file"
                                         << " is not a TeX file!"
                                         << "TeX Files Only";
        QTest::newRow("name too long") << "docs/" + QString(197, 'n') + ".tex"
                                       << "file"
                                       << " has a name too long for the files a conversion "
                                          "makes from it. Rename it to a name of at most 200 "
                                          "bytes."
                                       << "No TeX File";
        QTest::newRow("extension in the folder only") << "notes.tex/readme"
                                                      << "file"
                                                      << " is not a TeX file!"
                                                      << "TeX Files Only";
    }
    void checkfileRefusals() {
        QFETCH(QString, relative);
        QFETCH(QString, kind);
        QFETCH(QString, suffix);
        QFETCH(QString, title);
        Fixture f;
        QString file = relative.isEmpty() ? QString() : f.tmp.filePath(relative);
        if (kind == "file")
            QVERIFY(!f.write(relative).isEmpty());
        else if (kind == "dir")
            QVERIFY(QDir().mkpath(file));
        QVERIFY(!Checkfile(f.ctx, file));
        QCOMPARE(f.prompter.prompts().size(), 1);
        const Prompt& p = f.prompter.prompts().first();
        QCOMPARE(p.text, relative.isEmpty() ? suffix : file + suffix);
        QCOMPARE(p.title, title);
        QCOMPARE(p.icon, Icon::Exclamation);
        QCOMPARE(p.buttons, Buttons::Ok);

        // The Convert command stops there and gives the file box the focus.
        f.prompter.clear();
        f.convert(file, TabDvi);
        QCOMPARE(f.prompter.prompts().size(), 1);
        QCOMPARE(f.focus, QStringList{"cmbTeX"});
        QVERIFY(f.calls.isEmpty());
        QVERIFY(f.model.items(ctl::cmbTeX).isEmpty());
    }

    void unreadableFile() {
        Fixture f;
        const QString file = f.write("secret.tex");
        QFile::setPermissions(file, QFileDevice::Permissions());
        if (QFileInfo(file).isReadable())
            QSKIP("running with rights that read every file");
        QVERIFY(!Checkfile(f.ctx, file));
        QCOMPARE(f.prompter.prompts().first().text, file + " can't be read!");
    }

    void checkfileAccepts_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("nonTeX");
        QTest::addColumn<QString>("extension");
        QTest::newRow("upper-case extension") << "Paper.TEX" << false << ".tex";
        QTest::newRow("tex while non-TeX allowed") << "Paper.TeX" << true << ".tex";
        QTest::newRow("txt allowed") << "notes.txt" << true << ".txt";
        QTest::newRow("long extension allowed") << "page.html" << true << ".html";
        QTest::newRow("blank") << "my paper.tex" << false << ".tex";
        QTest::newRow("quotes") << "say \"hi\".tex" << false << ".tex";
        QTest::newRow("semicolon") << "a;touch pwned.tex" << false << ".tex";
        QTest::newRow("command substitution") << "$(touch pwned).tex" << false << ".tex";
        QTest::newRow("backquotes") << "`touch pwned`.tex" << false << ".tex";
        QTest::newRow("newline") << "two\nlines.tex" << false << ".tex";
    }
    void checkfileAccepts() {
        QFETCH(QString, name);
        QFETCH(bool, nonTeX);
        QFETCH(QString, extension);
        Fixture f;
        f.ctx.settings.vars.allowNonTeXFiles = nonTeX;
        f.ctx.sourceExtension = ".old";
        const QString file = f.write("docs/" + name);
        QVERIFY(!file.isEmpty());
        QVERIFY(Checkfile(f.ctx, file));
        QVERIFY(f.prompter.prompts().isEmpty());
        QCOMPARE(f.ctx.sourceExtension, extension);

        // The driver gets the name as it is, or a plain alias beside it when
        // the name needs one.
        const auto baseOf = [&f](const QString& path) {
            return withoutSourceExtension(fileNameOf(path), f.ctx.sourceExtension);
        };
        for (int tab = TabHevea; tab <= TabTth; ++tab) {
            f.calls.clear();
            f.convert(file, tab);
            QCOMPARE(f.calls.size(), 1);
            const QString got = f.calls.first().source;
            QVERIFY(!needsSafeAlias(baseOf(got)));
            QVERIFY(sameDocument(got, file));
        }
        QVERIFY(!QFile::exists(f.tmp.filePath("docs/pwned")));
        QVERIFY(!QFile::exists("pwned"));
        QCOMPARE(test::readAll(file), kSource);
    }

    void nonTeXPreferenceOff() {
        Fixture f;
        const QString txt = f.write("a.txt");
        f.ctx.settings.vars.allowNonTeXFiles = true;
        QVERIFY(Checkfile(f.ctx, txt));
        QCOMPARE(f.ctx.sourceExtension, QString(".txt"));
        // Turning the preference off brings ".tex" back for the drivers.
        f.ctx.settings.vars.allowNonTeXFiles = false;
        QVERIFY(!Checkfile(f.ctx, txt));
        QCOMPARE(f.ctx.sourceExtension, QString(".tex"));
        QVERIFY(Checkfile(f.ctx, f.write("b.tex")));
    }

    void multipleConversionRefusal_data() {
        QTest::addColumn<bool>("multi");
        QTest::addColumn<QString>("tag");
        QTest::addColumn<QString>("running"); // relative name in lstProcesses
        QTest::addColumn<bool>("refused");
        QTest::newRow("same file running") << true << "wait"
                                           << "a.tex" << true;
        QTest::newRow("other file running") << true << "wait"
                                            << "b.tex" << false;
        QTest::newRow("other spelling is another file") << true << "wait"
                                                        << "A.tex" << false;
        QTest::newRow("nothing waiting") << true << ""
                                         << "a.tex" << false;
        QTest::newRow("single conversions") << false << "wait"
                                            << "a.tex" << false;
    }
    void multipleConversionRefusal() {
        QFETCH(bool, multi);
        QFETCH(QString, tag);
        QFETCH(QString, running);
        QFETCH(bool, refused);
        Fixture f;
        const QString a = f.write("a.tex");
        f.write("A.tex");
        f.model.setChecked(ctl::chkMulti, multi);
        f.model.setTag(ctl::cmdConvert, tag);
        f.model.setItems(ctl::lstProcesses, {f.tmp.filePath("x.tex"), f.tmp.filePath(running)});
        f.convert(a, TabHevea);
        QCOMPARE(f.calls.isEmpty(), refused);
        if (refused) {
            QCOMPARE(f.prompter.prompts().size(), 1);
            const Prompt& p = f.prompter.prompts().first();
            QCOMPARE(p.text, "You are currently converting " + a +
                                 "\n\nTo convert this file again you must wait until the "
                                 "process has been completed.");
            QCOMPARE(p.title, QString("Convert TeX File"));
            QCOMPARE(p.icon, Icon::Critical);
            QCOMPARE(p.buttons, Buttons::Ok);
            // A refused file is not recorded in the history.
            QVERIFY(f.model.items(ctl::cmbTeX).isEmpty());
        } else {
            QVERIFY(f.prompter.prompts().isEmpty());
            QCOMPARE(f.model.items(ctl::cmbTeX), QStringList{a});
        }
    }

    // A Convert inside a running conversion's wait runs nested and finishes first.
    void nestedConvert() {
        Fixture f;
        const QString a = f.write("a.tex");
        const QString b = f.write("b.tex");
        f.model.setChecked(ctl::chkMulti, true);
        QStringList order;
        f.setDriver(TabDvi, [&](const QString& source) {
            order.append("start " + source);
            if (source == a) {
                f.model.setTag(ctl::cmdConvert, "wait");
                f.model.setItems(ctl::lstProcesses, {a});
                f.convert(a, TabDvi); // refused
                f.convert(b, TabDvi); // runs inside
                f.model.setText(ctl::cmbTeX, a);
            }
            order.append("end " + source);
        });
        f.convert(a, TabDvi);
        QCOMPARE(order, (QStringList{"start " + a, "start " + b, "end " + b, "end " + a}));
        QCOMPARE(f.prompter.prompts().size(), 1);
        QCOMPARE(f.prompter.prompts().first().icon, Icon::Critical);
    }

    void cdRomWithoutTeXDocs() {
        Fixture f;
        const QString cd = f.tmp.filePath("cdrom");
        f.volumes = FixedVolumeTable({{cd, "iso9660", DriveType::CdRom}});
        f.ctx.settings.vars.cdRom = cd;
        f.ctx.settings.paths.texDocsExists = false;
        const QString file = f.write("cdrom/docs/paper.tex");
        f.convert(file, TabDvi);
        QCOMPARE(f.prompter.prompts().size(), 1);
        const Prompt& p = f.prompter.prompts().first();
        QCOMPARE(p.text, QString("Cannot save files to CD-ROM drive.\n\n"));
        QCOMPARE(p.title, QString("Convert TeX File"));
        QCOMPARE(p.icon, Icon::Exclamation);
        QCOMPARE(p.buttons, Buttons::Ok);
        QVERIFY(f.calls.isEmpty());
        // The history was updated before the rule.
        QCOMPARE(f.model.items(ctl::cmbTeX), QStringList{file});
    }

    void cdRomCopy_data() {
        QTest::addColumn<QList<int>>("answers"); // as Answer values
        QTest::addColumn<bool>("destinationExists");
        QTest::addColumn<QString>("outcome"); // original, copy, stop
        QTest::newRow("cancel converts in place")
            << QList<int>{int(Answer::Cancel)} << false << "original";
        QTest::newRow("ok copies") << QList<int>{int(Answer::Ok)} << false << "copy";
        QTest::newRow("ok, existing, keep it")
            << QList<int>{int(Answer::Ok), int(Answer::No)} << true << "stop";
        QTest::newRow("ok, existing, replace")
            << QList<int>{int(Answer::Ok), int(Answer::Yes)} << true << "copy";
    }
    void cdRomCopy() {
        QFETCH(QList<int>, answers);
        QFETCH(bool, destinationExists);
        QFETCH(QString, outcome);
        Fixture f;
        const QString cd = f.tmp.filePath("media/cd");
        f.ctx.settings.vars.cdRom = cd + "/"; // a stored mount point may end in "/"
        const QString file = f.write("media/cd/papers/Paper.tex");
        // A neighbour whose name merely starts like the mount point is not on it.
        const QString neighbour = f.write("media/cd2/x.tex");
        const QString destination = f.ctx.settings.vars.texDocs + "/Paper.tex";
        if (destinationExists)
            f.write("TeX Docs/Paper.tex", "mine");
        for (int a : answers)
            f.prompter.queueAnswer(Answer(a));

        f.convert(file, TabPdf);
        const auto& prompts = f.prompter.prompts();
        QCOMPARE(prompts.size(), answers.size());
        QCOMPARE(prompts[0].text, "Cannot save files to CD-ROM drive.\n\nCopy " + file + "\nto " +
                                      f.ctx.settings.vars.texDocs + " first?");
        QCOMPARE(prompts[0].buttons, Buttons::OkCancel);
        QCOMPARE(prompts[0].icon, Icon::Exclamation);
        QCOMPARE(prompts[0].title, QString("Convert TeX File"));
        if (destinationExists) {
            QCOMPARE(prompts[1].text,
                     "The file " + destination + " already exists. \n \n Replace existing file?");
            QCOMPARE(prompts[1].title, QString("Save"));
            QCOMPARE(prompts[1].buttons, Buttons::YesNo);
            QCOMPARE(prompts[1].icon, Icon::Question);
            QCOMPARE(prompts[1].defaultButton, Answer::No);
        }
        if (outcome == "stop") {
            QVERIFY(f.calls.isEmpty());
            QCOMPARE(test::readAll(destination), QByteArray("mine"));
            QCOMPARE(f.model.text(ctl::cmbTeX), file);
        } else {
            const QString expected = outcome == "copy" ? destination : file;
            QCOMPARE(f.calls.size(), 1);
            QCOMPARE(f.calls.first().source, expected);
            QCOMPARE(f.model.text(ctl::cmbTeX), expected);
            if (outcome == "copy")
                QCOMPARE(test::readAll(destination), kSource);
        }
        QCOMPARE(test::readAll(file), kSource);

        f.prompter.clear();
        f.calls.clear();
        f.convert(neighbour, TabPdf);
        QVERIFY(f.prompter.prompts().isEmpty());
        QCOMPARE(f.calls.size(), 1);
    }

    void copyFailure() {
        Fixture f;
        const QString cd = f.tmp.filePath("cd");
        f.ctx.settings.vars.cdRom = cd;
        // The directory was there at start-up and is gone now.
        f.ctx.settings.vars.texDocs = f.tmp.filePath("removed");
        const QString file = f.write("cd/a.tex");
        f.prompter.queueAnswer(Answer::Ok);
        f.convert(file, TabHevea);
        QCOMPARE(f.prompter.prompts().size(), 2);
        const Prompt& p = f.prompter.prompts().at(1);
        const QString destination = f.ctx.settings.vars.texDocs + "/a.tex";
        const QString tail = "\nUnable to copy " + file + " to " + destination +
                             "\n\nTry changing the name of " + file +
                             " yourself before converting.";
        QVERIFY2(p.text.endsWith(tail), qPrintable(p.text));
        QVERIFY(p.text.size() > tail.size()); // the system's description comes first
        QCOMPARE(p.title, QString("File copy error"));
        QCOMPARE(p.icon, Icon::Critical);
        QCOMPARE(p.buttons, Buttons::Ok);
        QVERIFY(f.calls.isEmpty());
        QCOMPARE(f.model.text(ctl::cmbTeX), file);
    }

    void shortNameRule_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("tab");
        QTest::addColumn<bool>("longNames");
        QTest::addColumn<bool>("asks");
        QTest::addColumn<QString>("newName"); // "" when the name stays
        QTest::newRow("tilde on HeVeA is exempt")
            << "PAPER~1.tex" << int(TabHevea) << false << false << "";
        QTest::newRow("tilde on TtH is exempt")
            << "PAPER~1.tex" << int(TabTth) << false << false << "";
        QTest::newRow("tilde on TeX4ht")
            << "PAPER~1.tex" << int(TabTex4ht) << false << true << "PAPER_1.tex";
        QTest::newRow("tilde on DVI")
            << "PAPER~1.tex" << int(TabDvi) << false << true << "PAPER_1.tex";
        QTest::newRow("tilde with long names")
            << "a~b.tex" << int(TabPdf) << true << true << "a_b.tex";
        QTest::newRow("blank with short names")
            << "my paper.tex" << int(TabL2h) << false << true << "my_paper.tex";
        QTest::newRow("blank with long names")
            << "my paper.tex" << int(TabL2h) << true << false << "";
        QTest::newRow("blank and tilde")
            << "a b~c.tex" << int(TabDvi) << false << true << "a_b_c.tex";
        QTest::newRow("tilde in a folder") << "~work/a.tex" << int(TabDvi) << false << true << "";
        QTest::newRow("plain name") << "paper.tex" << int(TabDvi) << false << false << "";
    }
    void shortNameRule() {
        QFETCH(QString, name);
        QFETCH(int, tab);
        QFETCH(bool, longNames);
        QFETCH(bool, asks);
        QFETCH(QString, newName);
        for (Answer answer : {Answer::Yes, Answer::No, Answer::Cancel}) {
            Fixture f;
            f.ctx.settings.vars.longFileName = longNames;
            const QString file = f.write("docs/" + name);
            const QString destination = f.ctx.settings.vars.texDocs + "/" +
                                        (newName.isEmpty() ? QFileInfo(file).fileName() : newName);
            f.prompter.queueAnswer(answer);
            f.convert(file, tab);
            QCOMPARE(test::readAll(file), kSource);
            if (!asks) {
                QVERIFY(f.prompter.prompts().isEmpty());
                QCOMPARE(f.calls.size(), 1);
                QVERIFY(sameDocument(f.calls.first().source, file));
                break;
            }
            QCOMPARE(f.prompter.prompts().size(), 1);
            const Prompt& p = f.prompter.prompts().first();
            QString text = "TeX related programs may not be able to handle the ~ character in the "
                           "short file name\n" +
                           file + "\n\nCopy " + file + "  to " + f.ctx.settings.vars.texDocs + "\n";
            if (!newName.isEmpty())
                text += "changing name to " + newName + "\n";
            text += "\nand then redo?";
            QCOMPARE(p.text, text);
            QCOMPARE(p.title, QString("Long File Name Problem"));
            QCOMPARE(p.buttons, Buttons::YesNoCancel);
            QCOMPARE(p.icon, Icon::Exclamation);
            if (answer == Answer::Yes) {
                QCOMPARE(f.calls.size(), 1);
                QCOMPARE(f.calls.first().source, destination);
                QCOMPARE(f.model.text(ctl::cmbTeX), destination);
                QCOMPARE(test::readAll(destination), kSource);
                // The label was worked out for the copy.
                QVERIFY(f.model.caption(ctl::lblPath)
                            .contains(QFileInfo(destination).completeBaseName()));
            } else if (answer == Answer::No) {
                QCOMPARE(f.calls.size(), 1);
                QVERIFY(sameDocument(f.calls.first().source, file));
                QVERIFY(!QFile::exists(destination));
            } else {
                QVERIFY(f.calls.isEmpty());
                QVERIFY(!QFile::exists(destination));
                QCOMPARE(f.model.text(ctl::cmbTeX), file);
            }
        }
    }

    void shortNameRuleWithoutTeXDocs() {
        Fixture f;
        f.ctx.settings.paths.texDocsExists = false;
        const QString file = f.write("a~b.tex");
        f.convert(file, TabDvi);
        QCOMPARE(f.prompter.prompts().size(), 1);
        const Prompt& p = f.prompter.prompts().first();
        QCOMPARE(p.text, "TeX related programs may not be able to handle the ~ character in the "
                         "short file name\n" +
                             file + "\n\n");
        QCOMPARE(p.buttons, Buttons::Ok);
        QCOMPARE(p.title, QString("Long File Name Problem"));
        QVERIFY(f.calls.isEmpty());
    }

    // Another document of the same name in the TeX documents directory is
    // only replaced when the user agrees.
    void shortNameCopyOverAnotherFile() {
        for (Answer replace : {Answer::No, Answer::Yes}) {
            Fixture f;
            const QString file = f.write("x~y/paper.tex");
            const QString other = f.write("TeX Docs/paper.tex", "other document");
            f.prompter.queueAnswer(Answer::Yes);
            f.prompter.queueAnswer(replace);
            f.convert(file, TabPdf);
            QCOMPARE(f.prompter.prompts().size(), 2);
            QCOMPARE(f.prompter.prompts().at(1).title, QString("Save"));
            QCOMPARE(f.prompter.prompts().at(1).defaultButton, Answer::No);
            if (replace == Answer::No) {
                QCOMPARE(test::readAll(other), QByteArray("other document"));
                QVERIFY(f.calls.isEmpty());
            } else {
                QCOMPARE(test::readAll(other), kSource);
                QCOMPARE(f.calls.size(), 1);
                QCOMPARE(f.calls.first().source, other);
            }
        }
    }

    void helpTabCallsNoDriver() {
        Fixture f;
        f.convert(f.write("a.tex"), TabHelp);
        QVERIFY(f.calls.isEmpty());
        QVERIFY(f.prompter.prompts().isEmpty());
    }

    void viewLogState_data() {
        QTest::addColumn<int>("tab");
        QTest::addColumn<bool>("logWritten");
        QTest::addColumn<bool>("enabled");
        QTest::newRow("HeVeA log written") << int(TabHevea) << true << true;
        QTest::newRow("TtH without log") << int(TabTth) << false << false;
        QTest::newRow("TeX4ht log written") << int(TabTex4ht) << true << true;
        QTest::newRow("LaTeX2HTML log written") << int(TabL2h) << true << true;
        QTest::newRow("DVI log written") << int(TabDvi) << true << true;
        QTest::newRow("PDF without log") << int(TabPdf) << false << false;
    }
    void viewLogState() {
        QFETCH(int, tab);
        QFETCH(bool, logWritten);
        QFETCH(bool, enabled);
        Fixture f;
        const QString file = f.write("a.tex");
        const QString log = f.tmp.filePath("a.log");
        f.setDriver(tab, [&](const QString&) {
            if (logWritten)
                f.write("a.log", "log");
            // Each driver names its route's log, present or not.
            QString* logSlots[] = {nullptr,
                                   &logOf(f.ctx.logs, "hevea"),
                                   &logOf(f.ctx.logs, "tth"),
                                   &logOf(f.ctx.logs, "tex4ht"),
                                   &logOf(f.ctx.logs, "latex2html"),
                                   &logOf(f.ctx.logs, "dvi"),
                                   &logOf(f.ctx.logs, "dvi")};
            *logSlots[tab] = log;
        });
        f.model.setEnabled(ctl::cmdLog, !enabled);
        f.convert(file, tab);
        QCOMPARE(f.model.isEnabled(ctl::cmdLog), enabled);
        QCOMPARE(currentLogFile(f.ctx), log);
        f.model.setIndex(ctl::tbstrip, TabHelp);
        QCOMPARE(currentLogFile(f.ctx), QString());
    }

    // A log header or page fix-up that could not be written marks the run.
    void failedRewritesAreTold() {
        Fixture f;
        const QString file = f.write("a.tex");
        const QString log = f.tmp.filePath("gone/a.tlog");
        for (Route& route : f.routes)
            if (tabOf(f.routes, route) == TabTth)
                route.driver = [&](Conversion&) {
                    replaceFileAtomically(log, "header", Durability::NoWait);
                    return ConversionResult{file, {}, LogVerdict::Clean};
                };
        f.ctx.routes = f.routes;
        f.model.setText(ctl::cmbTeX, file);
        f.model.setIndex(ctl::tbstrip, TabTth);
        const std::optional<ConversionResult> result = cmdConvert_Click(f.ctx);
        QVERIFY(result);
        QCOMPARE(result->verdict, LogVerdict::Errors);
        QCOMPARE(f.prompter.prompts().size(), 1);
        QVERIFY(f.prompter.prompts().first().text.contains(log + ": "));
    }

    void smallHelpers() {
        QCOMPARE(PathOnly("/dir/a.tex"), QString("/dir/"));
        QCOMPARE(PathOnly("a.tex"), QString("a.tex"));
        QCOMPARE(PathOnly("/a.tex"), QString("/"));
        QCOMPARE(GetShortFileName("/My Files/PAPER~1.tex"), QString("/My Files/PAPER~1.tex"));
    }
};

MORVANE_TEST_GUILESS_MAIN(TestConvertCommand)
#include "tst_convertcommand.moc"
