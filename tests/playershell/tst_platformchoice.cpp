#include "player/shell/platformchoice.h"

#include <QHash>
#include <QTest>

using namespace lyrova;

class TstPlatformChoice : public QObject {
  Q_OBJECT

 private slots:
  void choosesPlatform_data() {
    QTest::addColumn<QString>("named");
    QTest::addColumn<QString>("display");
    QTest::addColumn<QString>("wayland");
    QTest::addColumn<QByteArray>("platform");
    QTest::addColumn<bool>("noDisplay");
    QTest::newRow("X11 only") << "" << ":0" << "" << QByteArray() << false;
    QTest::newRow("Wayland with XWayland asks for xcb")
        << "" << ":0" << "wayland-0" << QByteArray("xcb") << false;
    QTest::newRow("Wayland only keeps Qt's choice") << "" << "" << "wayland-0" << QByteArray()
                                                    << false;
    QTest::newRow("no display runs offscreen") << "" << "" << "" << QByteArray("offscreen")
                                               << true;
    QTest::newRow("the user's platform wins") << "wayland" << ":0" << "wayland-0" << QByteArray()
                                              << false;
  }
  void choosesPlatform() {
    QFETCH(QString, named);
    QFETCH(QString, display);
    QFETCH(QString, wayland);
    QFETCH(QByteArray, platform);
    QFETCH(bool, noDisplay);
    const QHash<QByteArray, QByteArray> env = {{"QT_QPA_PLATFORM", named.toUtf8()},
                                               {"DISPLAY", display.toUtf8()},
                                               {"WAYLAND_DISPLAY", wayland.toUtf8()}};
    const PlatformChoice choice = ChoosePlatform([&](const char* name) { return env.value(name); });
    QCOMPARE(choice.platform, platform);
    QCOMPARE(choice.noDisplay, noDisplay);
  }

  void platformsThatShowNothing() {
    for (const QString& name : {u"offscreen"_qs, u"minimal"_qs}) QVERIFY2(ShowsNothing(name), qPrintable(name));
    for (const QString& name : {u"xcb"_qs, u"wayland"_qs, u"eglfs"_qs, u"vnc"_qs, u"minimalegl"_qs})
      QVERIFY2(!ShowsNothing(name), qPrintable(name));
  }

  void notesMissingEffectsOnWaylandOnly() {
    QCOMPARE(EffectsNote(u"wayland"_qs), u"此桌面不支持置顶、透明和拖动窗口"_qs);
    QCOMPARE(EffectsNote(u"wayland-egl"_qs), u"此桌面不支持置顶、透明和拖动窗口"_qs);
    QVERIFY(EffectsNote(u"xcb"_qs).isEmpty());
    QVERIFY(EffectsNote(u"offscreen"_qs).isEmpty());
  }
};

QTEST_GUILESS_MAIN(TstPlatformChoice)
#include "tst_platformchoice.moc"
