#pragma once

#include "platform/folderchooser.h"

class QWidget;

namespace morvane {

// The folder chooser of the window: Qt's directory dialog with the prompt as
// its caption.
class QtFolderChooser : public FolderChooser {
public:
    explicit QtFolderChooser(QWidget* owner = nullptr) : m_owner(owner) {}
    QString chooseDirectory(const QString& prompt) override;

private:
    QWidget* m_owner;
};

} // namespace morvane
