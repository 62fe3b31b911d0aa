#include "ui/mainwindow.h"

#include "app/shutdown.h"
#include "pipeline/appcontext.h"

#include <QCloseEvent>

namespace morvane {

struct MainWindow::Private {
    AppContext* ctx;
};

MainWindow::MainWindow(AppContext& ctx, QWidget* parent)
    : QMainWindow(parent), d(new Private{&ctx}) {
    setWindowTitle(QStringLiteral("Morvane"));
}

MainWindow::~MainWindow() = default;

void MainWindow::focusFileBox() {}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (unloadStep(*d->ctx))
        event->accept();
    else
        event->ignore();
}

} // namespace morvane
