// The route table: one row per route, in the order of the tab strip.

#include "drivers/dvipdf.h"
#include "drivers/hevea.h"
#include "drivers/latex2html.h"
#include "drivers/tex4ht.h"
#include "drivers/tth.h"
#include "pipeline/appcontext.h"
#include "settings/controlnames.h"

namespace morvane {

namespace {

QString html(const AppContext&) {
    return QStringLiteral("HTML");
}

QString heveaOutputKind(const AppContext& ctx) {
    return Extend(ctx.settings.vars.heveaOutputExtension, QStringLiteral("U"));
}

using SV = SettingsVariables;

// texi2dvi does what texify did; a texify found on PATH is accepted too.
constexpr RouteProgram kTexify{"Texify", &SV::texify, {"texi2dvi", "texify"}, true};

const Route kRoutes[] = {
    {"hevea",
     TabHevea,
     "HeVeA",
     heveaOutputKind,
     ResultKind::WebPage,
     LogKind::Hevea,
     {"Hevea", &SV::hevea, {"hevea", nullptr}, true},
     nullptr,
     heveaPlace,
     nullptr,
     nullptr,
     false,
     Hevea},
    {"tth",
     TabTth,
     "TtH",
     html,
     ResultKind::WebPage,
     LogKind::Tth,
     {"Tth", &SV::tth, {"tth", nullptr}, true},
     nullptr,
     tthPlace,
     nullptr,
     nullptr,
     false,
     Tth},
    {"tex4ht",
     TabTex4ht,
     "TeX4ht",
     html,
     ResultKind::WebPage,
     LogKind::Tex4ht,
     {"Tex4ht", &SV::tex4ht, {"tex4ht", nullptr}, true},
     nullptr,
     tex4htPlace,
     &SV::tex4htSaveTo,
     ctl::lblSaveTo,
     true,
     TeX4ht},
    {"latex2html",
     TabL2h,
     "LaTeX2HTML",
     html,
     ResultKind::WebPage,
     LogKind::L2h,
     {"L2h", &SV::l2h, {"l2hconf.pm", nullptr}, false},
     nullptr,
     l2hPlace,
     &SV::l2hSaveTo,
     ctl::lblSavelatex2,
     true,
     l2h},
    {"dvi", TabDvi, "DVI", [](const AppContext&) { return QStringLiteral("DVI"); },
     ResultKind::Document, LogKind::DviPdf, kTexify, ctl::chkTexify(0), dviPlace, nullptr, nullptr,
     true, TeXtoDVI},
    {"pdf", TabPdf, "PDF", [](const AppContext&) { return QStringLiteral("PDF"); },
     ResultKind::Document, LogKind::DviPdf, kTexify, ctl::chkTexify(1), pdfPlace, nullptr, nullptr,
     true, TeXtoPDF},
};

} // namespace

RouteTable builtInRoutes() {
    return kRoutes;
}

} // namespace morvane
