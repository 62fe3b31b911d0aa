#include "platform/savewatcher.h"

#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QSet>
#include <sys/stat.h>

namespace morvane {

FileSignature FileSignature::of(const QString& path) {
    struct stat info {};
    if (::stat(QFile::encodeName(path).constData(), &info) != 0)
        return {};
    FileSignature s;
    s.exists = true;
    s.size = info.st_size;
    s.modifiedNs = qint64(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec;
    s.inode = info.st_ino;
    s.device = info.st_dev;
    return s;
}

SaveWatcher::SaveWatcher(int settleMs, QObject* parent)
    : QObject(parent), m_watcher(new QFileSystemWatcher(this)) {
    m_settle.setSingleShot(true);
    m_settle.setInterval(settleMs);
    connect(&m_settle, &QTimer::timeout, this, &SaveWatcher::settle);
    connect(m_watcher, &QFileSystemWatcher::directoryChanged, this, &SaveWatcher::onFolderChanged);
    connect(m_watcher, &QFileSystemWatcher::fileChanged, this, &SaveWatcher::onFileChanged);
}

SaveWatcher::~SaveWatcher() = default;

void SaveWatcher::setFiles(const QStringList& files) {
    QStringList order;
    QSet<QString> folders;
    QHash<QString, FileSignature> known;
    for (const QString& file : files) {
        const QString path = QFileInfo(file).absoluteFilePath();
        if (known.contains(path))
            continue;
        order.append(path);
        known.insert(path, m_known.contains(path) ? m_known.value(path) : FileSignature::of(path));
        folders.insert(QFileInfo(path).absolutePath());
    }
    // Drop what is no longer wanted, then add what is new.
    const QStringList watchedFiles = m_watcher->files();
    for (const QString& path : watchedFiles)
        if (!known.contains(path))
            m_watcher->removePath(path);
    const QStringList watchedFolders = m_watcher->directories();
    for (const QString& folder : watchedFolders)
        if (!folders.contains(folder))
            m_watcher->removePath(folder);
    for (const QString& folder : std::as_const(folders))
        if (!watchedFolders.contains(folder) && QFileInfo(folder).isDir())
            m_watcher->addPath(folder);
    m_order = order;
    m_known = known;
    for (auto it = m_watchedInode.begin(); it != m_watchedInode.end();)
        it = known.contains(it.key()) ? std::next(it) : m_watchedInode.erase(it);
    for (const QString& path : std::as_const(m_order))
        rewatchFile(path);
}

QStringList SaveWatcher::folders() const {
    return m_watcher->directories();
}

void SaveWatcher::rewatchFile(const QString& file) {
    // A file's watch follows its inode: after a rename over it or a delete
    // the name stands for a new file, which needs a watch of its own (the
    // old watch may still be listed until the old inode is gone).
    const FileSignature now = FileSignature::of(file);
    const bool listed = m_watcher->files().contains(file);
    if (!now.exists) {
        m_watchedInode.remove(file);
        return;
    }
    if (listed && m_watchedInode.value(file) == now.inode)
        return;
    if (listed)
        m_watcher->removePath(file);
    if (m_watcher->addPath(file))
        m_watchedInode.insert(file, now.inode);
}

void SaveWatcher::recheck() {
    // Every further change starts the settle time again: a file written in
    // pieces is converted once it has been quiet, not half-written.
    if (anyDiffers())
        m_settle.start();
}

bool SaveWatcher::anyDiffers() const {
    for (auto it = m_known.cbegin(); it != m_known.cend(); ++it)
        if (FileSignature::of(it.key()) != it.value())
            return true;
    return false;
}

void SaveWatcher::onFolderChanged(const QString& folder) {
    for (const QString& path : std::as_const(m_order))
        if (QFileInfo(path).absolutePath() == folder)
            rewatchFile(path);
    // A folder that was removed and made again is watched afresh.
    if (!m_watcher->directories().contains(folder) && QFileInfo(folder).isDir())
        m_watcher->addPath(folder);
    recheck();
}

void SaveWatcher::onFileChanged(const QString& file) {
    rewatchFile(file);
    recheck();
}

void SaveWatcher::settle() {
    QStringList changed;
    for (const QString& path : std::as_const(m_order)) {
        const FileSignature now = FileSignature::of(path);
        FileSignature& before = m_known[path];
        if (now == before)
            continue;
        if (!now.exists) {
            // Keep the old signature: the file counts as saved when it is back.
            if (!m_reportedMissing.value(path)) {
                m_reportedMissing.insert(path, true);
                emit missing(path);
            }
            continue;
        }
        m_reportedMissing.remove(path);
        before = now;
        changed.append(path);
        rewatchFile(path);
    }
    if (!changed.isEmpty())
        emit saved(changed);
}

} // namespace morvane
