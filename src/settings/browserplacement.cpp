#include "settings/browserplacement.h"

#include <QSettings>

namespace morvane {

namespace {

const QString kGroup = QStringLiteral("Browser");

// Measures a window can have: positive sizes, positions within reach.
constexpr int kLimit = 32767;

std::optional<int> number(const QSettings& store, const QString& key, int low, int high) {
    bool ok = false;
    const int value = store.value(key).toString().trimmed().toInt(&ok);
    if (!ok || value < low || value > high)
        return std::nullopt;
    return value;
}

} // namespace

std::optional<BrowserPlacement> readBrowserPlacement(QSettings& store) {
    store.beginGroup(kGroup);
    const auto state = number(store, QStringLiteral("WindowState"), 0, 2);
    const auto left = number(store, QStringLiteral("Left"), -kLimit, kLimit);
    const auto top = number(store, QStringLiteral("Top"), -kLimit, kLimit);
    const auto height = number(store, QStringLiteral("Height"), 1, kLimit);
    const auto width = number(store, QStringLiteral("Width"), 1, kLimit);
    store.endGroup();
    if (!state)
        return std::nullopt;
    BrowserPlacement placement{*state, {}};
    if (left && top && height && width)
        placement.normalGeometry = QRect(*left, *top, *width, *height);
    else if (*state == 0)
        return std::nullopt;
    return placement;
}

void writeBrowserPlacement(QSettings& store, const BrowserPlacement& placement) {
    store.beginGroup(kGroup);
    store.setValue(QStringLiteral("WindowState"), QString::number(placement.state));
    const QRect& g = placement.normalGeometry;
    store.setValue(QStringLiteral("Left"), QString::number(g.x()));
    store.setValue(QStringLiteral("Top"), QString::number(g.y()));
    store.setValue(QStringLiteral("Height"), QString::number(g.height()));
    store.setValue(QStringLiteral("Width"), QString::number(g.width()));
    store.endGroup();
}

} // namespace morvane
