#pragma once

#include <QString>
#include <QStringList>
#include <functional>

namespace morvane {

// Starting programs without waiting and opening files with the desktop's
// associated program.
class Shell {
public:
    virtual ~Shell() = default;
    // Opens a file or URL with its associated program; false when the desktop
    // could not (reported to the user as "no associated program").
    virtual bool open(const QString& fileOrUrl) = 0;
    // Starts a program detached; false when it could not be started.
    virtual bool startDetached(const QString& program, const QStringList& arguments) = 0;
    // The plain-text editor that stands in for "Notepad"; empty when
    // none is installed.
    virtual QString notepad() const = 0;
};

// Whether the desktop names a program for the file's type (or one of its
// parent types), as xdg-mime reports it; true when that cannot be told.
bool hasAssociatedProgram(const QString& file);

class DesktopShell : public Shell {
public:
    // xdg-open runs in the background; when it ends with a failure status
    // (nothing handles the file's type, no browser) `report` gets the file,
    // so that the window can say so instead of staying silent.
    void setOpenFailureReport(std::function<void(const QString& fileOrUrl)> report) {
        m_report = std::move(report);
    }
    // The opener to run (xdg-open unless a test names another).
    void setOpener(const QString& program) { m_opener = program; }

    bool open(const QString& fileOrUrl) override;
    bool startDetached(const QString& program, const QStringList& arguments) override;
    QString notepad() const override;

private:
    std::function<void(const QString&)> m_report;
    QString m_opener = QStringLiteral("xdg-open");
};

} // namespace morvane
