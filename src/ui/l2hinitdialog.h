#pragma once

#include <QByteArray>
#include <QDialog>
#include <memory>

namespace Ui {
class L2hInitDialog;
}

namespace morvane {

struct AppContext;

// "Adjust Init File (Advanced Settings)": the init file's automatic part as
// the LaTeX2HTML tab makes it, read-only, and the user's part to edit. OK
// checks the user's part when asked and rewrites the init file; Save keeps
// an experiment in Settings.txt, Open shows that file in the text editor.
class L2hInitDialog : public QDialog {
    Q_OBJECT
public:
    // `userPart`: the init file's user part as it is on disk.
    L2hInitDialog(AppContext& ctx, const QByteArray& userPart, QWidget* parent = nullptr);
    ~L2hInitDialog() override;

    void accept() override;
    void done(int result) override;

private:
    QByteArray userPartToWrite() const;
    void saveExperiment();
    void openSavedSettings();

    AppContext& m_ctx;
    std::unique_ptr<Ui::L2hInitDialog> m_ui;
    QString m_initPath;
    QString m_settingsLog;
    QByteArray m_userOnDisk;
    QString m_userShown;
};

// The "Ad&just Init File" button: opens the dialog modally over `parent`
// for the document in the file box.
void showL2hInitDialog(AppContext& ctx, QWidget* parent);

} // namespace morvane
