// Writebat against convert.sh's own reading of its settings block.
//
// Input, each piece ended by a NUL byte: the route key (a byte), the
// command line, the program locations (hevea, tth, texify, tex4ht,
// ImageMagick, gs library, htruns, htrunm, l2h, perl, netpbm), the HeVeA
// and TeX4ht controls (a byte of flags), the six TeX4ht pieces and the
// command-line box; then the batch driver's text. An empty text stands for
// the shipped data/convert.sh.
//
// The script's reading (read_settings in convert.sh) is written out here
// line for line; the fuzz.writebat test runs the real one over the seeds and
// compares. Invariants:
//  - when Writebat succeeds, the script reads every setting of the block as
//    the program meant it (the command line and paths as given, line breaks
//    as blanks) and every other setting as empty;
//  - the file before the settings block and from its end line on is kept
//    byte for byte;
//  - writing the same settings again changes no byte;
//  - when Writebat refuses, the file is left as it was.

#include "pipeline/appcontext.h"
#include "pipeline/batchdriver.h"
#include "settings/optionsmodel.h"
#include "support/fuzzsupport.h"

#include <QDir>
#include <QMap>
#include <cstdlib>

#ifndef MORVANE_SOURCE_DIR
#error "MORVANE_SOURCE_DIR names the source tree (for data/convert.sh)"
#endif

using namespace morvane;
using namespace morvane::fuzz;

