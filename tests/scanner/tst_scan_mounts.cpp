// The mount table as the source of DriveScan's roots: parsing, classification, which mounts
// are roots, and which roots a drive scan enters under each exclusion.
#include "scanner/engine/drvscan.h"
#include "scanner/engine/mounttable.h"

#include "scanrecorder.h"
#include "scantree.h"

#include <QTest>

using lyrova::DriveType;
using lyrova::MountEntry;
using lyrova::ScanRoot;
using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(DriveType)

namespace {

// A table in the kernel's text form; every line gets the same id fields.
QByteArray Table(const QStringList& lines) {
  QByteArray text;
  int id = 20;
  for (const QString& line : lines) text += QByteArray::number(id++) + " 1 " + line.toUtf8() + '\n';
  return text;
}

MountEntry Entry(const QString& mountPoint, const QString& type, int major = 8, int minor = 1,
                 const QString& fsRoot = u"/"_s) {
  return {major, minor, fsRoot, mountPoint, type, {}};
}

// Device 8:16 is the one removable disk of these tables.
bool FakeRemovable(int major, int minor) { return major == 8 && minor == 16; }

QString Roots(const QList<ScanRoot>& roots) {
  QStringList parts;
  for (const ScanRoot& root : roots)
    parts.append(root.path + u'=' + QString::number(static_cast<int>(root.type)));
  return parts.join(u' ');
}

}  // namespace

class TestScanMounts : public QObject {
  Q_OBJECT

