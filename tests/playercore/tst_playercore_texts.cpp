#include "player/core/fontorder.h"
#include "player/core/progressgeometry.h"
#include "player/core/shifttext.h"

#include <QTest>

using namespace lyrova;

class TestPlayerCoreTexts : public QObject {
  Q_OBJECT

 private slots:
  void progress_data() {
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("length");
    QTest::addColumn<int>("position");
    QTest::addColumn<int>("next");
    QTest::addColumn<bool>("loaded");
    QTest::addColumn<int>("playedX");
    QTest::addColumn<int>("nextX");
    QTest::addColumn<bool>("span");
    QTest::newRow("middle") << 200 << 10'000 << 5'000 << 7'500 << true << 100 << 150 << true;
    QTest::newRow("half rounds to even") << 10 << 4'000 << 1'000 << 1'400 << true << 2 << 4 << true;
    QTest::newRow("no lyrics: no span") << 200 << 10'000 << 5'000 << 7'500 << false << 100 << 150 << false;
    QTest::newRow("next not beyond") << 200 << 10'000 << 5'000 << 5'000 << true << 100 << 100 << false;
    QTest::newRow("no song") << 200 << 0 << 5'000 << 7'500 << true << 0 << 0 << false;
    QTest::newRow("zero width") << 0 << 10'000 << 5'000 << 7'500 << true << 0 << 0 << false;
    QTest::newRow("end") << 200 << 10'000 << 10'000 << 10'000 << true << 200 << 200 << false;
  }
  void progress() {
    QFETCH(int, width);
    QFETCH(int, length);
    QFETCH(int, position);
    QFETCH(int, next);
    QFETCH(bool, loaded);
    QFETCH(int, playedX);
    QFETCH(int, nextX);
    QFETCH(bool, span);
    const ProgressPicture picture = ProgressFor(width, length, position, next, loaded);
    QCOMPARE(picture.playedX, playedX);
    QCOMPARE(picture.nextX, nextX);
    QCOMPARE(picture.showSpan, span);
  }

  void seekAndVolumePoints() {
    QCOMPARE(SeekTargetFor(50, 200, 10'000), 2'500);
    QCOMPARE(SeekTargetFor(-20, 200, 10'000), 0);
    QCOMPARE(SeekTargetFor(900, 200, 10'000), 10'000);
    QCOMPARE(SeekTargetFor(10, 0, 10'000), 0);
    QCOMPARE(VolumeForX(30, 120), 250);
    QCOMPARE(VolumeForX(30, 0), 0);
    QCOMPARE(VolumeFillWidth(750, 120), 90);
    QCOMPARE(VolumeFillWidth(0, 120), 0);
    QCOMPARE(VolumeFillWidth(500, 0), 0);
  }

  void shiftMenus_data() {
    QTest::addColumn<int>("shift");
    QTest::addColumn<bool>("none");
    QTest::addColumn<QString>("advance");
    QTest::addColumn<QString>("delay");
    QTest::addColumn<int>("advanceItem");
    QTest::addColumn<int>("delayItem");
    QTest::newRow("no shift") << 0 << true << "歌词提前↑" << "歌词延迟↓" << -1 << -1;
    QTest::newRow("advance 1.5") << 1'500 << false << "歌词提前↑: 1.5 秒" << "歌词延迟↓" << 2 << -1;
    QTest::newRow("last item") << 15'000 << false << "歌词提前↑: 15 秒" << "歌词延迟↓" << 29 << -1;
    QTest::newRow("delay 0.5") << -500 << false << "歌词提前↑" << "歌词延迟↓: 0.5 秒" << -1 << 0;
    QTest::newRow("beyond the menu") << 16'000 << false << "歌词提前↑: 16 秒" << "歌词延迟↓" << -1 << -1;
    QTest::newRow("keys' limit") << -120'000 << false << "歌词提前↑" << "歌词延迟↓: 120 秒" << -1 << -1;
  }
  void shiftMenus() {
    QFETCH(int, shift);
    QFETCH(bool, none);
    QFETCH(QString, advance);
    QFETCH(QString, delay);
    QFETCH(int, advanceItem);
    QFETCH(int, delayItem);
    const ShiftMenuState state = ShiftMenuFor(shift);
    QCOMPARE(state.noShiftChecked, none);
    QCOMPARE(state.advanceCaption, advance);
    QCOMPARE(state.delayCaption, delay);
    QCOMPARE(state.advanceChecked, advanceItem);
    QCOMPARE(state.delayChecked, delayItem);
  }

  void shiftItemsAndKeySteps() {
    QCOMPARE(ShiftItemCaption(0), u"0.5 秒"_qs);
    QCOMPARE(ShiftItemCaption(1), u"1.0 秒"_qs);
    QCOMPARE(ShiftItemCaption(29), u"15.0 秒"_qs);
    QCOMPARE(StepShift(119'500, 500), 120'000);
    QCOMPARE(StepShift(120'000, 500), 120'000);
    QCOMPARE(StepShift(-120'000, -500), -120'000);
    QCOMPARE(StepShift(0, -500), -500);
    QCOMPARE(ShiftStepLabel(120'000), u"加快 120.0秒"_qs);
    QCOMPARE(ShiftStepLabel(500), u"加快 00.5秒"_qs);
    QCOMPARE(ShiftStepLabel(0), u"加快 00.0秒"_qs);
    QCOMPARE(ShiftStepLabel(-5'500), u"减慢 05.5秒"_qs);
    QCOMPARE(ShiftStepLabel(-12'000), u"减慢 12.0秒"_qs);
  }

  void fontOrder() {
    const QStringList input{u"Arial"_qs,     u"@宋体"_qs,  u"宋体"_qs, u"@Mono"_qs,
                            u" Courier "_qs, u"黑体"_qs,   u"@黑体"_qs};
    const QStringList ordered = OrderFontNames(input);
    QCOMPARE(ordered.size(), input.size());
    // Wide ordinary names, then ordinary names, then vertical variants with wide ones first.
    QCOMPARE(ordered.mid(0, 2), (QStringList{u"宋体"_qs, u"黑体"_qs}));
    QCOMPARE(QSet<QString>(ordered.begin() + 2, ordered.begin() + 4),
             (QSet<QString>{u"Arial"_qs, u"Courier"_qs}));
    QCOMPARE(QSet<QString>(ordered.begin() + 4, ordered.begin() + 6),
             (QSet<QString>{u"@宋体"_qs, u"@黑体"_qs}));
    QCOMPARE(ordered.last(), u"@Mono"_qs);
    QCOMPARE(OrderFontNames({}), QStringList());
  }
};

QTEST_GUILESS_MAIN(TestPlayerCoreTexts)
#include "tst_playercore_texts.moc"
