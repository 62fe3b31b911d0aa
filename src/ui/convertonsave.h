#pragma once

#include <QObject>
#include <QString>

namespace morvane {

struct AppContext;
class SaveWatcher;

// "Convert on save" (`chkWatch`) of the main window's lower frame (without an
// Alt letter: every letter of its caption belongs to another control on some
// tab, and those captions come first): while it
// is ticked, the file in the file box is converted on the selected tab, and
// converted again whenever it or a file it reads is saved. A page that the
// built-in browser shows is reloaded where the reader was.
class ConvertOnSave : public QObject {
    Q_OBJECT
public:
    explicit ConvertOnSave(AppContext& ctx, QObject* parent = nullptr);
    ~ConvertOnSave() override;

    bool isWatching() const { return m_watcher != nullptr; }

private:
    void start();
    void stop();
    void follow(const QString& file);
    void convert();

    AppContext& m_ctx;
    SaveWatcher* m_watcher = nullptr;
    QString m_file;
    bool m_converting = false;
    bool m_again = false;
};

} // namespace morvane
