#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

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

// The desktop entry (such as "org.gnome.Evince.desktop") the desktop names
// for the file's type or one of its parent types, as xdg-mime reports it;
// empty when it names none, and nullopt when that cannot be told.
std::optional<QString> associatedProgram(const QString& file);

// Whether the desktop names a program for the file's type; true when that
// cannot be told.
bool hasAssociatedProgram(const QString& file);

// An opening that started and then failed: the program the desktop named
// for the file and what the opener or that program said on ending.
struct OpenFailure {
    QString file;
    QString program; // the desktop entry; empty when unknown
    QString error;   // the last lines it wrote, or its exit status
};

class DesktopShell : public Shell {
public:
    // xdg-open runs in the background; when it ends with a failure status
    // (the program it started failed, no browser) `report` gets what went
    // wrong, so that the window can say so instead of staying silent.
    void setOpenFailureReport(std::function<void(const OpenFailure&)> report) {
        m_report = std::move(report);
    }
    // The opener to run (xdg-open unless a test names another).
    void setOpener(const QString& program) { m_opener = program; }

    bool open(const QString& fileOrUrl) override;
    bool startDetached(const QString& program, const QStringList& arguments) override;
    QString notepad() const override;

private:
    std::function<void(const OpenFailure&)> m_report;
    QString m_opener = QStringLiteral("xdg-open");
};

} // namespace morvane
