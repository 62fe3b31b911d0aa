#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <optional>

namespace morvane {
struct Conversion;
struct LinkRules;
} // namespace morvane

namespace morvane::fixups {

// The link opener and the image opener, as they are searched (any case).
inline constexpr QByteArrayView linkOpener = "href=\"";
inline constexpr QByteArrayView imageOpener = "src=\"";

// The line with the target of its first link rewritten, or nothing when the
// line has no complete first link or its target stays as it is.
std::optional<QByteArray> rewriteFirstLink(Conversion& conv, const LinkRules& rules,
                                           QByteArrayView line, const QString& pageName);

} // namespace morvane::fixups
