#include "tex4ht/tex4htcommand.h"

#include "fixups/tex4htpackage.h"
#include "pipeline/appcontext.h"
#include "platform/pathutils.h"
#include "settings/controlnames.h"
#include "tex4ht/tex4htoptions.h"

namespace morvane {

namespace {

QString S(const char* text) {
    return QString::fromLatin1(text);
}

constexpr int kElementCount = 6;

// The document's base name: the file box's file name cut before the source
// extension (its letter case kept: Linux file names are case-sensitive).
QString documentBaseName(const AppContext& ctx) {
    return withoutSourceExtension(fileNameOf(ctx.convertFile()), ctx.sourceExtension);
}

// Element 5 with the images folder put before its closing quote.
QString withImagesFolder(QString options, const QString& folder) {
    if (options.isEmpty() || options == S("\"\""))
        return S("\"html,imgdir:") + folder + S("/\"");
    const qsizetype earlier = options.indexOf(S(",imgdir:"));
    if (earlier >= 0)
        options = options.left(earlier) + S("\"");
    const qsizetype closing = options.lastIndexOf(QLatin1Char('"'));
    const QString part = S(",imgdir:") + folder + S("/");
    if (closing > 0)
        return options.left(closing) + part + options.mid(closing);
    return options + part;
}

void applyHtrun(QStringList& args, const QString& packageLine, bool fromAdvancedDialog) {
    args[0] = S("htrun");
    if (args[1].isEmpty())
        args[1] = S("-ht");
    if (packageLine.isEmpty() || fromAdvancedDialog)
        return;
    QString options = packageLineOptions(packageLine);
    if (options.contains(S("xhtml,mathml"))) {
        args[1] = S("-xhm");
        options.replace(S(",mathml"), QString());
    } else if (options.contains(S("xhtml,mozilla"))) {
        args[1] = S("-mz");
        options.replace(S(",mozilla"), QString());
    } else if (options.contains(S("xhtml"))) {
        args[1] = S("-xh");
    }
    args[4] = options;
}

// make4ht in place of htlatex: its switches before the document, no passes
// (make4ht runs LaTeX as often as the document needs, and a number after the
// document would be taken for tex4ht.sty's options).
void applyMake4ht(const OptionsModel& model, QStringList& args) {
    const Make4htFormat format = make4htFormatAt(model.index(ctl::cmbMake4htFormat));
    // tex4ebook takes make4ht's switches and makes the e-book.
    args[0] = format == Make4htFormat::Epub3 ? S("tex4ebook") : S("make4ht");
    args[1] = make4htSwitches(format, make4htEngineAt(model.index(ctl::cmbMake4htEngine)));
    args[3].clear();
}

} // namespace

QString make4htSwitches(Make4htFormat format, Make4htEngine engine) {
    QString engineSwitch;
    if (engine == Make4htEngine::LuaLatex)
        engineSwitch = S("-l ");
    else if (engine == Make4htEngine::XeLatex)
        engineSwitch = S("-x ");
    return engineSwitch + S("-f ") + make4htFormatWord(format);
}

QStringList tex4htArguments(const OptionsModel& model) {
    QStringList args = model.items(ctl::tex4htArgs);
    while (args.size() < kElementCount)
        args.append(QString());
    return args.mid(0, kElementCount);
}

QString packageLineOptions(const QString& packageLine) {
    const QString options = packageLineOptionsOf(packageLine);
    return options.isEmpty() ? QString() : QLatin1Char('"') + options + QLatin1Char('"');
}

bool isXhtBatch(const QString& program) {
    return program == S("xhlatex") || program == S("xht");
}

QStringList optionTokensOf(const QString& optionText) {
    QString text = optionText;
    text.remove(QLatin1Char('"')).remove(QLatin1Char('[')).remove(QLatin1Char(']'));
    QStringList tokens;
    for (const QString& token : text.split(QLatin1Char(','), Qt::SkipEmptyParts))
        tokens.append(token.trimmed().toLower());
    return tokens;
}

QString tex4htResultExtension(const AppContext& ctx, bool keptPackageLine) {
    const OptionsModel& model = *ctx.model;
    const QStringList args = tex4htArguments(model);
    const QString packageLine = model.tag(ctl::txt3);
    const QStringList tokens =
        optionTokensOf(packageLine.isEmpty() ? args.at(4) : packageLineOptionsOf(packageLine));
    const bool htm = tokens.contains(S("htm"));
    if (model.isChecked(ctl::chkMake4ht)) {
        const QString document =
            make4htDocumentExtension(make4htFormatAt(model.index(ctl::cmbMake4htFormat)));
        if (!document.isEmpty())
            return document;
    }
    if (!model.isChecked(ctl::chkHtrun)) {
        if (htm)
            return S(".htm");
        return tokens.contains(S("mozilla")) ? S(".xml") : S(".html");
    }
    const QStringList element5 = optionTokensOf(args.at(4));
    if (args.at(1) == S("-mz") && element5.contains(S("xht")))
        return S(".xht");
    if (args.at(1) == S("-mz") && !keptPackageLine && !element5.contains(S("mathplayer")))
        return S(".xml");
    return htm ? S(".htm") : S(".html");
}

QString tex4htShowCaption(const AppContext& ctx) {
    const QString extension = tex4htResultExtension(ctx);
    if (extension == S(".xml"))
        return S("Sh&ow XML File");
    if (extension == S(".xht"))
        return S("Sh&ow XHT File");
    if (extension == S(".odt"))
        return S("Sh&ow ODT file");
    if (extension == S(".epub"))
        return S("Sh&ow EPUB file");
    return S("Sh&ow HTML file");
}

QString currentStoredOptions(const OptionsModel& model) {
    const QString stored = model.tag(ctl::cmdAdvanced);
    if (stored.contains(QLatin1Char('$')))
        return stored;
    const QStringList args = tex4htArguments(model);
    const QString packageLine = model.tag(ctl::txt3);
    QString options = packageLine.isEmpty() ? args.at(4) : packageLineOptionsOf(packageLine);
    options.remove(QLatin1Char('"'));
    QString program = args.at(0);
    if (!args.at(1).isEmpty())
        program += QLatin1Char(' ') + args.at(1);
    if (!packageLine.isEmpty() && program == S("htlatex"))
        program = S("ht latex");
    return args.at(5) + S("$") + options + S("*") + program + S("^") +
           (packageLine.isEmpty() ? QString() : S("usepackage"));
}

void storeTex4htOptions(OptionsModel& model, const Tex4htComposition& composition) {
    model.setTag(ctl::cmdAdvanced, composition.storedString());
    model.setTag(ctl::txt3, composition.packageLine());
    QStringList args = tex4htArguments(model);
    args[0] = composition.program;
    args[1] = composition.htrunSwitch;
    args[4] = composition.commandLineOptions;
    args[5] = composition.furtherArguments;
    model.setItems(ctl::tex4htArgs, args);
}

void updatePassesControl(AppContext& ctx) {
    OptionsModel& model = *ctx.model;
    bool enabled = false;
    if (model.isChecked(ctl::chkMake4ht))
        enabled = false; // make4ht decides the passes itself
    else if (model.isChecked(ctl::chkSWP))
        enabled = true;
    else if (ctx.latexCount)
        enabled =
            model.isChecked(ctl::chkHtrun) && tex4htArguments(model).at(0).startsWith(S("htrun"));
    model.setEnabled(ctl::cmbPasses, enabled);
    model.setEnabled(ctl::lblPasses, enabled);
}

void composeTex4htCommandLine(AppContext& ctx) {
    OptionsModel& model = *ctx.model;
    if (model.tag(ctl::txt3Locked) == S("no"))
        return; // the user is editing the command line by hand
    updatePassesControl(ctx);

    QStringList args = tex4htArguments(model);
    const QString packageLine = model.tag(ctl::txt3);
    const bool make4ht = model.isChecked(ctl::chkMake4ht);
    const bool htrun = model.isChecked(ctl::chkHtrun) && !make4ht;
    const bool swp = model.isChecked(ctl::chkSWP) && !make4ht;

    args[2] = quoteForCommandLine(documentBaseName(ctx));
    if (!make4ht && (args[0] == S("make4ht") || args[0] == S("tex4ebook"))) {
        args[0].clear(); // back to htlatex below
        args[1].clear();
    }
    if (htrun)
        applyHtrun(args, packageLine, model.tag(ctl::cmdAdvancedReturning) == S("yes"));
    else
        args[1].clear();

    // TeX4ht's batch file for Scientific WorkPlace documents is xhlatex here.
    static const QStringList plainBatches{S("htlatex"), S("ht latex"), S("htrun"), QString()};
    if (!htrun && swp && plainBatches.contains(args[0]))
        args[0] = S("xhlatex");
    else if (!htrun && !swp && (isXhtBatch(args[0]) || args[0] == S("htrun") || args[0].isEmpty()))
        args[0] = packageLine.isEmpty() ? S("htlatex") : S("ht latex");
    if (args[0] == S("xht"))
        args[0] = S("xhlatex");

    if (packageLine.startsWith(S("\\usepackage")))
        args[4].clear(); // the options travel in the document

    if (make4ht)
        applyMake4ht(model, args);
    else if (model.isEnabled(ctl::cmbPasses) && !isXhtBatch(args[0])) {
        const QStringList passes = model.items(ctl::cmbPasses);
        const int index = model.index(ctl::cmbPasses);
        const QString text = index >= 0 && index < passes.size() ? passes.at(index) : QString();
        args[3] = text.isEmpty() || text == S("Default") ? S("3") : text;
    } else {
        args[3].clear();
    }

    const QString images = model.text(ctl::txtImages);
    if (!packageLine.startsWith(S("\\usepackage")) && model.isChecked(ctl::chkImages) &&
        !images.isEmpty())
        args[4] = withImagesFolder(args[4], images);
    if (args[4] == S("\"html\""))
        args[4].clear();

    model.setItems(ctl::tex4htArgs, args);
    if (const Route* route = ctx.selectedRoute(); route && route->showCaption)
        model.setCaption(ctl::cmdShow, route->showCaption(ctx));
    // Empty elements leave no gap; a blank inside a quoted file name stays.
    QStringList words;
    for (const QString& arg : args)
        if (!arg.trimmed().isEmpty())
            words.append(arg.trimmed());
    model.setText(ctl::txt3, words.join(QLatin1Char(' ')));
}

} // namespace morvane
