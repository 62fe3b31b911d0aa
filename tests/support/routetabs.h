#pragma once

#include "pipeline/route.h"

namespace morvane {

// The tab of a built-in route, by its batch-mode name.
inline int builtInTab(const char* key) {
    return tabOf(builtInRoutes(), *routeForKey(builtInRoutes(), QLatin1String(key)));
}

// The tabs of the built-in routes as the tests name them.
inline const int TabHevea = builtInTab("hevea");
inline const int TabTth = builtInTab("tth");
inline const int TabTex4ht = builtInTab("tex4ht");
inline const int TabL2h = builtInTab("latex2html");
inline const int TabDvi = builtInTab("dvi");
inline const int TabPdf = builtInTab("pdf");
inline const int TabLatexml = builtInTab("latexml");
inline const int TabHelp = helpTab(builtInRoutes());

} // namespace morvane

namespace morvane {

// The remembered log of a built-in route, by its batch-mode name.
inline QString& logOf(RouteLogs& logs, const char* key) {
    return logs[*routeForKey(builtInRoutes(), QLatin1String(key))];
}

} // namespace morvane
