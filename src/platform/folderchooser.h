#pragma once

#include <QString>

namespace morvane {

// The directory chooser used by the output-root and location buttons.
class FolderChooser {
public:
    virtual ~FolderChooser() = default;
    // The chosen directory, or an empty string when the user cancelled.
    virtual QString chooseDirectory(const QString& prompt) = 0;
};

} // namespace morvane
