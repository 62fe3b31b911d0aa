#pragma once

#include <QString>

class QWidget;

namespace morvane {

// The directory chooser used by the output-root and location buttons.
class FolderChooser {
public:
    virtual ~FolderChooser() = default;
    // The chosen directory, or an empty string when the user cancelled.
    virtual QString chooseDirectory(const QString& prompt) = 0;
};

class QtFolderChooser : public FolderChooser {
public:
    explicit QtFolderChooser(QWidget* owner = nullptr) : m_owner(owner) {}
    QString chooseDirectory(const QString& prompt) override;

private:
    QWidget* m_owner;
};

} // namespace morvane
