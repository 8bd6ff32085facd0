#include "player/core/playersettings.h"

#include <QTemporaryDir>
#include <QTest>

using namespace lyrova;
using namespace lyrova::playerkeys;

class TestPlayerSettings : public QObject {
  Q_OBJECT

 private slots:
  void firstStartDefaults() {
    QTemporaryDir root;
    const SettingsStore store(kPlayerProgram, root.path());
    const PlayerSettings s = ReadPlayerSettings(store, u"/opt/lyrova"_qs, 7'200);
    QCOMPARE(s.openDir, u"/opt/lyrova"_qs);
    QCOMPARE(s.openName, QString());
    QCOMPARE(s.volume, 750);
    QCOMPARE(s.sendType, 0);
    QCOMPARE(s.transparency, 3);
    QVERIFY(s.openLrcSel);
    QVERIFY(!s.playLoop);
    QVERIFY(s.autoPlay);
    QVERIFY(!s.skipUrl);
    QVERIFY(s.chatTest);
    QCOMPARE(s.widthTwips, 7'200);
    QCOMPARE(s.fontName, u"宋体"_qs);
    QCOMPARE(s.fontSize.value(), 11.0);
  }

  void storedValuesAreClamped_data() {
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<int>("volume");
    QTest::addColumn<int>("sendType");
    QTest::addColumn<int>("transparency");
    QTest::newRow("volume high") << kVolume << "1200" << 1000 << 0 << 3;
    QTest::newRow("volume negative") << kVolume << "-5" << 0 << 0 << 3;
    QTest::newRow("volume text") << kVolume << "loud" << 0 << 0 << 3;
    QTest::newRow("volume half to even") << kVolume << "600.5" << 600 << 0 << 3;
    QTest::newRow("send type 3") << kSendType << "3" << 750 << 0 << 3;
    QTest::newRow("send type 2") << kSendType << "2" << 750 << 2 << 3;
    QTest::newRow("send type -1") << kSendType << "-1" << 750 << 0 << 3;
    QTest::newRow("transparency 20") << kTransparence << "20" << 750 << 0 << 14;
    QTest::newRow("transparency -2") << kTransparence << "-2" << 750 << 0 << 0;
  }
  void storedValuesAreClamped() {
    QFETCH(QString, key);
    QFETCH(QString, stored);
    QFETCH(int, volume);
    QFETCH(int, sendType);
    QFETCH(int, transparency);
    QTemporaryDir root;
    const SettingsStore store(kPlayerProgram, root.path());
    store.WriteSetting(key, stored);
    const PlayerSettings s = ReadPlayerSettings(store, QString(), 0);
    QCOMPARE(s.volume, volume);
    QCOMPARE(s.sendType, sendType);
    QCOMPARE(s.transparency, transparency);
  }

  void fontSizes_data() {
    QTest::addColumn<QString>("stored");
    QTest::addColumn<bool>("usable");
    QTest::newRow("7.5") << "7.5" << false;
    QTest::newRow("8") << "8" << true;
    QTest::newRow("48") << "48" << true;
    QTest::newRow("49") << "49" << false;
    QTest::newRow("text") << "big" << false;
  }
  void fontSizes() {
    QFETCH(QString, stored);
    QFETCH(bool, usable);
    QCOMPARE(UsableFontSize(stored).has_value(), usable);
  }

  void shutdownWritesFiveKeys() {
    QTemporaryDir root;
    const SettingsStore store(kPlayerProgram, root.path());
    WriteShutdownSettings(store, 8'000, 640, 1, u"/音乐"_qs, u"/音乐/歌.mp3"_qs);
    const PlayerSettings s = ReadPlayerSettings(store, u"/x"_qs, 7'200);
    QCOMPARE(s.widthTwips, 8'000);
    QCOMPARE(s.volume, 640);
    QCOMPARE(s.sendType, 1);
    QCOMPARE(s.openDir, u"/音乐"_qs);
    QCOMPARE(s.openName, u"/音乐/歌.mp3"_qs);
    QCOMPARE(store.ReadSetting(kTransparence, u"unset"_qs), u"unset"_qs);
  }
};

QTEST_GUILESS_MAIN(TestPlayerSettings)
#include "tst_playersettings.moc"
