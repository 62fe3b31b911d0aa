#pragma once

#include <QString>
#include <functional>

class QWidget;

namespace morvane {

// Builds a route's page of the tab strip from its Designer form.
using RoutePageBuilder = std::function<QWidget*(QWidget* parent)>;

// Makes the page of the form named `form` (a route's `form`) buildable. The
// main window registers its own forms; a later registration of a name
// replaces the earlier one.
void registerRoutePage(const QString& form, RoutePageBuilder build);
// The page of `form`, built under `parent`; nullptr for a form never registered.
QWidget* buildRoutePage(const QString& form, QWidget* parent);

} // namespace morvane
