// The route table: one row per route, in the order of the tab strip. A row
// holds everything that is particular to its route; the rest of the program
// reads it from here.

#include "drivers/dvipdf.h"
#include "drivers/hevea.h"
#include "drivers/latex2html.h"
#include "drivers/latexml.h"
#include "drivers/pandoc.h"
#include "drivers/tex4ht.h"
#include "drivers/tth.h"
#include "pipeline/appcontext.h"
#include "pipeline/batchdriver.h"
#include "settings/controlnames.h"
#include "settings/latexmlsettings.h"
#include "tex4ht/tex4htcommand.h"

namespace morvane {

namespace {

QString html(const AppContext&) {
    return QStringLiteral("HTML");
}

QString heveaOutputKind(const AppContext& ctx) {
    return Extend(ctx.settings.vars.heveaOutputExtension, QStringLiteral("U"));
}

QList<NeededProgram> heveaPrograms(const OptionsModel&) {
    return {{"hevea", "hevea", "-version"}};
}

QList<NeededProgram> tthPrograms(const OptionsModel&) {
    return {{"tth", "tth", "-h"}};
}

// With "Use make4ht" ticked, make4ht runs in place of htlatex.
QList<NeededProgram> tex4htPrograms(const OptionsModel& options) {
    const NeededProgram driver = options.isChecked(ctl::chkMake4ht)
                                     ? NeededProgram{"make4ht", "texlive-extra-utils", "--version"}
                                     : NeededProgram{"htlatex", "texlive-plain-generic", nullptr};
    return {driver,
            {"tex4ht", "texlive-binaries", nullptr},
            {"t4ht", "texlive-binaries", nullptr},
            {"dvipng", "dvipng", "--version"}};
}

QList<NeededProgram> l2hPrograms(const OptionsModel&) {
    return {{"latex2html", "latex2html", "-v"}, {"latex", "texlive-latex-base", "--version"}};
}

QList<NeededProgram> dviPrograms(const OptionsModel&) {
    return {{"latex", "texlive-latex-base", "--version"}};
}

QList<NeededProgram> pdfPrograms(const OptionsModel&) {
    return {{"pdflatex", "texlive-latex-base", "--version"}};
}

QList<NeededProgram> latexmlPrograms(const OptionsModel&) {
    return {{"latexmlc", "latexml", "--VERSION"}};
}

QList<NeededProgram> pandocPrograms(const OptionsModel&) {
    return {{"pandoc", "pandoc", "--version"}};
}

// "HTML", "EPUB", "DOCX" or "ODT": what Run and Show open.
QString pandocResultWord(const AppContext& ctx) {
    return pandocExtension(pandocFormatAt(ctx.model->index(ctl::cmbPandocFormat))).mid(1).toUpper();
}

using SV = SettingsVariables;

// texi2dvi does what texify did; a texify found on PATH is accepted too.
constexpr RouteProgram kTexify{"Texify", &SV::texify, {"texi2dvi", "texify"}, true};

// What TeX4ht (and LaTeX under it) reads back on its next run.
constexpr const char* kTex4htWorkingFiles[] = {"%1.xref", "%1.4tc", "%1.4ct", "%1.tmp",
                                               "%1.lg",   "%1.idv", "%1.aux", "%1.dvi"};
// LaTeX2HTML's scratch folder, which it clears only when it ends well.
constexpr const char* kL2hWorkingFiles[] = {"TMP"};
// LaTeXML's cache of the pictures it made, a database a cut-short run breaks.
constexpr const char* kLatexmlWorkingFiles[] = {"LaTeXML.cache"};

const Route kRoutes[] = {
    {.key = "hevea",
     .caption = "HeVeA",
     .tabCaption = "He&VeA",
     .form = "tab_hevea",
     .helpLine = "HeVeA: web pages (split by hacha), plain text or info files",
     .resultWord = heveaOutputKind,
     .showCaption = nullptr,
     .shows = ResultKind::WebPage,
     .logSlot = "hevea",
     .parseLog = parseHeveaLog,
     .program = {"Hevea", &SV::hevea, {"hevea", nullptr}, true},
     .programBox = nullptr,
     .neededPrograms = heveaPrograms,
     .iniSection = "Hevea",
     .iniKeys = heveaIniKeys(),
     .locations = heveaLocationRows(),
     .settingsBlock = heveaSettings,
     .scriptRoute = "hevea",
     .place = heveaPlace,
     .outputRoot = nullptr,
     .outputRootLabel = nullptr,
     .needsPlainFileName = false,
     .driver = Hevea},
    {.key = "tth",
     .caption = "TtH",
     .tabCaption = "&TtH",
     .form = "tab_tth",
     .helpLine = "TtH: one web page, mathematics as HTML",
     .resultWord = html,
     .showCaption = nullptr,
     .shows = ResultKind::WebPage,
     .logSlot = "tth",
     .parseLog = parseTthLog,
     .program = {"Tth", &SV::tth, {"tth", nullptr}, true},
     .programBox = nullptr,
     .neededPrograms = tthPrograms,
     .iniSection = "Tth",
     .iniKeys = tthIniKeys(),
     .locations = tthLocationRows(),
     .settingsBlock = tthSettings,
     .scriptRoute = "tth",
     .place = tthPlace,
     .outputRoot = nullptr,
     .outputRootLabel = nullptr,
     .needsPlainFileName = false,
     .driver = Tth},
    {.key = "tex4ht",
     .caption = "TeX4ht",
     .tabCaption = "TeX&4ht",
     .form = "tab_tex4ht",
     .helpLine = "TeX4ht (htlatex or make4ht): web pages in a folder of their own",
     .resultWord = html,
     .showCaption = tex4htShowCaption,
     .shows = ResultKind::WebPage,
     .logSlot = "tex4ht",
     .parseLog = parseLatexLog,
     .program = {"Tex4ht", &SV::tex4ht, {"tex4ht", nullptr}, true},
     .programBox = nullptr,
     .neededPrograms = tex4htPrograms,
     .iniSection = "TeX4ht",
     .iniKeys = tex4htIniKeys(),
     .locations = tex4htLocationRows(),
     .settingsBlock = tex4htSettings,
     .scriptRoute = "tex4ht",
     .place = tex4htPlace,
     .outputRoot = &SV::tex4htSaveTo,
     .outputRootLabel = ctl::lblSaveTo,
     .needsPlainFileName = true,
     .driver = TeX4ht,
     .tabSelected = tex4htTabSelected,
     .workingFiles = kTex4htWorkingFiles},
    {.key = "latex2html",
     .caption = "LaTeX2HTML",
     .tabCaption = "LaTeX&2HTML",
     .form = "tab_l2h",
     .helpLine = "LaTeX2HTML: web pages in a folder of their own, pictures of formulas",
     .resultWord = html,
     .showCaption = nullptr,
     .shows = ResultKind::WebPage,
     .logSlot = "l2h",
     .parseLog = parseL2hLog,
     .program = {"L2h", &SV::l2h, {"l2hconf.pm", nullptr}, false},
     .programBox = nullptr,
     .neededPrograms = l2hPrograms,
     .iniSection = "LaTeX2HTML",
     .iniKeys = l2hIniKeys(),
     .locations = l2hLocationRows(),
     .settingsBlock = l2hSettings,
     .scriptRoute = "latex2html",
     .place = l2hPlace,
     .outputRoot = &SV::l2hSaveTo,
     .outputRootLabel = ctl::lblSavelatex2,
     .needsPlainFileName = true,
     .driver = l2h,
     .workingFiles = kL2hWorkingFiles},
    {.key = "dvi",
     .caption = "DVI",
     .tabCaption = "&DVI",
     .form = "tab_dvi",
     .helpLine = "latex (or texi2dvi when texify is ticked): a DVI file",
     .resultWord = [](const AppContext&) { return QStringLiteral("DVI"); },
     .showCaption = nullptr,
     .shows = ResultKind::Document,
     .logSlot = "dvipdf",
     .parseLog = parseLatexLog,
     .program = kTexify,
     .programBox = ctl::chkTexify(0),
     .neededPrograms = dviPrograms,
     // DVI and PDF share the section and the Texify row; the DVI route holds them.
     .iniSection = "Texify",
     .iniKeys = texifyIniKeys(),
     .locations = texifyLocationRows(),
     .settingsBlock = texifySettings,
     .scriptRoute = "dvi",
     .place = dviPlace,
     .outputRoot = nullptr,
     .outputRootLabel = nullptr,
     .needsPlainFileName = true,
     .driver = TeXtoDVI},
    {.key = "pdf",
     .caption = "PDF",
     .tabCaption = "&PDF",
     .form = "tab_pdf",
     .helpLine = "pdflatex (or texi2dvi --pdf when texify is ticked): a PDF file",
     .resultWord = [](const AppContext&) { return QStringLiteral("PDF"); },
     .showCaption = nullptr,
     .shows = ResultKind::Document,
     .logSlot = "dvipdf",
     .parseLog = parseLatexLog,
     .program = kTexify,
     .programBox = ctl::chkTexify(1),
     .neededPrograms = pdfPrograms,
     .iniSection = "Texify",
     .iniKeys = {},
     .locations = {},
     .settingsBlock = texifySettings,
     .scriptRoute = "pdf",
     .place = pdfPlace,
     .outputRoot = nullptr,
     .outputRootLabel = nullptr,
     .needsPlainFileName = true,
     .driver = TeXtoPDF},
    {.key = "latexml",
     .caption = "LaTeXML",
     // No letter: every letter of "LaTeXML" is taken in the window already.
     .tabCaption = "LaTeXML",
     .form = "tab_latexml",
     .helpLine = "LaTeXML (latexmlc): HTML5 or XHTML with MathML, or JATS XML, in a folder of "
                 "its own",
     .resultWord = latexmlResultWord,
     .showCaption = nullptr,
     .shows = ResultKind::WebPage,
     .logSlot = "latexml",
     .parseLog = parseLatexmlLog,
     .program = {"Latexml", &SV::latexml, {"latexmlc", nullptr}, true, true},
     .programBox = nullptr,
     .neededPrograms = latexmlPrograms,
     .iniSection = "LaTeXML",
     .iniKeys = latexmlIniKeys(),
     .locations = latexmlLocationRows(),
     .settingsBlock = latexmlSettings,
     .scriptRoute = "latexml",
     .place = latexmlPlace,
     .outputRoot = &SV::latexmlSaveTo,
     .outputRootLabel = ctl::lblLatexmlSaveTo,
     // latexmlc runs no shell with the document's name.
     .needsPlainFileName = false,
     .driver = Latexml,
     .workingFiles = kLatexmlWorkingFiles,
     .opensWithDesktop = latexmlOpensWithDesktop},
    // Every letter of "Pandoc" is an Alt letter of the window already.
    {.key = "pandoc",
     .caption = "Pandoc",
     .tabCaption = "Pandoc",
     .form = "tab_pandoc",
     .helpLine = "pandoc: a web page with MathML, an e-book (EPUB 3), DOCX or ODT",
     .resultWord = pandocResultWord,
     .showCaption = nullptr,
     .shows = ResultKind::WebPage,
     .logSlot = "pandoc",
     .parseLog = parsePandocLog,
     .program = {"Pandoc", &SV::pandoc, {"pandoc", nullptr}, true, true},
     .programBox = nullptr,
     .neededPrograms = pandocPrograms,
     .iniSection = "Pandoc",
     .iniKeys = pandocIniKeys(),
     .locations = pandocLocationRows(),
     .settingsBlock = pandocSettings,
     .scriptRoute = "pandoc",
     .place = pandocPlace,
     .outputRoot = &SV::pandocSaveTo,
     .outputRootLabel = ctl::lblPandocSaveTo,
     // pandoc takes the names as arguments and runs no shell with them.
     .needsPlainFileName = false,
     .driver = Pandoc},
};

} // namespace

RouteTable builtInRoutes() {
    return kRoutes;
}

} // namespace morvane
