#include "pipeline/route.h"

#include "pipeline/appcontext.h"
#include "settings/pathcheck.h"

#include <QVector>

namespace morvane {

QString& RouteLogs::operator[](LogKind kind) {
    switch (kind) {
    case LogKind::Hevea:
        return hevea;
    case LogKind::Tth:
        return tth;
    case LogKind::Tex4ht:
        return tex4ht;
    case LogKind::L2h:
        return l2h;
    case LogKind::DviPdf:
        break;
    }
    return dviPdf;
}

const QString& RouteLogs::operator[](LogKind kind) const {
    return const_cast<RouteLogs&>(*this)[kind];
}

const Route* routeForTab(RouteTable routes, int tab) {
    for (const Route& route : routes) {
        if (route.tab == tab)
            return &route;
    }
    return nullptr;
}

const Route* routeForKey(RouteTable routes, const QString& key) {
    for (const Route& route : routes) {
        if (key == QLatin1String(route.key))
            return &route;
    }
    return nullptr;
}

void CheckPaths(AppContext& ctx) {
    QVector<ProgramRequirement> requirements;
    for (const Route& route : ctx.routes)
        requirements.append({route.tab, route.program});
    CheckPaths(ctx.settings, requirements);
}

} // namespace morvane
