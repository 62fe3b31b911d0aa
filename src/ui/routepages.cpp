#include "ui/routepages.h"

#include <QHash>

namespace morvane {

namespace {

QHash<QString, RoutePageBuilder>& builders() {
    static QHash<QString, RoutePageBuilder> registered;
    return registered;
}

} // namespace

void registerRoutePage(const QString& form, RoutePageBuilder build) {
    builders().insert(form, std::move(build));
}

QWidget* buildRoutePage(const QString& form, QWidget* parent) {
    const auto it = builders().constFind(form);
    return it == builders().constEnd() ? nullptr : (*it)(parent);
}

} // namespace morvane
