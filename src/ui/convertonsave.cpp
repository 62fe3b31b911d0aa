#include "ui/convertonsave.h"

#include "pipeline/appcontext.h"
#include "pipeline/convertcommand.h"
#include "pipeline/resultdisplay.h"
#include "pipeline/watchedfiles.h"
#include "platform/pathutils.h"
#include "platform/savewatcher.h"
#include "settings/optionsmodel.h"

#include <QDir>
#include <QFileInfo>
#include <QTimer>

namespace morvane {

namespace {

// While a watched document is converted again, the page it shows is
// reloaded in place rather than opened afresh at its top.
class ReloadingViewer : public ResultViewer {
public:
    explicit ReloadingViewer(ResultViewer* inner) : m_inner(inner) {}
    void show(const QString& file) override {
        m_inner->reloadKeepingScroll(file);
        shown = true;
    }
    void savePlacement() override { m_inner->savePlacement(); }
    bool shown = false;

private:
    ResultViewer* m_inner;
};

// How long a save waits while another conversion of the window is running.
constexpr int kBusyRetryMs = 250;

} // namespace

ConvertOnSave::ConvertOnSave(AppContext& ctx, QObject* parent) : QObject(parent), m_ctx(ctx) {
    connect(ctx.model, &OptionsModel::changed, this,
            [this](ctl::Control name, OptionsModel::Aspect aspect) {
                if (aspect != OptionsModel::Aspect::Value)
                    return;
                if (name == ctl::chkWatch) {
                    if (m_ctx.model->isChecked(ctl::chkWatch))
                        start();
                    else
                        stop();
                } else if (name == ctl::cmbTeX && m_watcher) {
                    // Another file in the box is followed from now on.
                    follow(m_ctx.convertFile());
                }
            });
}

ConvertOnSave::~ConvertOnSave() {
    stop();
}

void ConvertOnSave::start() {
    if (m_watcher)
        return;
    // LaTeX lists the files it reads in a recorder file (.fls) beside its
    // log; convert.sh asks for it while a document is watched.
    qputenv("MORVANE_RECORDER", "1");
    m_watcher = new SaveWatcher(300, this);
    connect(m_watcher, &SaveWatcher::saved, this, [this] { convert(); });
    follow(m_ctx.convertFile());
    convert();
}

void ConvertOnSave::stop() {
    if (!m_watcher)
        return;
    qunsetenv("MORVANE_RECORDER");
    delete m_watcher;
    m_watcher = nullptr;
    m_again = false;
}

void ConvertOnSave::follow(const QString& file) {
    m_file = file.isEmpty() ? QString() : QDir::cleanPath(QFileInfo(file).absoluteFilePath());
    if (m_watcher)
        m_watcher->setFiles(m_file.isEmpty() ? QStringList() : watchedFilesOf(m_file));
}

void ConvertOnSave::convert() {
    if (!m_watcher || m_file.isEmpty() || !QFileInfo(m_file).isFile())
        return;
    // A conversion in progress (ours, nested in its wait, or one the user
    // started) finishes first; the save is converted after it.
    if (m_converting || m_ctx.runningProcesses > 0 ||
        !m_ctx.model->items(ctl::lstProcesses).isEmpty()) {
        m_again = true;
        if (!m_converting)
            QTimer::singleShot(kBusyRetryMs, this, [this] {
                if (m_again) {
                    m_again = false;
                    convert();
                }
            });
        return;
    }
    m_converting = true;
    ResultViewer* viewer = m_ctx.seams.viewer;
    ReloadingViewer reloading(viewer);
    if (viewer)
        m_ctx.seams.viewer = &reloading;
    const std::optional<ConversionResult> result = cmdConvert_Click(m_ctx);
    m_ctx.seams.viewer = viewer;
    // Without "Run HTML file" the page is not shown, but a page the reader
    // has open in the built-in browser still shows the new version.
    if (viewer && !reloading.shown && result && result->produced && !result->output.isEmpty())
        viewer->reloadIfShowing(longPathOf(result->output));
    m_converting = false;
    if (!m_watcher)
        return; // unticked while it ran
    m_watcher->setFiles(watchedFilesAfter(m_file, result ? &*result : nullptr));
    m_watcher->recheck();
    if (m_again) {
        m_again = false;
        QTimer::singleShot(0, this, [this] { convert(); });
    }
}

} // namespace morvane