 private slots:
  void parsesMountInfoLines_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QString>("mountPoint");
    QTest::addColumn<QString>("fsRoot");
    QTest::addColumn<QString>("type");
    QTest::addColumn<int>("major");
    QTest::addColumn<int>("minor");
    QTest::newRow("plain") << QByteArray("26 1 254:0 / / rw,relatime - ext4 /dev/vda rw\n")
                           << u"/"_s << u"/"_s << u"ext4"_s << 254 << 0;
    QTest::newRow("optional fields before the dash")
        << QByteArray("36 35 98:0 /mnt1 /mnt2 rw,noatime master:1 shared:7 - ext3 /dev/root rw\n")
        << u"/mnt2"_s << u"/mnt1"_s << u"ext3"_s << 98 << 0;
    QTest::newRow("escaped blank and backslash")
        << QByteArray("40 26 8:17 / /media/u/My\\040Disk\\134x rw - vfat /dev/sdb1 rw\n")
        << u"/media/u/My Disk\\x"_s << u"/"_s << u"vfat"_s << 8 << 17;
    QTest::newRow("Chinese mount point")
        << QByteArray("41 26 8:18 / /mnt/\xe6\xad\x8c\xe8\xaf\x8d rw - ext4 /dev/sdb2 rw")
        << u"/mnt/歌词"_s << u"/"_s << u"ext4"_s << 8 << 18;
  }
  void parsesMountInfoLines() {
    QFETCH(QByteArray, text);
    const QList<MountEntry> entries = lyrova::ParseMountInfo(text);
    QCOMPARE(entries.size(), 1);
    QTEST(entries.first().mountPoint, "mountPoint");
    QTEST(entries.first().fsRoot, "fsRoot");
    QTEST(entries.first().fsType, "type");
    QTEST(entries.first().major, "major");
    QTEST(entries.first().minor, "minor");
  }

  void skipsMalformedLines() {
    const QByteArray text =
        "garbage\n"
        "1 2 x:y / /a rw - ext4 /dev/a rw\n"
        "1 2 8:1 / /b rw ext4 /dev/b rw\n"
        "1 2 8:1 / relative rw - ext4 /dev/c rw\n"
        "\n"
        "1 2 8:1 / /ok rw - ext4 /dev/d rw\n";
    const QList<MountEntry> entries = lyrova::ParseMountInfo(text);
    QCOMPARE(entries.size(), 1);
    QCOMPARE(entries.first().mountPoint, u"/ok"_s);
  }

  void classifiesMounts_data() {
    QTest::addColumn<QString>("mountPoint");
    QTest::addColumn<QString>("type");
    QTest::addColumn<int>("minor");
    QTest::addColumn<int>("kind");  // -1: never a root
    QTest::newRow("ext4 disk") << u"/"_s << u"ext4"_s << 1 << 3;
    QTest::newRow("removable by its device flag") << u"/mnt/stick"_s << u"vfat"_s << 16 << 2;
    QTest::newRow("removable by its mount place") << u"/media/u/STICK"_s << u"exfat"_s << 1 << 2;
    QTest::newRow("removable under /run/media") << u"/run/media/u/X"_s << u"ntfs3"_s << 1 << 2;
    QTest::newRow("optical iso9660") << u"/media/cdrom"_s << u"iso9660"_s << 1 << 5;
    QTest::newRow("optical udf") << u"/mnt/dvd"_s << u"udf"_s << 1 << 5;
    QTest::newRow("RAM tmpfs") << u"/tmp"_s << u"tmpfs"_s << 1 << 6;
    QTest::newRow("remote nfs4") << u"/net/music"_s << u"nfs4"_s << 1 << 4;
    QTest::newRow("remote cifs") << u"/mnt/share"_s << u"cifs"_s << 1 << 4;
    QTest::newRow("remote sshfs") << u"/home/u/far"_s << u"fuse.sshfs"_s << 1 << 4;
    QTest::newRow("local FUSE block device") << u"/mnt/win"_s << u"fuseblk"_s << 1 << 3;
    QTest::newRow("container root overlay") << u"/"_s << u"overlay"_s << 1 << 3;
    QTest::newRow("other overlay") << u"/var/lib/c/merged"_s << u"overlay"_s << 1 << -1;
    QTest::newRow("proc") << u"/proc"_s << u"proc"_s << 1 << -1;
    QTest::newRow("sysfs") << u"/sys"_s << u"sysfs"_s << 1 << -1;
    QTest::newRow("cgroup2") << u"/sys/fs/cgroup"_s << u"cgroup2"_s << 1 << -1;
    QTest::newRow("devpts") << u"/dev/pts"_s << u"devpts"_s << 1 << -1;
    QTest::newRow("tmpfs below /dev") << u"/dev/shm"_s << u"tmpfs"_s << 1 << -1;
    QTest::newRow("tmpfs below /sys") << u"/sys/fs/cgroup"_s << u"tmpfs"_s << 1 << -1;
    QTest::newRow("autofs") << u"/net"_s << u"autofs"_s << 1 << -1;
    QTest::newRow("squashfs package image") << u"/snap/core/1"_s << u"squashfs"_s << 1 << -1;
    QTest::newRow("unknown type counts as a disk") << u"/mnt/x"_s << u"zfs"_s << 1 << 3;
  }
  void classifiesMounts() {
    QFETCH(QString, mountPoint);
    QFETCH(QString, type);
    QFETCH(int, minor);
    QFETCH(int, kind);
    const auto found = lyrova::ClassifyMount(Entry(mountPoint, type, 8, minor), FakeRemovable);
    QCOMPARE(found ? static_cast<int>(*found) : -1, kind);
  }

  void choosesVisibleDistinctRoots_data() {
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QString>("roots");
    QTest::newRow("pseudo file systems are left out, roots in path order")
        << QStringList{u"0:20 / /proc rw - proc proc rw"_s, u"8:1 / / rw - ext4 /dev/sda1 rw"_s,
                       u"0:22 / /dev/shm rw - tmpfs tmpfs rw"_s,
                       u"8:17 / /media/u/S rw - vfat /dev/sdb1 rw"_s,
                       u"8:2 / /home rw - ext4 /dev/sda2 rw"_s}
        << u"/=3 /home=3 /media/u/S=2"_s;
    QTest::newRow("a mount point mounted over counts once, with the last mount")
        << QStringList{u"0:25 / /mnt/a rw - tmpfs tmpfs rw"_s, u"8:3 / /mnt/a rw - ext4 /dev/sda3 rw"_s}
        << u"/mnt/a=3"_s;
    QTest::newRow("a bind mount inside a scanned file system is no second root")
        << QStringList{u"8:1 / / rw - ext4 /dev/sda1 rw"_s,
                       u"8:1 /home/u/music /srv/music rw - ext4 /dev/sda1 rw"_s}
        << u"/=3"_s;
    QTest::newRow("the same file system twice is one root, at the first path in order")
        << QStringList{u"8:5 / /mnt/data rw - ext4 /dev/sda5 rw"_s,
                       u"8:5 / /data rw - ext4 /dev/sda5 rw"_s}
        << u"/data=3"_s;
    QTest::newRow("a bound folder of a file system mounted nowhere else is a root")
        << QStringList{u"8:1 / / rw - ext4 /dev/sda1 rw"_s,
                       u"8:6 /music /srv/music rw - ext4 /dev/sda6 rw"_s}
        << u"/=3 /srv/music=3"_s;
    QTest::newRow("a container") << QStringList{u"0:50 / / rw - overlay overlay rw"_s,
                                                u"0:52 / /dev rw - tmpfs tmpfs rw"_s,
                                                u"254:1 /etc/hosts /etc/hosts rw - ext4 /dev/vda1 rw"_s,
                                                u"254:1 /work /work rw - ext4 /dev/vda1 rw"_s}
                                 << u"/=3 /etc/hosts=3 /work=3"_s;
  }
  void choosesVisibleDistinctRoots() {
    QFETCH(QStringList, lines);
    QFETCH(QString, roots);
    const QList<MountEntry> table = lyrova::ParseMountInfo(Table(lines));
    QCOMPARE(table.size(), lines.size());
    QCOMPARE(Roots(lyrova::MountRoots(table, FakeRemovable)), roots);
  }

  // DriveScan over a fake table whose mount points are folders of the test tree, each kind of
  // drive holding one lyrics file.
  void excludesDrivesByKind_data() {
    QTest::addColumn<QString>("exclude");  // letters: F floppy/removable, H hard, C optical, R RAM, N remote
    QTest::addColumn<QStringList>("entered");
    QTest::newRow("nothing excluded")
        << u""_s << QStringList{u"cd"_s, u"disk"_s, u"net"_s, u"ram"_s, u"stick"_s};
    QTest::newRow("the Scanner's choice: removable and optical left out")
        << u"FC"_s << QStringList{u"disk"_s, u"net"_s, u"ram"_s};
    QTest::newRow("with optical drives") << u"F"_s
                                         << QStringList{u"cd"_s, u"disk"_s, u"net"_s, u"ram"_s};
    QTest::newRow("fixed left out") << u"H"_s << QStringList{u"cd"_s, u"net"_s, u"ram"_s, u"stick"_s};
    QTest::newRow("RAM and remote left out") << u"RN"_s << QStringList{u"cd"_s, u"disk"_s, u"stick"_s};
    QTest::newRow("everything left out") << u"FHCRN"_s << QStringList{};
  }
  void excludesDrivesByKind() {
    QFETCH(QString, exclude);
    QFETCH(QStringList, entered);
    ScanTree tree;
    QVERIFY(tree.Make(L(u"disk/a.lrc|stick/b.lrc|cd/c.lrc|ram/d.lrc|net/e.lrc|proc/f.lrc")));
    const QString root = tree.Root();
    lyrova::DrvScan scan;
    scan.SetMountSource([root] {
      return QList<MountEntry>{Entry(root + u"/stick"_s, u"vfat"_s, 8, 16),
                               Entry(root + u"/disk"_s, u"ext4"_s, 8, 1),
                               Entry(root + u"/cd"_s, u"iso9660"_s, 11, 0),
                               Entry(root + u"/ram"_s, u"tmpfs"_s, 0, 40),
                               Entry(root + u"/net"_s, u"nfs4"_s, 0, 41),
                               Entry(root + u"/proc"_s, u"proc"_s, 0, 42)};
    });
    scan.SetRemovableQuery(FakeRemovable);
    scan.SetRemovalFloppyDisk(exclude.contains(u'F'));
    scan.SetRemovalHardDisk(exclude.contains(u'H'));
    scan.SetRemovalCdrom(exclude.contains(u'C'));
    scan.SetRemovalRamDisk(exclude.contains(u'R'));
    scan.SetRemovalRemoteDisk(exclude.contains(u'N'));
    scan.SetScanName(u"*.lrc"_s);
    ScanRecorder recorder(scan, root);
    scan.DriveScan();
    const QHash<QString, QString> fileOf = {{u"disk"_s, u"a.lrc"_s}, {u"stick"_s, u"b.lrc"_s},
                                            {u"cd"_s, u"c.lrc"_s},   {u"ram"_s, u"d.lrc"_s},
                                            {u"net"_s, u"e.lrc"_s}};
    QStringList expected;
    for (const QString& name : entered)
      expected << u"D:$/"_s + name + u'/' << u"N:$/"_s + name + u"/>"_s + fileOf.value(name);
    QCOMPARE(recorder.events, expected);
  }

  void skipsMountedFiles() {
    ScanTree tree;
    QVERIFY(tree.Make(L(u"hosts.lrc|disk/a.lrc")));
    const QString root = tree.Root();
    lyrova::DrvScan scan;
    scan.SetMountSource([root] {
      return QList<MountEntry>{Entry(root + u"/hosts.lrc"_s, u"ext4"_s, 8, 1, u"/etc/hosts"_s),
                               Entry(root + u"/disk"_s, u"ext4"_s, 8, 2)};
    });
    scan.SetScanName(u"*.lrc"_s);
    ScanRecorder recorder(scan, root);
    scan.DriveScan();
    QCOMPARE(recorder.events, L(u"D:$/disk/|N:$/disk/>a.lrc"));
  }

};

QTEST_GUILESS_MAIN(TestScanMounts)
#include "tst_scan_mounts.moc"
