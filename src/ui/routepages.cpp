#include "ui/routepages.h"

#include <QHash>

namespace morvane {

namespace {

QHash<QString, RoutePage>& registered() {
    static QHash<QString, RoutePage> pages;
    return pages;
}

} // namespace

void registerRoutePage(const QString& form, RoutePageBuilder build,
                       std::optional<FormControls> controls) {
    registered().insert(form, RoutePage{std::move(build), std::move(controls)});
}

RoutePage routePage(const QString& form) {
    return registered().value(form);
}

} // namespace morvane
