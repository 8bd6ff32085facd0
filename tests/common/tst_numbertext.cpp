#include "common/numbertext.h"

#include <QTest>

#include <limits>

using namespace lyrova;

class TestNumberText : public QObject {
  Q_OBJECT

 private slots:
  void parseNumber_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("numeric");
    QTest::addColumn<double>("value");
    QTest::newRow("integer") << "500" << true << 500.0;
    QTest::newRow("blanks and sign") << "  -500 " << true << -500.0;
    QTest::newRow("plus") << "+12" << true << 12.0;
    QTest::newRow("decimal") << "2.5" << true << 2.5;
    QTest::newRow("leading point") << ".5" << true << 0.5;
    QTest::newRow("trailing point") << "5." << true << 5.0;
    QTest::newRow("exponent") << "1e3" << true << 1000.0;
    QTest::newRow("empty") << "" << false << 0.0;
    QTest::newRow("blanks") << "   " << false << 0.0;
    QTest::newRow("point only") << "." << false << 0.0;
    QTest::newRow("sign only") << "-" << false << 0.0;
    QTest::newRow("letters") << "12a" << false << 0.0;
    QTest::newRow("inner blank") << "1 2" << false << 0.0;
    QTest::newRow("hex") << "0x10" << false << 0.0;
    QTest::newRow("inf") << "inf" << false << 0.0;
    QTest::newRow("two points") << "1.2.3" << false << 0.0;
    QTest::newRow("tab") << "\t5" << false << 0.0;
    QTest::newRow("fullwidth digit") << QString::fromUtf8("５") << false << 0.0;
  }
  void parseNumber() {
    QFETCH(QString, text);
    QFETCH(bool, numeric);
    QFETCH(double, value);
    const auto parsed = ParseNumber(text);
    QCOMPARE(parsed.has_value(), numeric);
    if (numeric) QCOMPARE(*parsed, value);
  }

  void leadingNumber_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("value");
    QTest::newRow("device reply") << "1" << 1.0;
    QTest::newRow("with tail") << "12ab" << 12.0;
    QTest::newRow("empty") << "" << 0.0;
    QTest::newRow("text") << "abc" << 0.0;
    QTest::newRow("blank first") << "  -7.5x" << -7.5;
    QTest::newRow("dangling exponent") << "3e" << 3.0;
  }
  void leadingNumber() {
    QFETCH(QString, text);
    QFETCH(double, value);
    QCOMPARE(LeadingNumber(text), value);
  }

  void rounding_data() {
    QTest::addColumn<double>("value");
    QTest::addColumn<bool>("fits");
    QTest::addColumn<int>("expected");
    QTest::newRow("half to even down") << 2.5 << true << 2;
    QTest::newRow("half to even up") << 3.5 << true << 4;
    QTest::newRow("negative half") << -2.5 << true << -2;
    QTest::newRow("below half") << 2.49 << true << 2;
    QTest::newRow("max") << 2147483647.0 << true << std::numeric_limits<int>::max();
    QTest::newRow("min") << -2147483648.0 << true << std::numeric_limits<int>::min();
    QTest::newRow("over max") << 2147483647.5 << false << 0;
    QTest::newRow("far over") << 1e12 << false << 0;
    QTest::newRow("under min") << -2147483649.0 << false << 0;
  }
  void rounding() {
    QFETCH(double, value);
    QFETCH(bool, fits);
    QFETCH(int, expected);
    const auto rounded = RoundToInt32(value);
    QCOMPARE(rounded.has_value(), fits);
    if (fits) QCOMPARE(*rounded, expected);
  }

  void clamping() {
    QCOMPARE(RoundClampInt32(1e12), std::numeric_limits<qint32>::max());
    QCOMPARE(RoundClampInt32(-1e12), std::numeric_limits<qint32>::min());
    QCOMPARE(RoundClampInt32(std::numeric_limits<double>::quiet_NaN()), 0);
    QCOMPARE(RoundClampInt32(749.5), 750);
  }
};

QTEST_GUILESS_MAIN(TestNumberText)
#include "tst_numbertext.moc"
