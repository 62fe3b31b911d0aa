#include "ui/qtfolderchooser.h"

#include <QFileDialog>

namespace morvane {

QString QtFolderChooser::chooseDirectory(const QString& prompt) {
    return QFileDialog::getExistingDirectory(m_owner, prompt);
}

} // namespace morvane
