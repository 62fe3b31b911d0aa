#pragma once

#include <QIcon>
#include <functional>

namespace morvane {

// An icon that `make` makes when it is first drawn or asked about, so that
// nothing is looked up for it (the icon theme, the image plugins that might
// read its file) until a window shows it.
QIcon deferredIcon(std::function<QIcon()> make);

} // namespace morvane
