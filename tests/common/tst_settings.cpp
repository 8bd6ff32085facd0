#include "common/settings.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace lyrova;

class TestSettings : public QObject {
  Q_OBJECT

 private slots:
  void roundTripAndDefaults() {
    QTemporaryDir root;
    const SettingsStore player(kPlayerProgram, root.path());
    QCOMPARE(player.ReadSetting(QStringLiteral("Volume"), QStringLiteral("750")), QStringLiteral("750"));
    QVERIFY(player.WriteSetting(QStringLiteral("Volume"), QStringLiteral("1200")));
    QCOMPARE(player.ReadSetting(QStringLiteral("Volume"), QStringLiteral("750")), QStringLiteral("1200"));
    // Text with the INI file's own special characters survives as written.
    const QString tricky = QString::fromUtf8("a,b;c=d \"引号\" [x] \\y");
    QVERIFY(player.WriteSetting(QStringLiteral("DressHome"), tricky));
    QCOMPARE(player.ReadSetting(QStringLiteral("DressHome"), QString()), tricky);
    QVERIFY(player.WriteSetting(QStringLiteral("DressEnd"), QString()));
    QCOMPARE(player.ReadSetting(QStringLiteral("DressEnd"), QStringLiteral("default")), QString());
    QCOMPARE(player.FilePath(), root.path() + QStringLiteral("/Lyrova/Lyrova.ini"));
    QVERIFY(QFile::exists(player.FilePath()));
    // The stored file groups every key under "Set".
    QFile file(player.FilePath());
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(file.readAll().startsWith("[Set]"));
  }

  void booleansFollowTheirDefault_data() {
    QTest::addColumn<QString>("stored");
    QTest::addColumn<bool>("defaultTrue");
    QTest::addColumn<bool>("defaultFalse");
    QTest::newRow("true") << "-1" << true << true;
    QTest::newRow("false") << "0" << false << false;
    QTest::newRow("one") << "1" << true << false;
    QTest::newRow("word") << "True" << true << false;
    QTest::newRow("empty") << "" << true << false;
  }
  void booleansFollowTheirDefault() {
    QFETCH(QString, stored);
    QFETCH(bool, defaultTrue);
    QFETCH(bool, defaultFalse);
    QTemporaryDir root;
    const SettingsStore store(kPlayerProgram, root.path());
    store.WriteSetting(QStringLiteral("AutoPlay"), stored);
    store.WriteSetting(QStringLiteral("PlayLoop"), stored);
    QCOMPARE(store.ReadBoolSetting(QStringLiteral("AutoPlay"), true), defaultTrue);
    QCOMPARE(store.ReadBoolSetting(QStringLiteral("PlayLoop"), false), defaultFalse);
  }

  void booleansAbsentAndWritten() {
    QTemporaryDir root;
    const SettingsStore store(kPlayerProgram, root.path());
    QCOMPARE(store.ReadBoolSetting(QStringLiteral("AutoPlay"), true), true);
    QCOMPARE(store.ReadBoolSetting(QStringLiteral("PlayLoop"), false), false);
    store.WriteBoolSetting(QStringLiteral("PlayLoop"), true);
    QCOMPARE(store.ReadSetting(QStringLiteral("PlayLoop"), QString()), QStringLiteral("-1"));
    store.WriteBoolSetting(QStringLiteral("AutoPlay"), false);
    QCOMPARE(store.ReadSetting(QStringLiteral("AutoPlay"), QString()), QStringLiteral("0"));
  }

  void numbers() {
    QTemporaryDir root;
    const SettingsStore store(kPlayerProgram, root.path());
    QCOMPARE(store.ReadNumberSetting(QStringLiteral("Width"), QStringLiteral("6000")), 6000.0);
    store.WriteSetting(QStringLiteral("Width"), QStringLiteral("abc"));
    QCOMPARE(store.ReadNumberSetting(QStringLiteral("Width"), QStringLiteral("6000")), 0.0);
    store.WriteSetting(QStringLiteral("FontSize"), QStringLiteral("7.5"));
    QCOMPARE(store.ReadNumberSetting(QStringLiteral("FontSize"), QStringLiteral("11")), 7.5);
  }

  void editorHandOffLandsInEditorStore() {
    QTemporaryDir root;
    const SettingsStore player(kPlayerProgram, root.path());
    QVERIFY(player.WriteEditorSetting(QStringLiteral("GetNameMp3"), QStringLiteral("/m/歌.mp3")));
    const SettingsStore editor(kEditorProgram, root.path());
    QCOMPARE(editor.ReadSetting(QStringLiteral("GetNameMp3"), QString()), QStringLiteral("/m/歌.mp3"));
    QCOMPARE(player.ReadSetting(QStringLiteral("GetNameMp3"), QStringLiteral("none")), QStringLiteral("none"));
    QCOMPARE(editor.FilePath(), root.path() + QStringLiteral("/Versel/Versel.ini"));
  }

  void unwritableStoreReportsFailure() {
    QTemporaryDir root;
    // A file where the program's folder should be: the store cannot be created.
    QFile blocker(root.filePath(QStringLiteral("Lyrova")));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const SettingsStore store(kPlayerProgram, root.path());
    QVERIFY(!store.WriteSetting(QStringLiteral("Volume"), QStringLiteral("1")));
    QCOMPARE(store.ReadSetting(QStringLiteral("Volume"), QStringLiteral("750")), QStringLiteral("750"));
  }
};

QTEST_GUILESS_MAIN(TestSettings)
#include "tst_settings.moc"