namespace {

const QByteArray kMarker = "REM Morvane will be writing text here automatically";
// The variables read_settings knows, in the order the dumps list them.
const QStringList kNames = {"redir",         "progpath", "cmdline",   "cmdline2",  "code",
                            "delegate_path", "gs_lib",   "htrunpath", "L2HMODULE", "init",
                            "filepath",      "docdir",   "standins",  "prepared"};

using ScriptSettings = QMap<QString, QByteArray>;

// read_settings, as the script does it on the lines it is given: the shell
// drops NUL bytes; the loop skips to the line that is the marker (one CR
// removed), stops at a line beginning "REM **" and takes "set NAME=VALUE"
// lines of known names.
std::optional<ScriptSettings> scriptReading(const QByteArray& file) {
    const QList<QByteArray> lines = file.split('\n');
    ScriptSettings settings;
    for (const QString& name : kNames)
        settings[name] = QByteArray();
    bool inBlock = false;
    for (QByteArray line : lines) {
        line.replace('\0', QByteArray());
        if (line.endsWith('\r'))
            line.chop(1);
        if (!inBlock) {
            inBlock = line == kMarker;
            continue;
        }
        if (line.startsWith("REM **"))
            break;
        if (!line.startsWith("set ") || line.indexOf('=', 4) < 0)
            continue;
        const qsizetype equals = line.indexOf('=', 4);
        QString name = QString::fromUtf8(line.mid(4, equals - 4));
        if (name == QLatin1String("l2hmodule"))
            name = QStringLiteral("L2HMODULE");
        if (kNames.contains(name))
            settings[name] = line.mid(equals + 1);
    }
    if (!inBlock)
        return std::nullopt;
    return settings;
}

QByteArray oneLine(const QString& value) {
    QString v = value;
    v.replace(QLatin1Char('\r'), QLatin1Char(' '));
    v.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return v.toUtf8();
}

// What the block should set, stated here for the routes whose settings are
// plain copies; the composed TeX4ht and LaTeX2HTML blocks are taken from
// settingsBlock and checked for the values they copy.
ScriptSettings expectedSettings(const AppContext& ctx, const QString& commandLine,
                                const QString& key) {
    ScriptSettings s;
    for (const QString& name : kNames)
        s[name] = QByteArray();
    const SettingsVariables& v = ctx.settings.vars;
    const QByteArray redir = oneLine(ctx.programDir + QStringLiteral("/redir"));
    if (key == QLatin1String("hevea")) {
        s["redir"] = redir;
        s["progpath"] = oneLine(v.hevea);
        s["cmdline"] = oneLine(commandLine);
        const bool hacha = ctx.model->isChecked(ctl::chkHacha);
        const bool french = ctx.model->isChecked(ctl::chkFrench);
        s["cmdline2"] = !hacha ? "no" : french ? "-francais" : "";
        s["code"] = ctx.model->index(ctl::optCode) == 1 ? "x" : "";
    } else if (key == QLatin1String("tth")) {
        s["redir"] = redir;
        s["progpath"] = oneLine(v.tth);
        s["cmdline"] = oneLine(commandLine);
    } else if (key == QLatin1String("texify")) {
        s["progpath"] = oneLine(v.texify);
        s["cmdline"] = oneLine(commandLine);
    } else if (key == QLatin1String("gspdf")) {
        const qsizetype p = commandLine.indexOf(QChar(0x00A3));
        s["filepath"] = p < 0 ? QByteArray() : oneLine(commandLine.mid(p + 1));
        s["progpath"] = oneLine(ctx.programDir);
        s["cmdline"] = oneLine(p < 0 ? commandLine : commandLine.left(p));
    } else if (key == QLatin1String("tex4ht") || key == QLatin1String("l2h")) {
        const QByteArray block = settingsBlock(ctx, commandLine, key).toUtf8();
        FUZZ_CHECK(block.endsWith('\n') &&
                       block.count('\n') == (key == QLatin1String("l2h") ? 4 : 5),
                   shown(block));
        const std::optional<ScriptSettings> read =
            scriptReading(kMarker + '\n' + block + "REM **\n");
        FUZZ_CHECK(read.has_value(), shown(block));
        s = *read;
        if (key == QLatin1String("tex4ht")) {
            FUZZ_CHECK(s["progpath"] == oneLine(v.tex4ht), shown(block));
            FUZZ_CHECK(s["delegate_path"] == oneLine(v.imageMagick), shown(block));
            FUZZ_CHECK(s["gs_lib"] == oneLine(v.gsLib), shown(block));
        } else {
            FUZZ_CHECK(s["L2HMODULE"] == oneLine(v.l2h), shown(block));
            // The run's own copy of the init file comes in the command line's
            // place; without one the program's file is named.
            const QString init = commandLine.isEmpty()
                                     ? ctx.programDir + QStringLiteral("/LaTeX2HTML.init")
                                     : commandLine;
            FUZZ_CHECK(s["init"] == oneLine(init), shown(block));
        }
    }
    return s;
}

QString describe(const ScriptSettings& s) {
    QString text;
    for (const QString& name : kNames)
        text += name + QLatin1Char('=') + shown(s.value(name)) + QLatin1Char('\n');
    return text;
}

const QByteArray& shippedDriver() {
    static const QByteArray text =
        readScratchFile(QStringLiteral(MORVANE_SOURCE_DIR "/data/convert.sh"));
    return text;
}

// With MORVANE_FUZZ_DUMP set, each input that Writebat accepts leaves the
// written file and the settings read from it, for the real script to be
// compared with (fuzz/check-script-reading.sh).
void dump(const QByteArray& written, const ScriptSettings& read) {
    const char* dir = std::getenv("MORVANE_FUZZ_DUMP");
    if (!dir || !*dir)
        return;
    static int count = 0;
    const QString base =
        QString::fromLocal8Bit(dir) + QStringLiteral("/") + QString::number(++count);
    writeScratchFile(base + QStringLiteral(".sh"), written);
    QByteArray expected;
    for (const QString& name : kNames)
        expected += name.toUtf8() + '=' + read.value(name) + '\n';
    writeScratchFile(base + QStringLiteral(".expected"), expected);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 64 * 1024)
        return -1;
    static const char* const keys[] = {"hevea", "tth",   "texify", "tex4ht",
                                       "l2h",   "gspdf", "dvi",    "HeVeA"};
    Pieces in(data, size);
    const QString key = QString::fromLatin1(keys[in.small() % 8]);
    const QString commandLine = in.text();

