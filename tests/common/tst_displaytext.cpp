#include "common/displaytext.h"

#include <QTest>

using namespace lyrova;

namespace {
const QString kClef = QString::fromUcs4(U"\U0001D11E");  // one character, two UTF-16 units
}  // namespace

class TestDisplayText : public QObject {
  Q_OBJECT

 private slots:
  void cut_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("maxChars");
    QTest::addColumn<QString>("shown");
    QTest::newRow("empty") << QString() << 5 << QString();
    QTest::newRow("shorter") << u"abc"_qs << 5 << u"abc"_qs;
    QTest::newRow("exactly the limit") << u"abcde"_qs << 5 << u"abcde"_qs;
    QTest::newRow("one over") << u"abcdef"_qs << 5 << u"abcd…"_qs;
    QTest::newRow("chinese") << u"月光照在河面上"_qs << 4 << u"月光照…"_qs;
    QTest::newRow("pair would straddle the cut") << (u"ab"_qs + kClef + u"cd"_qs) << 4 << u"ab…"_qs;
    QTest::newRow("pair just before the cut") << (u"a"_qs + kClef + u"cde"_qs) << 4
                                              << (u"a"_qs + kClef + u"…"_qs);
    QTest::newRow("limit 1") << u"ab"_qs << 1 << u"…"_qs;
    QTest::newRow("limit 0 counts as 1") << u"ab"_qs << 0 << u"…"_qs;
    QTest::newRow("limit 0, one character") << u"a"_qs << 0 << u"a"_qs;
  }
  void cut() {
    QFETCH(QString, text);
    QFETCH(int, maxChars);
    QFETCH(QString, shown);
    QCOMPARE(DisplayText(text, maxChars), shown);
    QCOMPARE(CutForDisplay(text, maxChars), shown != text);
  }

  // The default limit, on a text of megabytes; a text that fits is the same storage, not a copy.
  void longTextAndSharing() {
    const QString line(3'000'000, u'x');
    const QString shown = DisplayText(line);
    QCOMPARE(shown.size(), kDisplayTextChars);
    QVERIFY(shown.endsWith(u'…'));
    QVERIFY(line.startsWith(shown.chopped(1)));
    const QString fits(kDisplayTextChars, u'y');
    QCOMPARE(DisplayText(fits).constData(), fits.constData());
  }
};

QTEST_GUILESS_MAIN(TestDisplayText)
#include "tst_displaytext.moc"
