#pragma once

#include <QString>
#include <filesystem>
#include <optional>

namespace morvane::fixups {

using FolderTime = std::filesystem::file_time_type;

// The modification time of a folder (changed by every entry added, removed
// or renamed in it); nothing when it cannot be read.
std::optional<FolderTime> folderTime(const QString& dir);

// Copies the pictures (*.gif, *.png, *.jpg, exact case) of `dir` into
// `subdirPath`, deleting each original once its copy is written unless
// `keepOriginals`. Every page of a folder asks for this again; the folder's
// listing and the copies are remembered, so that a folder not changed since
// is not listed again and an unchanged picture is not copied again.
void moveFolderImages(const QString& dir, const QString& subdirPath, bool keepOriginals);

// Tells the picture mover that the fix-ups themselves replaced a file in
// `dir` (a page, never a picture), taking the folder from `before` to `after`.
void noteOwnReplacement(const QString& dir, std::optional<FolderTime> before,
                        std::optional<FolderTime> after);

} // namespace morvane::fixups
