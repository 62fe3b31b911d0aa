#include "platform/volumes.h"
#include "support/doubles.h"
#include "support/testmain.h"

#include <QDir>
#include <QFile>
#include <QStorageInfo>
#include <QTemporaryDir>
#include <QTest>

using namespace morvane;

namespace {

bool writeFlag(const QString& path, const QByteArray& value) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(value) == value.size();
}

} // namespace

class TestVolumes : public QObject {
    Q_OBJECT
private slots:
    void classify_data() {
        QTest::addColumn<QByteArray>("type");
        QTest::addColumn<bool>("removable");
        QTest::addColumn<DriveType>("expected");
        QTest::newRow("iso9660") << QByteArray("iso9660") << false << DriveType::CdRom;
        QTest::newRow("udf on a removable drive") << QByteArray("udf") << true << DriveType::CdRom;
        QTest::newRow("nfs") << QByteArray("nfs") << false << DriveType::Remote;
        QTest::newRow("nfs4") << QByteArray("nfs4") << false << DriveType::Remote;
        QTest::newRow("cifs") << QByteArray("cifs") << false << DriveType::Remote;
        QTest::newRow("smb3") << QByteArray("smb3") << false << DriveType::Remote;
        QTest::newRow("sshfs") << QByteArray("fuse.sshfs") << false << DriveType::Remote;
        QTest::newRow("tmpfs") << QByteArray("tmpfs") << false << DriveType::Ramdisk;
        QTest::newRow("ramfs") << QByteArray("ramfs") << false << DriveType::Ramdisk;
        QTest::newRow("vfat stick") << QByteArray("vfat") << true << DriveType::Removable;
        QTest::newRow("ext4 disk") << QByteArray("ext4") << false << DriveType::Fixed;
        QTest::newRow("btrfs") << QByteArray("btrfs") << false << DriveType::Fixed;
        QTest::newRow("overlay root of a container")
            << QByteArray("overlay") << false << DriveType::Fixed;
        QTest::newRow("proc") << QByteArray("proc") << false << DriveType::Unknown;
        QTest::newRow("sysfs") << QByteArray("sysfs") << false << DriveType::Unknown;
        QTest::newRow("devtmpfs") << QByteArray("devtmpfs") << false << DriveType::Unknown;
        QTest::newRow("cgroup2") << QByteArray("cgroup2") << false << DriveType::Unknown;
    }
    void classify() {
        QFETCH(QByteArray, type);
        QFETCH(bool, removable);
        QFETCH(DriveType, expected);
        QCOMPARE(classifyVolume(type, removable), expected);
    }

    void removableFromSys() {
        QTemporaryDir sys;
        // A disk with its partition inside, and a fixed disk.
        QVERIFY(writeFlag(sys.filePath("devices/sdb/removable"), "1\n"));
        QVERIFY(writeFlag(sys.filePath("devices/sdb/sdb1/partition"), "1\n"));
        QVERIFY(writeFlag(sys.filePath("devices/sda/removable"), "0\n"));
        QVERIFY(writeFlag(sys.filePath("devices/sda/sda2/partition"), "2\n"));
        const QString root = sys.filePath("class");
        QVERIFY(QDir().mkpath(root));
        for (const char* link : {"sdb", "sdb/sdb1", "sda", "sda/sda2"})
            QVERIFY(QFile::link(sys.filePath(QString("devices/") + link),
                                root + "/" + QFileInfo(link).fileName()));
        QVERIFY(isRemovableDevice("/dev/sdb", root));
        QVERIFY(isRemovableDevice("/dev/sdb1", root));
        QVERIFY(!isRemovableDevice("/dev/sda", root));
        QVERIFY(!isRemovableDevice("/dev/sda2", root));
        QVERIFY(!isRemovableDevice("/dev/sdz9", root));
        QVERIFY(!isRemovableDevice("tmpfs", root));
        QVERIFY(!isRemovableDevice("", root));
    }

    void liesOn_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("mount");
        QTest::addColumn<bool>("on");
        QTest::newRow("mount point itself") << "/media/cd"
                                            << "/media/cd" << true;
        QTest::newRow("below") << "/media/cd/docs/a.tex"
                               << "/media/cd" << true;
        QTest::newRow("directory with separator") << "/media/cd/"
                                                  << "/media/cd" << true;
        QTest::newRow("mount point with separator") << "/media/cd/x"
                                                    << "/media/cd/" << true;
        QTest::newRow("name prefix only") << "/media/cd2/x"
                                          << "/media/cd" << false;
        QTest::newRow("elsewhere") << "/home/u"
                                   << "/media/cd" << false;
        QTest::newRow("root") << "/home/u"
                              << "/" << true;
        QTest::newRow("empty mount point") << "/home/u"
                                           << "" << false;
        QTest::newRow("relative path") << "media/cd/x"
                                       << "/media/cd" << false;
    }
    void liesOn() {
        QFETCH(QString, path);
        QFETCH(QString, mount);
        QFETCH(bool, on);
        QCOMPARE(VolumeTable::liesOn(path, mount), on);
    }

    void typeOfTakesTheLongestMountPoint() {
        const FixedVolumeTable table({{"/", "ext4", DriveType::Fixed},
                                      {"/media/u/STICK", "vfat", DriveType::Removable},
                                      {"/media/u/STICK/cd", "iso9660", DriveType::CdRom},
                                      {"/mnt/share/", "nfs", DriveType::Remote}});
        QCOMPARE(table.typeOf("/home/u/a.tex"), DriveType::Fixed);
        QCOMPARE(table.typeOf("/media/u/STICK/a"), DriveType::Removable);
        QCOMPARE(table.typeOf("/media/u/STICK/cd/x"), DriveType::CdRom);
        QCOMPARE(table.typeOf("/media/u/STICKER"), DriveType::Fixed);
        QCOMPARE(table.typeOf("/mnt/share"), DriveType::Remote);
        QCOMPARE(FixedVolumeTable({}).typeOf("/x"), DriveType::Unknown);
    }

    // Pseudo mount points (autofs among them) are known, so that a search
    // never opens one; blanks and backslashes come escaped.
    void mountPointsOfTheMountTable() {
        const QByteArray table = "/dev/vda1 / ext4 rw 0 0\n"
                                 "systemd-1 /net autofs rw,fd=5 0 0\n"
                                 "/dev/sdb1 /media/u/My\\040Stick vfat rw 0 0\n"
                                 "x /odd\\134name\\0 tmpfs rw 0 0\n"
                                 "\nbroken-line\n";
        QCOMPARE(mountPointsOf(table),
                 (QStringList{"/", "/net", "/media/u/My Stick", "/odd\\name\\0"}));
        QVERIFY(SystemVolumeTable().allMountPoints().contains("/proc"));
    }

    // The real table lists the root file system and no pseudo file system.
    void systemTable() {
        const QList<Volume> volumes = SystemVolumeTable().volumes();
        QVERIFY(!volumes.isEmpty());
        for (const Volume& v : volumes) {
            QVERIFY2(v.type != DriveType::Unknown, qPrintable(v.mountPoint));
            QVERIFY(v.fileSystemType != "proc" && v.fileSystemType != "sysfs");
        }
        const QStorageInfo root = QStorageInfo::root();
        const DriveType rootType = SystemVolumeTable().typeOf(QDir::rootPath() + "etc");
        QCOMPARE(rootType, classifyVolume(root.fileSystemType(), isRemovableDevice(root.device())));
    }
};

MORVANE_TEST_GUILESS_MAIN(TestVolumes)
#include "tst_volumes.moc"
