#include "ui/pageforms.h"

#include "ui_tab_dvi.h"
#include "ui_tab_help.h"
#include "ui_tab_hevea.h"
#include "ui_tab_l2h.h"
#include "ui_tab_latexml.h"
#include "ui_tab_pandoc.h"
#include "ui_tab_pdf.h"
#include "ui_tab_tex4ht.h"
#include "ui_tab_tth.h"

#include <QHash>

namespace morvane {

using namespace Qt::StringLiterals;

namespace {

// Held against the forms by tests/ui/tst_pageforms.cpp, which prints a
// form's list as it should read when the two differ.
const QHash<QString, FormControls>& formTable() {
    static const QHash<QString, FormControls> table{
        {u"tab_hevea"_s,
         {
             {ctl::optOutput(0), {.caption = u"HTML"_s, .selected = true}},
             {ctl::optOutput(1), {.caption = u"Text"_s}},
             {ctl::optOutput(2), {.caption = u"Info"_s}},
             {ctl::chkFrench, {.caption = u"French &Mode"_s}},
             {ctl::cmbHeveaVerbose, {.items = {u"None"_s, u"Single"_s, u"Double"_s}}},
             {ctl::chkFix, {.caption = u"&Iterate for xrefs"_s}},
             {ctl::chkEsponja, {.caption = u"Espon&ja"_s}},
             {ctl::chkHacha, {.caption = u"   H&acha"_s}},
             {ctl::chkPrepareHevea,
              {.caption = u"Prepare references, bibliography and index"_s, .check = 1}},
             {ctl::chkVersion, {.caption = u"1.0&5 or later"_s}},
             {ctl::Frame12, {.caption = u"HeVeA Version"_s}},
             {ctl::optCode(1), {.caption = u"Native"_s}},
             {ctl::optCode(0), {.caption = u"Byte"_s, .selected = true}},
             {ctl::chkStyle, {.caption = u"Include &Style Files"_s}},
             {ctl::List1, {}},
             {ctl::lblListCover, {.caption = u""_s}},
             {ctl::cmdUp, {.caption = u"Up"_s}},
             {ctl::cmdDown, {.caption = u"Down"_s}},
             {ctl::Label18,
              {.caption =
                   u"Drag or use arrows to put styles in order that Hevea will use. Only those above the line will be used."_s}},
             {ctl::Label17, {.caption = u"Excluded &File:"_s}},
             {ctl::txtExclude, {}},
             {ctl::cmdSaveConfig, {.caption = u"Save Co&nfiguration"_s}},
             {ctl::cmdLoadConfig, {.caption = u"Load Confi&guration"_s}},
         }},
        {u"tab_tth"_s,
         {
             {ctl::chkItalics, {.caption = u"E&quations in italics"_s}},
             {ctl::chkNumber, {.caption = u"&Number only one line of multi-line equations"_s}},
             {ctl::chkInline, {.caption = u"&Inline graphics"_s}},
             {ctl::chkRevise, {.caption = u"Revise HTML file to re&move @hour etc"_s}},
             {ctl::chkPrepareTth,
              {.caption = u"Prepare references, bibliography and index"_s, .check = 1}},
         }},
        {u"tab_tex4ht"_s,
         {
             {ctl::lblSaveTo, {.caption = u"Files saved to a subdirectory of "_s}},
             {ctl::chkImages, {.caption = u"Put i&mages in subdirectory"_s}},
             {ctl::txtImages, {.text = u"images"_s}},
             {ctl::chkHtrun, {.caption = u"&Use htrun"_s}},
             {ctl::chkSWP, {.caption = u"Use &Scientific Workplace"_s}},
             {ctl::lblPasses, {.caption = u"&Number of LaTeX passes:"_s}},
             {ctl::cmbPasses, {.items = {u"Default"_s, u"1"_s, u"2"_s, u"3"_s}}},
             {ctl::chkTex4htPause, {.caption = u"Pause a&fter DOS"_s}},
             {ctl::cmdAdvanced, {.caption = u"&Advanced..."_s}},
             {ctl::chkMake4ht, {.caption = u"Use ma&ke4ht"_s}},
             {ctl::lblMake4htFormat, {.caption = u"Format:"_s}},
             {ctl::cmbMake4htFormat, {}},
             {ctl::lblMake4htEngine, {.caption = u"En&gine:"_s}},
             {ctl::cmbMake4htEngine, {}},
             {ctl::chkPrepareTex4ht,
              {.caption = u"Prepare references, bibliography and index"_s, .check = 1}},
             {ctl::lblManual, {.caption = u"Command line:"_s}},
             {ctl::cmbFrags, {}},
             {ctl::txt3, {}},
             {ctl::Label5, {.caption = u"May take a long time to convert"_s}},
             {ctl::Label35, {.caption = u""_s}},
         }},
        {u"tab_l2h"_s,
         {
             {ctl::lblSavelatex2, {.caption = u"Files saved to a subdirectory of "_s}},
             {ctl::optGifPng(0), {.caption = u"GIF"_s, .selected = true}},
             {ctl::optGifPng(1), {.caption = u"PNG"_s}},
             {ctl::optGifPng(2), {.caption = u"SVG"_s}},
             {ctl::chkImageDir, {.caption = u"Use Subdirectory"_s}},
             {ctl::chkNavigation, {.caption = u"Navigation Lin&ks"_s}},
             {ctl::chkAntiVirus, {.caption = u"Anti-Viru&s Reminder"_s}},
             {ctl::cmdInit, {.caption = u"Ad&just Init File"_s}},
             {ctl::chkPrepareL2h,
              {.caption = u"Prepare references, bibliography and index"_s, .check = 1}},
             {ctl::cmbSplit,
              {.items = {u"Default"_s, u"0"_s, u"1"_s, u"2"_s, u"3"_s, u"4"_s, u"5"_s, u"6"_s,
                         u"7"_s, u"8"_s}}},
             {ctl::cmbVerbosity,
              {.items = {u"Default"_s, u"0"_s, u"1"_s, u"2"_s, u"3"_s, u"4"_s, u"5"_s, u"6"_s,
                         u"7"_s, u"8"_s}}},
             {ctl::cmbAbout, {.items = {u"Default"_s, u"None"_s}, .text = u"Default"_s}},
             {ctl::cmbAddress, {.items = {u"Default"_s}, .text = u"Default"_s}},
             {ctl::cmbTitle, {.items = {u"Default"_s}, .text = u"Default"_s}},
             {ctl::Label25, {.caption = u"May take a long time to convert"_s}},
         }},
        {u"tab_dvi"_s,
         {
             {ctl::chkTexify(0), {.caption = u"&Use TeX&ify"_s}},
             {ctl::chkReport(0), {.caption = u"Report on wh&at is done"_s}},
             {ctl::Label6,
              {.caption =
                   u"Texify automatically runs (La)TeX, Makeindex (Texindex) and BibTeX as many times as necessary to produce a DVI file with sorted indices and all cross-references resolved."_s}},
         }},
        {u"tab_pdf"_s,
         {
             {ctl::chkTexify(1), {.caption = u"Use TeX&ify"_s}},
             {ctl::chkReport(1), {.caption = u"Report on wh&at is done"_s}},
             {ctl::chkSWPGS, {.caption = u"Use SWP + &Ghostscript"_s}},
             {ctl::cmdBat, {.caption = u"&Setup batch files"_s}},
             {ctl::Label15, {.caption = u"&Number of LaTeX passes:"_s}},
             {ctl::cmbpdfPasses, {.items = {u"Default"_s, u"1"_s, u"2"_s, u"3"_s, u"0"_s}}},
             {ctl::Label7,
              {.caption =
                   u"Texify automatically runs (La)TeX, Makeindex (Texindex) and BibTeX as many times as necessary to produce a DVI file with sorted indices and all cross-references resolved."_s}},
             {ctl::Label34, {.caption = u"Automating PDF production from SWP"_s}},
         }},
        {u"tab_latexml"_s,
         {
             {ctl::lblLatexmlSaveTo, {.caption = u"Files saved to a subdirectory of "_s}},
             {ctl::cmdLatexmlBrowse, {.caption = u"Change D&irectory"_s}},
             {ctl::cmbLatexmlFormat, {}},
             {ctl::cmbLatexmlSplit, {}},
             {ctl::optLatexmlMath(0), {.caption = u"As Math&ML"_s, .selected = true}},
             {ctl::optLatexmlMath(1), {.caption = u"As ima&ges"_s}},
             {ctl::chkLatexmlBibliography,
              {.caption = u"Bibliograph&y from the document's .bib files"_s, .check = 1}},
         }},
        {u"tab_pandoc"_s,
         {
             {ctl::lblPandocSaveTo, {.caption = u"Files saved to a subdirectory of "_s}},
             {ctl::cmdPandocBrowse, {.caption = u"Chan&ge Directory"_s}},
             {ctl::cmbPandocFormat, {}},
             {ctl::chkPandocStandalone,
              {.caption = u"&Standalone web page (its head, title and style)"_s, .check = 1}},
             {ctl::chkPandocToc, {.caption = u"Table of co&ntents"_s}},
             {ctl::chkPandocNumber, {.caption = u"N&umber the sections"_s}},
             {ctl::chkPandocCiteproc,
              {.caption = u"Citations and bibliography &from the document's .bib files"_s,
               .check = 1}},
             {ctl::txtPandocCsl, {}},
             {ctl::cmdPandocCsl, {.caption = u"Choose f&ile..."_s}},
         }},
        {u"tab_help"_s,
         {
             {ctl::chkMulti, {.caption = u"Allow multiple &conversions"_s}},
             {ctl::chkSettings, {.caption = u"S&ave Browser Window Size && Position"_s}},
             {ctl::chkSave, {.caption = u"&Save Preferences"_s}},
             {ctl::chkWarning, {.caption = u"&Warn if command line is too long"_s}},
             {ctl::cmbTabs, {}},
             {ctl::Label10, {.caption = u"morvane@example.org"_s}},
             {ctl::Label11, {.caption = u"https://morvane.example.org/"_s}},
             {ctl::Label19, {.caption = u"Hevea 1.05"_s}},
             {ctl::Label20, {.caption = u"Hevea for SWP"_s}},
             {ctl::Label21, {.caption = u"TeX4ht for MiKTeX"_s}},
             {ctl::Label22, {.caption = u"TeX4ht for SWP"_s}},
             {ctl::Label31, {.caption = u"Installation with MiKTeX"_s}},
             {ctl::lblDummy, {.caption = u""_s}},
             {ctl::lblVersion, {.caption = u"Morvane"_s}},
             {ctl::lblDateTime, {.caption = u""_s}},
         }},
    };
    return table;
}

template <typename Ui> QWidget* pageOf() {
    auto* page = new QWidget;
    Ui ui;
    ui.setupUi(page);
    return page;
}

} // namespace

QStringList pageForms() {
    return {u"tab_hevea"_s, u"tab_tth"_s,     u"tab_tex4ht"_s, u"tab_l2h"_s, u"tab_dvi"_s,
            u"tab_pdf"_s,   u"tab_latexml"_s, u"tab_pandoc"_s, u"tab_help"_s};
}

const FormControls& pageFormControls(const QString& form) {
    static const FormControls none;
    const auto it = formTable().constFind(form);
    return it == formTable().constEnd() ? none : *it;
}

QWidget* newPageOfForm(const QString& form) {
    static const QHash<QString, QWidget* (*)()> makers{
        {u"tab_hevea"_s, pageOf<Ui::HeveaTab>},     {u"tab_tth"_s, pageOf<Ui::TthTab>},
        {u"tab_tex4ht"_s, pageOf<Ui::Tex4htTab>},   {u"tab_l2h"_s, pageOf<Ui::L2hTab>},
        {u"tab_dvi"_s, pageOf<Ui::DviTab>},         {u"tab_pdf"_s, pageOf<Ui::PdfTab>},
        {u"tab_latexml"_s, pageOf<Ui::LatexmlTab>}, {u"tab_pandoc"_s, pageOf<Ui::PandocTab>},
        {u"tab_help"_s, pageOf<Ui::HelpTab>}};
    const auto make = makers.value(form);
    return make ? make() : nullptr;
}

} // namespace morvane
