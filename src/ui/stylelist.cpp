#include "ui/stylelist.h"

#include "pipeline/appcontext.h"
#include "settings/controlnames.h"

namespace morvane {

namespace {

const ctl::Control kList = ctl::List1;

// The separator stands at index 5: the styles above it are full.
bool separatorAtFive(const QStringList& items) {
    return items.size() > 5 && items.at(5) == styleListSeparator();
}

void moveTo(OptionsModel& model, QStringList items, int from, int to) {
    items.move(from, to);
    model.setItems(kList, items);
    model.setIndex(kList, to);
}

} // namespace

QString styleListSeparator() {
    return QString(26, QLatin1Char('-'));
}

void cmdUp_Click(AppContext& ctx) {
    OptionsModel& model = *ctx.model;
    const QStringList items = model.items(kList);
    const int u = model.index(kList);
    if (u < 1 || u >= items.size())
        return;
    if ((u == 5 || u == 6) && separatorAtFive(items))
        return;
    moveTo(model, items, u, u - 1);
}

void cmdDown_Click(AppContext& ctx) {
    OptionsModel& model = *ctx.model;
    const QStringList items = model.items(kList);
    const int u = model.index(kList);
    if (u < 0 || u >= items.size() - 1)
        return;
    if (u >= 5 && items.at(u) == styleListSeparator())
        return;
    moveTo(model, items, u, u + 1);
}

bool dropStyle(AppContext& ctx, int source, int target) {
    OptionsModel& model = *ctx.model;
    QStringList items = model.items(kList);
    if (source < 0 || source >= items.size() || target < 0)
        return false;
    int t = qMin(target, int(items.size()));
    if (source >= 6 && t < 6 && separatorAtFive(items))
        return false;
    if (items.at(source) == styleListSeparator() && t >= 7)
        t = 6;
    items.insert(t, items.at(source));
    items.removeAt(t < source ? source + 1 : source);
    model.setItems(kList, items);
    model.setIndex(kList, source >= t ? t : t - 1);
    return true;
}

} // namespace morvane
