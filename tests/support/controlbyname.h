#pragma once

#include "settings/controlnames.h"

#include <QString>
#include <QtGlobal>

namespace morvane::test {

// The control with this name, for tests whose names come from data rows.
// An unknown name stops the test: it would otherwise read the model's
// defaults and could pass by accident.
inline ctl::Control control(const QString& name) {
    const std::optional<ctl::Control> found = ctl::find(name);
    if (!found)
        qFatal("no control is named \"%s\"", qPrintable(name));
    return *found;
}

} // namespace morvane::test
