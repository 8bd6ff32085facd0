#include "player/shell/windoweffects.h"

#include <QGuiApplication>
#include <QTest>

using namespace lyrova;

class TestWindowEffects : public QObject {
  Q_OBJECT

 private slots:
  void alphaTable_data() {
    QTest::addColumn<int>("step");
    QTest::addColumn<int>("alpha");
    QTest::addColumn<QString>("item");
    const int alphas[kTransparencySteps] = {255, 242, 230, 217, 204, 191, 178, 166, 153, 140, 128, 115, 102, 89, 76};
    for (int step = 0; step < kTransparencySteps; ++step) {
      const QString item = step == 0 ? QStringLiteral("不透明") : QString::number(5 * step) + u'%';
      QTest::addRow("step %d", step) << step << alphas[step] << item;
    }
  }
  void alphaTable() {
    QFETCH(int, step);
    QFETCH(int, alpha);
    QFETCH(QString, item);
    QCOMPARE(AlphaForStep(step), alpha);
    QCOMPARE(OpacityForStep(step), alpha / 255.0);
    QCOMPARE(TransparencyItemCaption(step), item);
    QCOMPARE(TransparencyMenuCaption(step), QStringLiteral("透明度: ") + QString::number(5 * step) + u'%');
  }

  // Halves go to the even neighbour: 127.5 -> 128, 229.5 -> 230, 76.5 -> 76, 178.5 -> 178.
  void halvesToEven_data() {
    QTest::addColumn<int>("step");
    QTest::addColumn<int>("alpha");
    QTest::newRow("10") << 10 << 128;
    QTest::newRow("2") << 2 << 230;
    QTest::newRow("14") << 14 << 76;
    QTest::newRow("6") << 6 << 178;
    QTest::newRow("below range") << -3 << 255;
    QTest::newRow("above range") << 15 << 76;
    QTest::newRow("far above") << 40 << 76;
  }
  void halvesToEven() {
    QFETCH(int, step);
    QFETCH(int, alpha);
    QCOMPARE(AlphaForStep(step), alpha);
  }

  void layeredAvailableOn_data() {
    QTest::addColumn<QString>("platform");
    QTest::addColumn<bool>("available");
    QTest::newRow("xcb") << "xcb" << true;
    QTest::newRow("windows") << "windows" << true;
    QTest::newRow("offscreen") << "offscreen" << false;
    QTest::newRow("wayland") << "wayland" << false;
    QTest::newRow("wayland-egl") << "wayland-egl" << false;
    QTest::newRow("minimal") << "minimal" << false;
    QTest::newRow("none") << "" << false;
  }
  void layeredAvailableOn() {
    QFETCH(QString, platform);
    QFETCH(bool, available);
    QCOMPARE(LayeredAvailableOn(platform), available);
  }

  void layeredAvailableForRunningPlatform() {
    QCOMPARE(LayeredAvailable(), LayeredAvailableOn(QGuiApplication::platformName()));
    if (QGuiApplication::platformName() == u"offscreen") QVERIFY(!LayeredAvailable());
  }
};

QTEST_MAIN(TestWindowEffects)
#include "tst_windoweffects.moc"
