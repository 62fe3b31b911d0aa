#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

namespace morvane {

// What the check found for one route: its programs, and a real conversion
// of a tiny document in a temporary folder.
struct RouteCheck {
    enum class Status { Works, ErrorsInLog, Fails, Missing };
    QString caption;      // "HeVeA", "TtH", ...
    QStringList programs; // "hevea 2.36", "tex4ht", "latex: not found"
    Status status = Status::Fails;
    qint64 milliseconds = -1; // the conversion's time; -1 when none ran
    QString detail;           // the first error of the log, or why nothing ran
};

QString statusText(RouteCheck::Status status);

// Checks every route in tab order, with the settings of Morvane.ini;
// `checked` is told of each route as soon as it is done.
QList<RouteCheck> checkConverters(const std::function<void(const RouteCheck&)>& checked = {});

// One aligned line per route.
QString checkReport(const QList<RouteCheck>& checks);

// `morvane --check`: prints the report, exits 0 only when every route works.
int runConverterCheck();

} // namespace morvane
