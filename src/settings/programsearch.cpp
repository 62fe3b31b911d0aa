#include "settings/programsearch.h"

#include <algorithm>
#include <utility>

namespace morvane {

namespace {

QString childOf(const QString& folder, const QString& name) {
    return folder.endsWith(QLatin1Char('/')) ? folder + name : folder + QLatin1Char('/') + name;
}

QString withoutTrailingSlash(QString path) {
    while (path.size() > 1 && path.endsWith(QLatin1Char('/')))
        path.chop(1);
    return path;
}

} // namespace

bool skippedBySearch(const QString& root, const QString& parent, const QString& name) {
    if (name.startsWith(QLatin1Char('.')))
        return true;
    if (withoutTrailingSlash(parent) == withoutTrailingSlash(root) &&
        name.startsWith(QStringLiteral("recycle"), Qt::CaseInsensitive))
        return true;
    return name.compare(QStringLiteral("System Volume Information"), Qt::CaseInsensitive) == 0;
}

ProgramSearch::ProgramSearch(QList<SearchTarget> targets)
    : m_targets(std::move(targets)), m_candidates(m_targets.size()) {
    for (int k = 0; k < m_targets.size(); ++k) {
        for (const QString& name : std::as_const(m_targets[k].names)) {
            const QString key = name.toLower();
            m_byName[key].append(k);
            m_shortestName = m_shortestName == 0 ? key.size() : qMin(m_shortestName, key.size());
            m_longestName = qMax(m_longestName, key.size());
        }
    }
}

void ProgramSearch::setOtherMountPoints(const QStringList& mountPoints) {
    m_otherMounts.clear();
    for (const QString& mount : mountPoints)
        m_otherMounts.insert(withoutTrailingSlash(mount));
}

void ProgramSearch::serveIfDue(const QString& folder) {
    if (!serve)
        return;
    if (m_sinceServe.isValid() && m_sinceServe.elapsed() < serveIntervalMs)
        return;
    serve(folder);
    m_sinceServe.start();
}

void ProgramSearch::matchFile(const QString& folder, const DirectoryEntry& entry) {
    // Most names cannot match by their length alone; they cost no copy.
    if (entry.name.size() < m_shortestName || entry.name.size() > m_longestName)
        return;
    const auto it = m_byName.constFind(entry.name.toLower());
    if (it == m_byName.constEnd())
        return;
    const QString path = childOf(folder, entry.name);
    for (int k : *it) {
        const bool fits = m_targets[k].executable         ? isExecutableFile(path)
                          : entry.kind == EntryKind::File ? true
                                                          : isRegularFile(path);
        if (!fits || m_candidates[k].contains(folder))
            continue;
        m_candidates[k].append(folder);
        if (found)
            found(k, folder);
    }
}

void ProgramSearch::searchTree(const QString& root) {
    if (m_stopped)
        return;
    const QString top = withoutTrailingSlash(root);
    // The folders still to list: a stack, so that a deep tree cannot
    // exhaust the call stack; each folder's subfolders are taken in listing
    // order.
    QList<QString> pending{top};
    bool haveDevice = false;
    quint64 device = 0;
    QList<DirectoryEntry> entries;
    while (!pending.isEmpty() && !m_stopped) {
        const QString folder = pending.takeLast();
        serveIfDue(folder);
        if (m_stopped)
            break;
        DirectoryIdentity identity;
        // An unreadable folder, or one that vanished with its volume, is
        // simply not searched.
        if (!listDirectory(folder, identity, entries))
            continue;
        if (!haveDevice) {
            device = identity.device;
            haveDevice = true;
        }
        if (identity.device != device)
            continue;
        if (m_seen.contains({identity.device, identity.inode}))
            continue;
        m_seen.insert({identity.device, identity.inode});

        const qsizetype firstChild = pending.size();
        for (const DirectoryEntry& entry : std::as_const(entries)) {
            if (m_stopped)
                break;
            if (entry.name.startsWith(QLatin1Char('.')))
                continue;
            if (entry.kind == EntryKind::Directory) {
                if (skippedBySearch(top, folder, entry.name))
                    continue;
                const QString child = childOf(folder, entry.name);
                if (!m_otherMounts.contains(child))
                    pending.append(child);
            } else if (entry.kind == EntryKind::File || entry.kind == EntryKind::SymbolicLink) {
                matchFile(folder, entry);
            }
        }
        // Taken from the end: reverse the new ones so the first listed is
        // searched first.
        std::reverse(pending.begin() + firstChild, pending.end());
    }
}

} // namespace morvane
