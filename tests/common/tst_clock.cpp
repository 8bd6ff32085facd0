#include "common/clock.h"

#include <QTest>

using namespace lyrova;

class TestClock : public QObject {
  Q_OBJECT

 private slots:
  void playerClock_data() {
    QTest::addColumn<int>("ms");
    QTest::addColumn<QString>("text");
    QTest::newRow("zero") << 0 << "00:00";
    QTest::newRow("below a second") << 999 << "00:00";
    QTest::newRow("minutes") << 83'500 << "01:23";
    QTest::newRow("last before hour") << 3'599'999 << "59:59";
    QTest::newRow("one hour") << 3'600'000 << "01:00:00";
    QTest::newRow("long") << 100 * 3'600'000 + 61'000 << "100:01:01";
    QTest::newRow("negative") << -1'500 << "-00:01";
    QTest::newRow("small negative") << -500 << "-00:00";
  }
  void playerClock() {
    QFETCH(int, ms);
    QFETCH(QString, text);
    QCOMPARE(FormatClock(ms), text);
  }

  void editorClock_data() {
    QTest::addColumn<int>("ms");
    QTest::addColumn<QString>("text");
    QTest::newRow("no time") << -1 << "        ";
    QTest::newRow("zero") << 0 << "00:00:00";
    QTest::newRow("minutes") << 83'500 << "00:01:23";
    QTest::newRow("hours") << 3'723'000 << "01:02:03";
    QTest::newRow("negative") << -2'000 << "-00:00:02";
  }
  void editorClock() {
    QFETCH(int, ms);
    QFETCH(QString, text);
    QCOMPARE(FormatEditorClock(ms), text);
  }

  // The cache is keyed by the whole second: every time within a second gives that second's
  // text, and a new second (either way) gives a new one.
  void cacheFollowsSeconds() {
    QCOMPARE(FormatClock(5'000), QStringLiteral("00:05"));
    QCOMPARE(FormatClock(5'990), QStringLiteral("00:05"));
    QCOMPARE(FormatClock(6'000), QStringLiteral("00:06"));
    QCOMPARE(FormatClock(4'999), QStringLiteral("00:04"));
    QCOMPARE(FormatClock(-999), QStringLiteral("-00:00"));
    QCOMPARE(FormatClock(999), QStringLiteral("00:00"));
    QCOMPARE(FormatEditorClock(-1), QStringLiteral("        "));
    QCOMPARE(FormatEditorClock(1'000), QStringLiteral("00:00:01"));
    QCOMPARE(FormatEditorClock(-1), QStringLiteral("        "));
  }
};

QTEST_GUILESS_MAIN(TestClock)
#include "tst_clock.moc"
