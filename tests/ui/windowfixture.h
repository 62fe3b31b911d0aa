#pragma once

// The main window on a test program directory, with scripted message boxes
// and a recording shell; every route's program counts as found.

#include "app/optionhandlers.h"
#include "pipeline/appcontext.h"
#include "support/doubles.h"
#include "support/testhome.h"
#include "ui/mainwindow.h"

#include <QDebug>
#include <memory>

namespace morvane::test {

struct WindowFixture {
    TestHome home{false};
    OptionsModel model;
    ScriptedPrompter prompter;
    RecordingShell shell;
    AppContext ctx;
    std::unique_ptr<MainWindow> window;

    explicit WindowFixture(RouteTable routes = builtInRoutes()) {
        ctx.routes = routes;
        ctx.programDir = home.path();
        ctx.model = &model;
        ctx.seams.prompter = &prompter;
        ctx.seams.shell = &shell;
        ctx.settings.vars.upgradeNoticeShown = true;
        for (const Route& route : routes)
            ctx.settings.paths.setProgramFound(tabOf(routes, route), true);
        connectOptionHandlers(ctx);
        window = std::make_unique<MainWindow>(ctx);
    }
    template <typename T> T* find(const QString& name) const {
        T* w = window->widgetNamed<T>(name);
        if (!w)
            qWarning() << "no control" << name;
        return w;
    }
};

} // namespace morvane::test
