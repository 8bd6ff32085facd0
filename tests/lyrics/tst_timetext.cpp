#include "lyrics/timetext.h"

#include <QTest>

#include <limits>

using namespace lyrova;

class TestTimeText : public QObject {
  Q_OBJECT

 private slots:
  void formatTimeTag_data() {
    QTest::addColumn<int>("ms");
    QTest::addColumn<bool>("showTime");
    QTest::addColumn<bool>("noSign");
    QTest::addColumn<QString>("text");
    QTest::newRow("zero") << 0 << true << true << u"00:00.00"_qs;
    QTest::newRow("zero with sign place") << 0 << true << false << u" 00:00.00"_qs;
    QTest::newRow("truncated, not rounded") << 1239 << true << true << u"00:01.23"_qs;
    QTest::newRow("75 minutes") << 4500000 << true << true << u"75:00.00"_qs;
    QTest::newRow("largest") << 5999999 << true << false << u" 99:59.99"_qs;
    QTest::newRow("negative with sign") << -1230 << true << false << u"-00:01.23"_qs;
    QTest::newRow("negative without sign") << -1230 << true << true << u"00:01.23"_qs;
    QTest::newRow("negative truncated toward zero") << -1239 << true << false << u"-00:01.23"_qs;
    QTest::newRow("negative largest") << -5999999 << true << false << u"-99:59.99"_qs;
    QTest::newRow("6,000,000 is blank") << 6000000 << true << true << u"        "_qs;
    QTest::newRow("-6,000,000 is blank") << -6000000 << true << false << u"         "_qs;
    QTest::newRow("int min is blank") << std::numeric_limits<int>::min() << true << false
                                      << u"         "_qs;
    QTest::newRow("hidden, no sign") << 1000 << false << true << u"        "_qs;
    QTest::newRow("hidden, sign place") << 1000 << false << false << u"         "_qs;
    QTest::newRow("seconds and minutes") << 754321 << true << true << u"12:34.32"_qs;
  }
  void formatTimeTag() {
    QFETCH(int, ms);
    QFETCH(bool, showTime);
    QFETCH(bool, noSign);
    QFETCH(QString, text);
    QCOMPARE(FormatTimeTag(ms, showTime, noSign), text);
  }

  void parseTimeText_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<int>("ms");
    QTest::newRow("one-digit fraction is tenths") << u"1:02.5"_qs << true << 62500;
    QTest::newRow("three-digit fraction is milliseconds") << u"1:02.045"_qs << true << 62045;
    QTest::newRow("negative milliseconds") << u"-00:12.345"_qs << true << -12345;
    QTest::newRow("full") << u"01:02.34"_qs << true << 62340;
    QTest::newRow("no fraction") << u"01:02"_qs << true << 62000;
    QTest::newRow("seconds only") << u"90"_qs << true << 90000;
    QTest::newRow("decimal seconds") << u"2.5"_qs << true << 2500;
    QTest::newRow("negative seconds") << u"-2.5"_qs << true << -2500;
    QTest::newRow("seconds rounded half to even, down") << u"0.0625"_qs << true << 62;
    QTest::newRow("seconds rounded half to even, up") << u"0.1875"_qs << true << 188;
    QTest::newRow("negative tag") << u"-01:02.50"_qs << true << -62500;
    QTest::newRow("blanks around") << u"  1:00  "_qs << true << 60000;
    QTest::newRow("largest in hundredths") << u"99:59.99"_qs << true << 5999990;
    QTest::newRow("largest") << u"99:59.999"_qs << true << 5999999;
    QTest::newRow("minutes rounded") << u"1.5:00"_qs << true << 120000;
    QTest::newRow("seconds 60") << u"01:60"_qs << false << 0;
    QTest::newRow("fraction 100 is milliseconds") << u"01:02.100"_qs << true << 62100;
    QTest::newRow("four-digit fraction") << u"01:02.1000"_qs << false << 0;
    QTest::newRow("signed fraction") << u"1:02.-5"_qs << false << 0;
    QTest::newRow("second dot") << u"1:02.5.5"_qs << false << 0;
    QTest::newRow("minutes 100") << u"100:00"_qs << false << 0;
    QTest::newRow("empty fraction") << u"01:02."_qs << false << 0;
    QTest::newRow("empty") << QString() << false << 0;
    QTest::newRow("blanks") << u"   "_qs << false << 0;
    QTest::newRow("only a sign") << u"-"_qs << false << 0;
    QTest::newRow("letters") << u"abc"_qs << false << 0;
    QTest::newRow("letters in minutes") << u"a:00"_qs << false << 0;
    QTest::newRow("double sign") << u"--5"_qs << false << 0;
    QTest::newRow("huge seconds overflow") << u"99999999999"_qs << false << 0;
    QTest::newRow("largest seconds") << u"2147483.647"_qs << true << 2147483647;
    QTest::newRow("huge minutes") << u"-99999999999:00"_qs << false << 0;
    QTest::newRow("half-typed") << u"1:"_qs << false << 0;
  }
  void parseTimeText() {
    QFETCH(QString, text);
    QFETCH(bool, valid);
    QFETCH(int, ms);
    const std::optional<qint32> got = ParseTimeText(text);
    QCOMPARE(got.has_value(), valid);
    if (valid) QCOMPARE(*got, ms);
  }
};

QTEST_GUILESS_MAIN(TestTimeText)
#include "tst_timetext.moc"
