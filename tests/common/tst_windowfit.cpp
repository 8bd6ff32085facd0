#include "common/windowfit.h"

#include <QTest>

#include <limits>

using namespace lyrova;

class TestWindowFit : public QObject {
  Q_OBJECT

 private slots:
  // The Player's numbers: minimum 379 px, design 500 px.
  void storedExtentIsFitted_data() {
    QTest::addColumn<qint64>("stored");
    QTest::addColumn<int>("available");
    QTest::addColumn<int>("fitted");
    QTest::newRow("fits") << qint64(640) << 1280 << 640;
    QTest::newRow("exactly the screen") << qint64(1280) << 1280 << 1280;
    QTest::newRow("one past the screen") << qint64(1281) << 1280 << 1280;
    QTest::newRow("absurd, no screen") << qint64(143165576) << kNoScreenExtentPixels << 4096;
    QTest::newRow("beyond 32 bits") << (qint64(1) << 40) << 1280 << 1280;
    QTest::newRow("below the minimum") << qint64(12) << 1280 << 379;
    QTest::newRow("one") << qint64(1) << 1280 << 379;
    QTest::newRow("zero (no number)") << qint64(0) << 1280 << 500;
    QTest::newRow("negative") << qint64(-200) << 1280 << 500;
    QTest::newRow("most negative") << std::numeric_limits<qint64>::min() << 1280 << 500;
    QTest::newRow("default wider than the screen") << qint64(0) << 450 << 450;
    QTest::newRow("screen narrower than the minimum") << qint64(900) << 300 << 379;
  }
  void storedExtentIsFitted() {
    QFETCH(qint64, stored);
    QFETCH(int, available);
    QFETCH(int, fitted);
    QCOMPARE(FitStoredExtent(stored, 379, 500, available), fitted);
  }
};

QTEST_APPLESS_MAIN(TestWindowFit)
#include "tst_windowfit.moc"
