#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace morvane {

// Drive types with the classic drive-type numbers, from the mounted volumes.
enum class DriveType { Unknown = 0, Removable = 2, Fixed = 3, Remote = 4, CdRom = 5, Ramdisk = 6 };

struct Volume {
    QString mountPoint;
    QString fileSystemType;
    DriveType type = DriveType::Unknown;
};

class VolumeTable {
public:
    virtual ~VolumeTable() = default;
    virtual QList<Volume> volumes() const = 0;
    // Every mount point, pseudo file systems too: a search of one volume
    // must not step into any of them (an autofs point would mount a network
    // share just by being listed). The volumes' own points by default.
    virtual QStringList allMountPoints() const;
    // The type of the volume that holds `path` (the longest mount point that
    // equals the path or is a "/"-prefix of it).
    DriveType typeOf(const QString& path) const;
    // True when `path` lies on the volume mounted at `mountPoint`.
    static bool liesOn(const QString& path, const QString& mountPoint);
};

// The real mounted volumes (QStorageInfo, /sys/block/*/removable).
class SystemVolumeTable : public VolumeTable {
public:
    QList<Volume> volumes() const override;
    QStringList allMountPoints() const override;
};

// The mount points of a mount table in the form of /proc/self/mounts, with
// its octal escapes ("\040" for a blank) undone.
QStringList mountPointsOf(const QByteArray& mountTable);

// How a mounted file system counts: CD-ROM (iso9660, udf), Remote (network
// file systems), Ramdisk (tmpfs, ramfs), Removable (on a removable block
// device), Fixed (any other real file system). Unknown for pseudo file
// systems (proc, sysfs, cgroup, ...), which are not listed as volumes.
DriveType classifyVolume(const QByteArray& fileSystemType, bool removableDevice);

// True when the block device `device` (such as /dev/sdb1) is removable, read
// from <sysBlockRoot>/<disk>/removable; a partition answers for its disk.
bool isRemovableDevice(const QByteArray& device,
                       const QString& sysBlockRoot = QStringLiteral("/sys/class/block"));

} // namespace morvane
