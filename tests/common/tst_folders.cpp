#include "common/programfolder.h"
#include "common/tempfiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

using namespace lyrova;

class TestFolders : public QObject {
  Q_OBJECT

 private slots:
  void dataFolderRule() {
    QTemporaryDir dir;
    const QString user = QStringLiteral("/user/data/Lyrova");
    QCOMPARE(ChooseDataFolder(dir.path(), user), dir.path());
    QCOMPARE(ChooseDataFolder(dir.filePath(QStringLiteral("missing")), user), user);
    // A system-wide install is marked: its folder is never the data folder, writable or not.
    QFile mark(dir.filePath(QStringLiteral("system-wide")));
    QVERIFY(mark.open(QIODevice::WriteOnly));
    mark.close();
    QCOMPARE(ChooseDataFolder(dir.path(), user), user);
    QVERIFY(mark.remove());
    QCOMPARE(ChooseDataFolder(dir.path(), user), dir.path());
    QVERIFY(UserDataFolder().endsWith(QStringLiteral("/Lyrova")));
    QCOMPARE(ProgramFolder(), QCoreApplication::applicationDirPath());
    QCOMPARE(DataFolder(), ProgramFolder());  // the build folder is writable
  }

  void readOnlyProgramFolder() {
    if (QFileInfo(QStringLiteral("/proc/1")).isWritable()) QSKIP("running with every permission");
    QTemporaryDir dir;
    QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    const QString user = QStringLiteral("/user/data/Lyrova");
    const bool rootBypass = QFileInfo(dir.path()).isWritable();
    QCOMPARE(ChooseDataFolder(dir.path(), user), rootBypass ? dir.path() : user);
    QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                          QFileDevice::ExeOwner);
  }

  void tempFiles() {
    const QString a = MakeTempFile(QStringLiteral("lrc"));
    const QString b = MakeTempFile(QStringLiteral("lrc"));
    QVERIFY(!a.isEmpty());
    QVERIFY(a != b);
    QVERIFY(QFileInfo(a).fileName().startsWith(QStringLiteral("lrc")));
    QCOMPARE(QFileInfo(a).size(), 0);
    QFile::setPermissions(a, QFileDevice::ReadOwner);
    DeleteFileQuiet(a);
    DeleteFileQuiet(b);
    QVERIFY(!QFile::exists(a));
    QVERIFY(!QFile::exists(b));
    DeleteFileQuiet(QString());
    DeleteFileQuiet(a);  // already gone: nothing happens
    QTemporaryDir dir;
    DeleteFileQuiet(dir.path());  // a folder is not a file
    QVERIFY(QDir(dir.path()).exists());
  }
};

QTEST_GUILESS_MAIN(TestFolders)
#include "tst_folders.moc"
