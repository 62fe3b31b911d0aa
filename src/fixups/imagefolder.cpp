#include "fixups/imagefolder.h"

#include "fixups/fixupfiles.h"
#include "platform/atomicfile.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QStringList>

namespace morvane::fixups {

namespace fs = std::filesystem;

namespace {

struct Stamp {
    std::uintmax_t size = 0;
    FolderTime time;
    bool operator==(const Stamp&) const = default;
};

// What the mover last did in one page folder. `time` is the folder's time
// right after it (moved forward only over the fix-ups' own page
// replacements), so an equal time means no entry has come or gone since.
struct FolderMemo {
    QString subdirPath;
    bool keepOriginals = false;
    FolderTime time;
    QHash<QString, Stamp> copied; // picture name -> the original as copied
};

QHash<QString, FolderMemo>& memos() {
    static QHash<QString, FolderMemo> memo;
    return memo;
}

fs::path nativePath(const QString& path) {
    return fs::path(QFile::encodeName(path).toStdString());
}

std::optional<Stamp> stampOf(const QString& path) {
    std::error_code error;
    const fs::path native = nativePath(path);
    const auto size = fs::file_size(native, error);
    if (error)
        return std::nullopt;
    const auto time = fs::last_write_time(native, error);
    if (error)
        return std::nullopt;
    return Stamp{size, time};
}

// Matched by hand on the raw names: a large folder is listed once per page.
QStringList listImages(const QString& dir) {
    QStringList images;
    std::error_code error;
    for (fs::directory_iterator it(nativePath(dir), error), end; !error && it != end;
         it.increment(error)) {
        const std::string& name = it->path().native();
        if ((name.ends_with(".gif") || name.ends_with(".png") || name.ends_with(".jpg") ||
             name.ends_with(".svg")) &&
            it->is_regular_file(error))
            images.append(QFile::decodeName(it->path().filename().native().c_str()));
    }
    images.sort();
    return images;
}

} // namespace

std::optional<FolderTime> folderTime(const QString& dir) {
    std::error_code error;
    const FolderTime time = fs::last_write_time(nativePath(dir), error);
    if (error)
        return std::nullopt;
    return time;
}

void moveFolderImages(const QString& dir, const QString& subdirPath, bool keepOriginals) {
    const QString key = QFileInfo(dir).absoluteFilePath();
    const std::optional<FolderTime> now = folderTime(dir);
    const auto known = memos().constFind(key);
    const bool unchanged = known != memos().constEnd() && now && known->time == *now &&
                           known->subdirPath == subdirPath && known->keepOriginals == keepOriginals;
    const QHash<QString, Stamp> before = unchanged ? known->copied : QHash<QString, Stamp>();
    const QStringList names = unchanged ? before.keys() : listImages(dir);

    FolderMemo memo{subdirPath, keepOriginals, {}, {}};
    for (const QString& name : names) {
        const QString original = dir + QLatin1Char('/') + name;
        const std::optional<Stamp> stamp = stampOf(original);
        if (!stamp)
            continue;
        const QString copy = subdirPath + QLatin1Char('/') + name;
        const auto previous = before.constFind(name);
        const bool upToDate =
            previous != before.constEnd() && *previous == *stamp && QFileInfo::exists(copy);
        if (!upToDate && !copyFileAtomically(original, copy, Durability::NoWait))
            continue;
        if (keepOriginals)
            memo.copied.insert(name, *stamp);
        else
            QFile::remove(original);
    }
    if (const std::optional<FolderTime> after = folderTime(dir)) {
        memo.time = *after;
        memos().insert(key, memo);
    } else {
        memos().remove(key);
    }
}

void noteOwnReplacement(const QString& dir, std::optional<FolderTime> before,
                        std::optional<FolderTime> after) {
    const auto known = memos().find(QFileInfo(dir).absoluteFilePath());
    if (known == memos().end())
        return;
    // Only when nothing else had changed the folder since the mover's last
    // look; otherwise the next page lists it again.
    if (before && after && known->time == *before)
        known->time = *after;
}

} // namespace morvane::fixups
