#pragma once

#include "ui/modelbinder.h"

#include <QString>
#include <functional>
#include <optional>

class QWidget;

namespace morvane {

// Fills `page`, an empty page of the tab strip, with a route's form.
using RoutePageBuilder = std::function<void(QWidget* page)>;

struct RoutePage {
    RoutePageBuilder build; // empty for a form never registered
    // The form's named controls as it makes them (boundControlsOf a page
    // just built). A page whose form lists them is built when it is first
    // needed; one whose form does not, at once.
    std::optional<FormControls> controls;
};

// Makes the page of the form named `form` (a route's `form`) buildable. The
// main window registers its own forms; a later registration of a name
// replaces the earlier one.
void registerRoutePage(const QString& form, RoutePageBuilder build,
                       std::optional<FormControls> controls = std::nullopt);
// The registration of `form`, copied: a window keeps the builders it started with.
RoutePage routePage(const QString& form);

} // namespace morvane
