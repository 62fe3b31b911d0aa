#include "drivers/dvipdf.h"

#include "pipeline/outputplace.h"

namespace morvane {

OutputPlace dviPlace(const AppContext& ctx, const QString& file) {
    return placeBesideSource(ctx, file, QStringLiteral(".dvi"));
}

OutputPlace pdfPlace(const AppContext& ctx, const QString& file) {
    return placeBesideSource(ctx, file, QStringLiteral(".pdf"));
}

} // namespace morvane
