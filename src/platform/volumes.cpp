#include "platform/volumes.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStorageInfo>

#include <algorithm>
#include <array>
#include <string_view>

namespace morvane {

namespace {

constexpr std::array<std::string_view, 5> kCdRomFileSystems = {"iso9660", "udf", "cd9660", "hsfs",
                                                               "cdfs"};

constexpr std::array<std::string_view, 19> kNetworkFileSystems = {
    "nfs",         "nfs4",        "cifs",   "smb3",          "smbfs",
    "sshfs",       "fuse.sshfs",  "9p",     "afs",           "ncpfs",
    "davfs",       "fuse.davfs2", "ceph",   "glusterfs",     "fuse.glusterfs",
    "fuse.rclone", "fuse.s3fs",   "lustre", "fuse.curlftpfs"};

constexpr std::array<std::string_view, 2> kRamFileSystems = {"tmpfs", "ramfs"};

// Kernel and desktop file systems that hold no user files.
constexpr std::array<std::string_view, 27> kPseudoFileSystems = {
    "proc",        "sysfs",      "devtmpfs", "devpts",   "cgroup",      "cgroup2",
    "securityfs",  "debugfs",    "tracefs",  "configfs", "fusectl",     "mqueue",
    "hugetlbfs",   "pstore",     "bpf",      "autofs",   "binfmt_misc", "efivarfs",
    "selinuxfs",   "rpc_pipefs", "nsfs",     "nfsd",     "rootfs",      "fuse.gvfsd-fuse",
    "fuse.portal", "fuse.lxcfs", "none"};

template <std::size_t N>
bool listed(const std::array<std::string_view, N>& names, const QByteArray& type) {
    const std::string_view t(type.constData(), static_cast<std::size_t>(type.size()));
    return std::find(names.begin(), names.end(), t) != names.end();
}

QByteArray readFlag(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll().trimmed();
}

QString withoutTrailingSlash(const QString& path) {
    if (path.size() > 1 && path.endsWith(QLatin1Char('/')))
        return path.chopped(1);
    return path;
}

} // namespace

DriveType classifyVolume(const QByteArray& fileSystemType, bool removableDevice) {
    const QByteArray type = fileSystemType.toLower();
    if (listed(kPseudoFileSystems, type) || type.isEmpty())
        return DriveType::Unknown;
    if (listed(kCdRomFileSystems, type))
        return DriveType::CdRom;
    if (listed(kNetworkFileSystems, type))
        return DriveType::Remote;
    if (listed(kRamFileSystems, type))
        return DriveType::Ramdisk;
    if (removableDevice)
        return DriveType::Removable;
    return DriveType::Fixed;
}

bool isRemovableDevice(const QByteArray& device, const QString& sysBlockRoot) {
    const QString path = QString::fromLocal8Bit(device);
    if (!path.startsWith(QStringLiteral("/dev/")))
        return false;
    // /dev/disk/by-label/x and /dev/mapper/x are links to the kernel's name.
    const QString canonical = QFileInfo(path).canonicalFilePath();
    const QString kernelName = QFileInfo(canonical.isEmpty() ? path : canonical).fileName();
    const QString entry =
        QFileInfo(sysBlockRoot + QLatin1Char('/') + kernelName).canonicalFilePath();
    if (entry.isEmpty())
        return false;
    if (QFileInfo::exists(entry + QStringLiteral("/removable")))
        return readFlag(entry + QStringLiteral("/removable")) == "1";
    // A partition lives inside its disk's directory and answers for it.
    if (QFileInfo::exists(entry + QStringLiteral("/partition")))
        return readFlag(QFileInfo(entry).absolutePath() + QStringLiteral("/removable")) == "1";
    return false;
}

bool VolumeTable::liesOn(const QString& path, const QString& mountPoint) {
    const QString mount = withoutTrailingSlash(mountPoint);
    if (mount.isEmpty() || path.isEmpty())
        return false;
    if (mount == QStringLiteral("/"))
        return path.startsWith(QLatin1Char('/'));
    return path == mount || path.startsWith(mount + QLatin1Char('/'));
}

DriveType VolumeTable::typeOf(const QString& path) const {
    DriveType type = DriveType::Unknown;
    qsizetype longest = -1;
    for (const Volume& volume : volumes()) {
        const QString mount = withoutTrailingSlash(volume.mountPoint);
        if (mount.size() > longest && liesOn(path, mount)) {
            longest = mount.size();
            type = volume.type;
        }
    }
    return type;
}

QStringList VolumeTable::allMountPoints() const {
    QStringList points;
    for (const Volume& volume : volumes())
        points.append(volume.mountPoint);
    return points;
}

QStringList mountPointsOf(const QByteArray& mountTable) {
    QStringList points;
    for (const QByteArray& line : mountTable.split('\n')) {
        const QList<QByteArray> fields = line.split(' ');
        if (fields.size() < 2 || fields.at(1).isEmpty())
            continue;
        const QByteArray& escaped = fields.at(1);
        QByteArray point;
        for (qsizetype i = 0; i < escaped.size(); ++i) {
            bool ok = false;
            const int value = escaped.at(i) == '\\' && i + 3 < escaped.size()
                                  ? escaped.mid(i + 1, 3).toInt(&ok, 8)
                                  : 0;
            if (ok && value < 256) {
                point.append(char(value));
                i += 3;
            } else {
                point.append(escaped.at(i));
            }
        }
        points.append(QString::fromLocal8Bit(point));
    }
    return points;
}

QStringList SystemVolumeTable::allMountPoints() const {
    QFile table(QStringLiteral("/proc/self/mounts"));
    if (!table.open(QIODevice::ReadOnly))
        return VolumeTable::allMountPoints();
    // /proc files report no size: read until the end.
    return mountPointsOf(table.readAll());
}

QList<Volume> SystemVolumeTable::volumes() const {
    QList<Volume> result;
    for (const QStorageInfo& info : QStorageInfo::mountedVolumes()) {
        if (!info.isValid())
            continue;
        const QByteArray fsType = info.fileSystemType();
        const DriveType type = classifyVolume(fsType, isRemovableDevice(info.device()));
        if (type == DriveType::Unknown)
            continue;
        result.append(Volume{info.rootPath(), QString::fromLatin1(fsType), type});
    }
    return result;
}

} // namespace morvane