    OptionsModel model;
    SilentPrompter prompter;
    AppContext ctx;
    ctx.model = &model;
    ctx.seams.prompter = &prompter;
    ctx.programDir = scratchDir() + QStringLiteral("/program dir");
    QDir().mkpath(ctx.programDir);
    SettingsVariables& v = ctx.settings.vars;
    for (QString* place : {&v.hevea, &v.tth, &v.texify, &v.tex4ht, &v.imageMagick, &v.gsLib,
                           &v.htrunS, &v.htrunM, &v.l2h, &v.perl, &v.netpbm})
        *place = in.text();
    const int flags = in.small();
    model.setCheckValue(ctl::chkHacha, flags & 1);
    model.setCheckValue(ctl::chkFrench, (flags >> 1) & 1);
    model.setIndex(ctl::optCode, (flags >> 2) & 1);
    model.setCheckValue(ctl::chkHtrun, (flags >> 3) & 1);
    model.setCheckValue(ctl::chkSWP, (flags >> 4) & 1);
    model.setTag(ctl::txt3Locked, (flags >> 5) & 1 ? QStringLiteral("no") : QString());
    QStringList pieces;
    for (int i = 0; i < ((flags >> 6) & 1 ? 6 : 3); ++i)
        pieces.append(in.text());
    model.setItems(ctl::tex4htArgs, pieces);
    model.setText(ctl::txt3, in.text());
    QByteArray text = in.rest();
    if (text.isEmpty())
        text = shippedDriver();

    const QString path = ctx.batchDriverPath();
    writeScratchFile(path, text);
    const bool written = Writebat(ctx, commandLine, key);
    const QByteArray after = readScratchFile(path);
    if (!written) {
        FUZZ_CHECK(after == text, shown(after));
        FUZZ_CHECK(prompter.messages == 1, QString::number(prompter.messages));
        return 0;
    }

    const std::optional<ScriptSettings> read = scriptReading(after);
    FUZZ_CHECK(read.has_value(), shown(after));
    const ScriptSettings expected = expectedSettings(ctx, commandLine, key.toLower());
    FUZZ_CHECK(*read == expected, QStringLiteral("the script reads:\n") + describe(*read) +
                                      QStringLiteral("the program meant:\n") + describe(expected) +
                                      QStringLiteral("file:\n") + shown(after));

    // The bytes around the block: up to and including the marker line the
    // script reads, and from the block's end line on.
    qsizetype markerAt = -1;
    for (qsizetype at = after.indexOf(kMarker); at >= 0 && markerAt < 0;
         at = after.indexOf(kMarker, at + 1)) {
        const QByteArray end = after.mid(at + kMarker.size(), 2);
        if ((at == 0 || after.at(at - 1) == '\n') && (end.startsWith('\n') || end == "\r\n"))
            markerAt = at;
    }
    FUZZ_CHECK(markerAt >= 0, shown(after));
    const qsizetype blockStart = after.indexOf('\n', markerAt) + 1;
    FUZZ_CHECK(text.left(blockStart) == after.left(blockStart), shown(after));
    const QByteArray block = settingsBlock(ctx, commandLine, key).toUtf8();
    FUZZ_CHECK(after.mid(blockStart, block.size()) == block, shown(after));
    QByteArray tail = text.mid(text.indexOf("\nREM **", blockStart - 1) + 1);
    if (!tail.endsWith('\n'))
        tail += '\n';
    FUZZ_CHECK(after.mid(blockStart + block.size()) == tail,
               QStringLiteral("tail kept:\n") + shown(tail) + QStringLiteral("\nwritten:\n") +
                   shown(after.mid(blockStart + block.size())));

    FUZZ_CHECK(Writebat(ctx, commandLine, key), shown(after));
    FUZZ_CHECK(readScratchFile(path) == after, shown(readScratchFile(path)));
    if (!text.contains('\0'))
        dump(after, *read);
    return 0;
}
