#include "pipeline/route.h"

#include "pipeline/appcontext.h"
#include "settings/pathcheck.h"

#include <QVector>

namespace morvane {

int tabOf(RouteTable routes, const Route& route) {
    return int(&route - routes.data()) + 1;
}

int helpTab(RouteTable routes) {
    return int(routes.size()) + 1;
}

const Route* routeForTab(RouteTable routes, int tab) {
    if (tab < 1 || tab > int(routes.size()))
        return nullptr;
    return &routes[std::size_t(tab - 1)];
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
        requirements.append({tabOf(ctx.routes, route), route.program});
    CheckPaths(ctx.settings, requirements);
}

bool routeCanRun(const AppContext& ctx, const Route& route) {
    if (ctx.settings.paths.programFoundOn(tabOf(ctx.routes, route)))
        return true;
    return route.programBox && !ctx.model->isChecked(route.programBox);
}

QList<LocationRow> allLocationRows(RouteTable routes) {
    QList<LocationRow> rows(ownLocationRows().begin(), ownLocationRows().end());
    for (const Route& route : routes)
        rows.append(QList<LocationRow>(route.locations.begin(), route.locations.end()));
    return rows;
}

QList<IniKey> allIniKeys(RouteTable routes) {
    const std::span<const IniKey> own = ownIniKeys();
    QList<IniKey> keys;
    // [Paths] opens with the CD-ROM volume, then a key for each row of
    // Program Locations; the program's other keys follow.
    keys.append(own.front());
    for (const LocationRow& row : allLocationRows(routes))
        keys.append(locationIniKey(row.key, row.setting));
    keys.append(QList<IniKey>(own.begin() + 1, own.end()));
    for (const Route& route : routes)
        keys.append(QList<IniKey>(route.iniKeys.begin(), route.iniKeys.end()));
    keys.append(QList<IniKey>(trailingIniKeys().begin(), trailingIniKeys().end()));
    return keys;
}

} // namespace morvane
