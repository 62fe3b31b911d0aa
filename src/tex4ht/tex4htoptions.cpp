#include "tex4ht/tex4htoptions.h"

namespace morvane {

namespace {

QString S(const char* text) {
    return QString::fromLatin1(text);
}

const QChar kQuote = QLatin1Char('"');

// Puts `piece` inside a quoted argument, before its closing quote; an empty
// argument becomes the quoted piece.
QString insideQuotes(const QString& argument, const QString& piece) {
    if (argument.isEmpty())
        return kQuote + piece + kQuote;
    return argument.left(argument.size() - 1) + piece + kQuote;
}

QString pictureWord(PictureFormat format) {
    switch (format) {
    case PictureFormat::Gif:
        return S("gif");
    case PictureFormat::Png:
        return S("png");
    case PictureFormat::Jpg:
        return S("jpg");
    case PictureFormat::None:
        break;
    }
    return {};
}

QString tex4htArgumentOf(const Tex4htOptions& options) {
    QString argument;
    if (options.font == Tex4htFont::Symbol)
        argument = kQuote + S("symbol/!") + kQuote;
    else if (options.font == Tex4htFont::Unicode)
        argument = kQuote + S("unicode/!") + kQuote;
    if (options.glyphs != PictureFormat::None)
        argument = insideQuotes(argument, S(" -g.") + pictureWord(options.glyphs));
    if (options.noPictures)
        argument = insideQuotes(argument, S(" -p"));
    return argument;
}

QString formatTokens(const Tex4htOptions& options) {
    switch (options.format) {
    case Tex4htFormat::Html40:
        return S("html");
    case Tex4htFormat::Html32:
        return S("html,3.2");
    case Tex4htFormat::TextBased:
        return S("html,0.0");
    case Tex4htFormat::BitmapMaths:
        return options.usePackage ? S("xhtml") : QString();
    case Tex4htFormat::MathMl:
        return options.usePackage ? S("xhtml,mathml") : QString();
    case Tex4htFormat::MathMlMozilla:
        return options.usePackage ? S("xhtml,mozilla") : QString();
    }
    return {};
}

const char* const kPictureTokens[] = {"pic-array",   "pic-eqnarray", "pic-displaylines",
                                      "pic-tabbing", "pic-tabular",  "pic-align"};

QStringList optionTokens(const Tex4htOptions& options) {
    QStringList tokens;
    const auto add = [&tokens](bool on, const QString& token) {
        if (on && !token.isEmpty())
            tokens.append(token.split(QLatin1Char(',')));
    };
    add(true, formatTokens(options));
    add(true, pictureWord(options.images));
    add(options.info, S("info"));
    add(options.htm, S("htm"));
    const bool sections = options.sectionDepth > 0;
    add(sections, QString::number(options.sectionDepth));
    add(sections && options.tocLinks, S("sections+"));
    add(sections && options.nextLinks, S("next"));
    add(options.frames, S("frames"));
    add(options.mathPlayer, S("mathplayer"));
    add(options.xht, S("xht"));
    add(options.footnote, S("fn-in"));
    for (std::size_t i = 0; i < options.picturesFor.size(); ++i)
        add(options.picturesFor[i], S(kPictureTokens[i]));
    add(options.mouseover, S("mouseover"));
    add(!options.imagesFolder.isEmpty(), S("imgdir:") + options.imagesFolder + S("/"));
    return tokens;
}

bool holdsHtmlToken(const QStringList& tokens) {
    return tokens.contains(S("html")) || tokens.contains(S("xhtml"));
}

QString packageOptionsOf(const Tex4htOptions& options) {
    const bool config = options.useConfig && !options.configName.isEmpty();
    QStringList tokens = optionTokens(options);
    if (!config) {
        if (tokens == QStringList{S("html")})
            return {}; // html is tex4ht's default
        if (!tokens.isEmpty() && !holdsHtmlToken(tokens))
            tokens.prepend(S("html"));
        return tokens.join(QLatin1Char(','));
    }
    if (!tokens.isEmpty() && !holdsHtmlToken(tokens))
        tokens.prepend(S("html"));
    tokens.prepend(options.configName);
    return tokens.join(QLatin1Char(','));
}

QString htrunSwitchOf(const Tex4htOptions& options) {
    if (options.altSwitch && !options.switchText.isEmpty())
        return S(" -") + options.switchText;
    switch (options.format) {
    case Tex4htFormat::BitmapMaths:
        return S(" -xh");
    case Tex4htFormat::MathMl:
        return S(" -xhm");
    case Tex4htFormat::MathMlMozilla:
        return S(" -mz");
    default:
        return S(" -ht");
    }
}

// A batch path with three backslashes in a row is cut before them.
QString withoutTripleBackslash(const QString& program) {
    const qsizetype cut = program.indexOf(S("\\\\\\"));
    return cut >= 0 ? program.left(cut) : program;
}

// "html" as an option token becomes "xhtml"; a name that merely holds the
// letters (a configuration called myhtml) stays.
QString htmlTokensToXhtml(const QString& list) {
    QStringList tokens = list.split(QLatin1Char(','));
    for (QString& token : tokens)
        if (token == S("html"))
            token = S("xhtml");
    return tokens.join(QLatin1Char(','));
}

QString singleSpacedJoin(const QStringList& parts) {
    QStringList words;
    for (const QString& part : parts)
        if (!part.trimmed().isEmpty())
            words.append(part.trimmed());
    return words.join(QLatin1Char(' '));
}

} // namespace

QString Tex4htComposition::packageLine() const {
    if (mode != S("usepackage"))
        return {};
    return S("\\usepackage[") + packageOptions + S("]{tex4ht}");
}

QString Tex4htComposition::storedString() const {
    return tex4htArgument + S("$") + packageOptions + S("*") + programAndSwitch + S("^") + mode;
}

QString Tex4htComposition::commandLine() const {
    return singleSpacedJoin({program, htrunSwitch, commandLineOptions, furtherArguments});
}

Tex4htComposition composeTex4htOptions(const Tex4htOptions& options) {
    Tex4htComposition c;
    c.tex4htArgument = tex4htArgumentOf(options);
    c.packageOptions = packageOptionsOf(options);

    const QString htrunSwitch = htrunSwitchOf(options);
    if (options.htrun) {
        c.programAndSwitch = S("htrun ") + htrunSwitch.mid(1);
    } else if (options.otherBatch) {
        c.programAndSwitch = withoutTripleBackslash(options.batchName);
        if (options.usePackage)
            c.mode = S("usepackage");
    } else if (options.usePackage) {
        c.programAndSwitch = S("ht latex");
        c.mode = S("usepackage");
    } else {
        c.programAndSwitch = S("htlatex");
    }

    const qsizetype dash = c.programAndSwitch.indexOf(S(" -"));
    if (dash >= 0) {
        c.program = c.programAndSwitch.left(dash);
        c.htrunSwitch = c.programAndSwitch.mid(dash + 1);
    } else {
        c.program = c.programAndSwitch;
    }

    if (c.mode.isEmpty()) {
        if (!c.packageOptions.isEmpty()) {
            const QString list =
                options.isXhtmlFormat() ? htmlTokensToXhtml(c.packageOptions) : c.packageOptions;
            c.commandLineOptions = kQuote + list + kQuote;
        } else if (c.tex4htArgument.size() > 2) {
            // The tex4ht options are the second argument; an empty first
            // one keeps them there.
            c.commandLineOptions = S("\"\"");
        }
    }
    c.furtherArguments = c.tex4htArgument;
    return c;
}

QString storedOptionPart(const QString& stored, int part, bool htrunOn) {
    const QString text = stored.toLower();
    const qsizetype dollar = text.indexOf(QLatin1Char('$'));
    if (dollar < 0)
        return {};
    const qsizetype star = text.indexOf(QLatin1Char('*'), dollar + 1);
    const qsizetype caret = text.indexOf(QLatin1Char('^'), star < 0 ? dollar + 1 : star + 1);
    const auto between = [&text](qsizetype from, qsizetype to) {
        if (from < 0)
            return QString();
        return to < 0 ? text.mid(from) : text.mid(from, to - from);
    };
    switch (part) {
    case 1: {
        QString first = text.left(dollar);
        if (htrunOn)
            first.remove(S("\"html\" ")).remove(S("\"xhtml\" "));
        return first;
    }
    case 2:
        return between(dollar + 1, star);
    case 3:
        return star < 0 ? QString() : between(star + 1, caret);
    case 4:
        return caret < 0 ? QString() : text.mid(caret + 1);
    default:
        return {};
    }
}

namespace {

PictureFormat pictureFormatOf(const QString& word) {
    if (word == S("gif"))
        return PictureFormat::Gif;
    if (word == S("png"))
        return PictureFormat::Png;
    if (word == S("jpg"))
        return PictureFormat::Jpg;
    return PictureFormat::None;
}

bool isKnownToken(const QString& token) {
    static const QStringList known{
        S("html"), S("xhtml"),  S("3.2"),        S("0.0"),  S("mathml"), S("mozilla"),
        S("gif"),  S("png"),    S("jpg"),        S("info"), S("htm"),    S("sections+"),
        S("next"), S("frames"), S("mathplayer"), S("xht"),  S("fn-in"),  S("mouseover")};
    bool number = false;
    token.toInt(&number);
    return number || known.contains(token) || token.startsWith(S("pic-")) ||
           token.startsWith(S("imgdir:"));
}

// The value a stored (lower-cased) text stood for: the default when it is the
// same text in another letter case.
QString keepingCase(const QString& lowered, const QString& original) {
    return original.compare(lowered, Qt::CaseInsensitive) == 0 ? original : lowered;
}

void readTex4htArgument(const QString& argument, Tex4htOptions& options) {
    if (argument.contains(S("symbol/!")))
        options.font = Tex4htFont::Symbol;
    else if (argument.contains(S("unicode/!")))
        options.font = Tex4htFont::Unicode;
    const QStringList words =
        QString(argument).remove(kQuote).split(QLatin1Char(' '), Qt::SkipEmptyParts);
    for (const QString& word : words) {
        if (word.startsWith(S("-g.")))
            options.glyphs = pictureFormatOf(word.mid(3));
        else if (word == S("-p"))
            options.noPictures = true;
    }
}

void readPackageOptions(const QString& list, Tex4htOptions& options, const QString& configCase) {
    const QStringList tokens = list.split(QLatin1Char(','), Qt::SkipEmptyParts);
    for (qsizetype i = 0; i < tokens.size(); ++i) {
        const QString& token = tokens.at(i);
        if (i == 0 && !isKnownToken(token)) {
            options.useConfig = true;
            options.configName = keepingCase(token, configCase);
            continue;
        }
        bool number = false;
        const int depth = token.toInt(&number);
        if (number && token != S("3.2") && token != S("0.0")) {
            options.sectionDepth = depth;
            continue;
        }
        for (std::size_t p = 0; p < options.picturesFor.size(); ++p)
            if (token == S(kPictureTokens[p]))
                options.picturesFor[p] = true;
        if (const PictureFormat image = pictureFormatOf(token); image != PictureFormat::None)
            options.images = image;
        options.info |= token == S("info");
        options.htm |= token == S("htm");
        options.tocLinks |= token == S("sections+");
        options.nextLinks |= token == S("next");
        options.frames |= token == S("frames");
        options.mathPlayer |= token == S("mathplayer");
        options.xht |= token == S("xht");
        options.footnote |= token == S("fn-in");
        options.mouseover |= token == S("mouseover");
    }
    if (tokens.contains(S("mozilla")))
        options.format = Tex4htFormat::MathMlMozilla;
    else if (tokens.contains(S("mathml")))
        options.format = Tex4htFormat::MathMl;
    else if (tokens.contains(S("xhtml")))
        options.format = Tex4htFormat::BitmapMaths;
    else if (tokens.contains(S("0.0")))
        options.format = Tex4htFormat::TextBased;
    else if (tokens.contains(S("3.2")))
        options.format = Tex4htFormat::Html32;
}

void readProgram(const QString& programAndSwitch, const QString& mode, Tex4htOptions& options,
                 const QString& batchCase) {
    options.usePackage = mode == S("usepackage");
    if (programAndSwitch.startsWith(S("htrun"))) {
        options.htrun = true;
        const QString htrunSwitch = programAndSwitch.mid(6);
        static const QStringList formatSwitches{S("-ht"), S("-xh"), S("-xhm"), S("-mz")};
        const qsizetype known = formatSwitches.indexOf(htrunSwitch);
        if (known == 1)
            options.format = Tex4htFormat::BitmapMaths;
        else if (known == 2)
            options.format = Tex4htFormat::MathMl;
        else if (known == 3)
            options.format = Tex4htFormat::MathMlMozilla;
        else if (known < 0 && htrunSwitch.startsWith(QLatin1Char('-'))) {
            options.altSwitch = true;
            options.switchText = htrunSwitch.mid(1);
        }
    } else if (programAndSwitch == S("ht latex")) {
        options.usePackage = true;
    } else if (programAndSwitch != S("htlatex") && !programAndSwitch.isEmpty()) {
        options.otherBatch = true;
        options.batchName = keepingCase(programAndSwitch, batchCase);
    }
}

} // namespace

Tex4htOptions optionsFromStored(const QString& stored, const Tex4htOptions& defaults) {
    if (!stored.contains(QLatin1Char('$')))
        return defaults;
    Tex4htOptions options;
    options.configName = defaults.configName;
    options.imagesFolder = defaults.imagesFolder;
    options.switchText = defaults.switchText;
    readTex4htArgument(storedOptionPart(stored, 1, false), options);
    readPackageOptions(storedOptionPart(stored, 2, false), options, defaults.configName);
    readProgram(storedOptionPart(stored, 3, false), storedOptionPart(stored, 4, false), options,
                defaults.batchName);
    return options;
}

QString configButtonCaption(Tex4htFormat format) {
    switch (format) {
    case Tex4htFormat::BitmapMaths:
        return S("Edit qvc&onfig-xh.cfg");
    case Tex4htFormat::MathMl:
        return S("Edit qvc&onfig-xhm.cfg");
    case Tex4htFormat::MathMlMozilla:
        return S("Edit qvc&onfig-mz.cfg");
    default:
        return S("Edit qvc&onfig.cfg");
    }
}

QString configNameForFormat(const QString& current, Tex4htFormat format) {
    static const QStringList own{S("qvconfig"), S("qvconfig-xh"), S("qvconfig-xhm"),
                                 S("qvconfig-mz")};
    QString bare = current.trimmed().toLower();
    if (bare.endsWith(S(".cfg")))
        bare.chop(4);
    if (!own.contains(bare))
        return current;
    switch (format) {
    case Tex4htFormat::BitmapMaths:
        return own.at(1);
    case Tex4htFormat::MathMl:
        return own.at(2);
    case Tex4htFormat::MathMlMozilla:
        return own.at(3);
    default:
        return own.at(0);
    }
}

std::optional<QString> advancedHelpText(const HelpTextInputs& in) {
    const QString p1 = S("If the TeX file doesn't include \\usepackage[options]{tex4ht}");
    const QString p2 = S("then it is added to a copy of the file.");
    const QString s1 = S("If the TeX file doesn't include \\RequirePackage[options]{swpht}");
    const QString s2 = S("then \\usepackage[options]{tex4ht} is added to a copy of the file.");
    const QString r1 = S("Htrun sends the appropriate commands to TeX4ht without requiring a "
                         "reference to the tex4ht package.");
    const QString r2 = S("Advanced options will be added to the command line.");
    const QString b1 = S("The chosen batch file will be run together with the options chosen.");
    const QString b2 = S("The left Status Bar shows the command line.");
    const QString l1 =
        S("Uses htlatex command without requiring a reference to the tex4ht package.");
    const QString x0 = S("Not a valid option. If htrun is not used for SWP files then");
    const QString x1 = S("you must use \\usepackage and the xht batch file");
    const QString x2 = S("you must use \\usepackage");
    const QString x3 = S("you must use the xht batch file");
    const QString h1 = S("Htrun will be run together with the options chosen.");
    const QString nl = S("\n");
    const QString sp = S(" ");

    if (in.htrun) {
        if (in.otherBatch)
            return std::nullopt;
        return in.usePackage ? p1 + sp + p2 + nl + h1 + sp + b2 : r1 + nl + r2;
    }
    if (!in.swp) {
        if (!in.otherBatch)
            return in.usePackage ? p1 + nl + p2 : l1 + nl + r2;
        return in.usePackage ? p1 + sp + p2 + nl + b1 + sp + b2 : b1 + nl + b2;
    }
    if (!in.otherBatch)
        return in.usePackage ? x0 + nl + x3 : x0 + nl + x1;
    return in.usePackage ? s1 + sp + s2 + nl + b1 + sp + b2 : x0 + nl + x2;
}

QString initialAdvancedHelpText() {
    return S("Most of the options are achieved by adding \\usepackage[options] {tex4ht} to a copy "
             "of the tex file.\n'Fonts' and 'Don't produce pictures' are added to the command "
             "line.");
}

} // namespace morvane
