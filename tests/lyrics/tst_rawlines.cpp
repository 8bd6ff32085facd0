#include "lyrics/rawlines.h"

#include <QTest>

using namespace lyrova;

class TestRawLines : public QObject {
  Q_OBJECT

 private slots:
  void readRawLine_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("encoding");
    QTest::addColumn<QStringList>("lines");
    const int ansi = int(TextEncoding::Ansi);
    const int utf8 = int(TextEncoding::Utf8);
    QTest::newRow("empty") << QByteArray() << ansi << QStringList();
    QTest::newRow("only breaks") << QByteArray("\r\n\r\n\0\n", 6) << ansi << QStringList();
    QTest::newRow("one line without break") << QByteArray("abc") << ansi << QStringList{u"abc"_qs};
    QTest::newRow("crlf") << QByteArray("a\r\nb\r\n") << ansi << QStringList{u"a"_qs, u"b"_qs};
    QTest::newRow("cr only and lf only") << QByteArray("a\rb\nc") << ansi
                                         << QStringList{u"a"_qs, u"b"_qs, u"c"_qs};
    QTest::newRow("nul breaks") << QByteArray("a\0b", 3) << ansi << QStringList{u"a"_qs, u"b"_qs};
    QTest::newRow("blank lines vanish") << QByteArray("a\r\n\r\n\n\rb") << ansi
                                        << QStringList{u"a"_qs, u"b"_qs};
    QTest::newRow("leading breaks give one empty line")
        << QByteArray("\r\n\r\na\r\nb") << ansi << QStringList{QString(), u"a"_qs, u"b"_qs};
    QTest::newRow("blanks are content") << QByteArray("  \r\n x ") << ansi
                                        << QStringList{u"  "_qs, u" x "_qs};
    // GBK bytes of 月光: decoded per line with the ANSI code page.
    QTest::newRow("gbk") << QByteArray::fromHex("5b74693ad4c2b9e25d0d0a61") << ansi
                         << QStringList{u"[ti:月光]"_qs, u"a"_qs};
    QTest::newRow("utf8") << QByteArray("[ti:\xe6\x9c\x88]\na") << utf8
                          << QStringList{u"[ti:月]"_qs, u"a"_qs};
    // A lead byte cut off by a line break becomes a replacement character, and the next line
    // is not swallowed.
    QTest::newRow("gbk lead byte before break")
        << QByteArray("a\xd4\r\nb") << ansi << QStringList{u"a\ufffd"_qs, u"b"_qs};
    QTest::newRow("invalid utf8 in a utf8 file")
        << QByteArray("\xe6\x9c\n\xe6\x9c\x88") << utf8 << QStringList{u"\ufffd\ufffd"_qs, u"月"_qs};
  }
  void readRawLine() {
    QFETCH(QByteArray, bytes);
    QFETCH(int, encoding);
    QFETCH(QStringList, lines);
    RawLineReader reader(bytes, TextEncoding(encoding));
    QStringList got;
    QString line;
    while (reader.ReadRawLine(&line)) {
      got.append(line);
      QVERIFY(got.size() <= lines.size() + 1);
    }
    QCOMPARE(got, lines);
    QCOMPARE(reader.position(), bytes.size());
    QVERIFY(!reader.ReadRawLine(&line));  // stays at the end
  }
};

QTEST_GUILESS_MAIN(TestRawLines)
#include "tst_rawlines.moc"
