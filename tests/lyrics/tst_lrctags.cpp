#include "lyrics/lrctags.h"

#include <QTest>

using namespace lyrova;

class TestLrcTags : public QObject {
  Q_OBJECT

 private slots:
  void nextTag_data() {
    QTest::addColumn<QString>("line");
    QTest::addColumn<int>("start");
    QTest::addColumn<QString>("tag");
    QTest::addColumn<int>("next");
    QTest::newRow("first tag") << u"[00:12.34][01:02.00]Hello"_qs << 0 << u"00:12.34"_qs << 10;
    QTest::newRow("second tag") << u"[00:12.34][01:02.00]Hello"_qs << 10 << u"01:02.00"_qs << 20;
    QTest::newRow("text after tags") << u"[00:12.34][01:02.00]Hello"_qs << 20 << QString() << -1;
    QTest::newRow("blanks skipped, content trimmed")
        << u"   [  ti: x  ]  [a]"_qs << 0 << u"ti: x"_qs << 14;
    QTest::newRow("blanks between tags") << u"[a]   [b]"_qs << 3 << u"b"_qs << 9;
    QTest::newRow("tab ends the tags") << u"[a]\t[b]"_qs << 3 << QString() << -1;
    QTest::newRow("unterminated") << u"[00:01.00"_qs << 0 << QString() << -1;
    QTest::newRow("empty tag is a tag") << u"[]x"_qs << 0 << QString() << 2;
    QTest::newRow("blank tag is a tag") << u"[   ]x"_qs << 0 << QString() << 5;
    QTest::newRow("no tag") << u"hello [a]"_qs << 0 << QString() << -1;
    QTest::newRow("empty line") << QString() << 0 << QString() << -1;
    QTest::newRow("start beyond the end") << u"[a]"_qs << 7 << QString() << -1;
    QTest::newRow("nested bracket") << u"[[00:01.00]x"_qs << 0 << u"[00:01.00"_qs << 11;
    QTest::newRow("chinese content") << u"[ti:月光]"_qs << 0 << u"ti:月光"_qs << 7;
  }
  void nextTag() {
    QFETCH(QString, line);
    QFETCH(int, start);
    QFETCH(QString, tag);
    QFETCH(int, next);
    qsizetype gotNext = 12345;
    const QStringView got = NextTag(line, start, &gotNext);
    QCOMPARE(got.toString(), tag);
    QCOMPARE(gotNext, qsizetype(next));
  }

  void parseInfoTag_data() {
    QTest::addColumn<QString>("tag");
    QTest::addColumn<int>("result");
    QTest::addColumn<QString>("field");  // which field changed: title artist album by offset
    QTest::addColumn<QString>("value");
    const int stored = int(InfoTagResult::Stored);
    const int notInfo = int(InfoTagResult::NotInfo);
    const int overflow = int(InfoTagResult::OffsetOverflow);
    QTest::newRow("title keeps the blank after the colon")
        << u"ti: My Song"_qs << stored << u"title"_qs << u" My Song"_qs;
    QTest::newRow("blanks before the colon") << u"ar  :Someone"_qs << stored << u"artist"_qs
                                             << u"Someone"_qs;
    QTest::newRow("album") << u"al:专辑"_qs << stored << u"album"_qs << u"专辑"_qs;
    QTest::newRow("by") << u"by:maker"_qs << stored << u"by"_qs << u"maker"_qs;
    QTest::newRow("empty value") << u"ti:"_qs << stored << u"title"_qs << QString();
    QTest::newRow("value with colons") << u"ti:a:b"_qs << stored << u"title"_qs << u"a:b"_qs;
    QTest::newRow("upper-case keyword") << u"TI:x"_qs << stored << u"title"_qs << u"x"_qs;
    QTest::newRow("mixed-case keyword") << u"aR:y"_qs << stored << u"artist"_qs << u"y"_qs;
    QTest::newRow("mixed-case album") << u"Al:z"_qs << stored << u"album"_qs << u"z"_qs;
    QTest::newRow("upper-case by") << u"BY:w"_qs << stored << u"by"_qs << u"w"_qs;
    QTest::newRow("mixed-case offset") << u"OFFset:5020"_qs << stored << u"offset"_qs
                                       << u"5020"_qs;
    QTest::newRow("upper-case longer word") << u"TITLE:x"_qs << notInfo << QString() << QString();
    QTest::newRow("full-width letters are no keyword")
        << u"ＴＩ:x"_qs << notInfo << QString() << QString();
    QTest::newRow("no colon") << u"ti x"_qs << notInfo << QString() << QString();
    QTest::newRow("longer word") << u"title:x"_qs << notInfo << QString() << QString();
    QTest::newRow("unknown keyword") << u"re:tool"_qs << notInfo << QString() << QString();
    QTest::newRow("time tag") << u"00:01.00"_qs << notInfo << QString() << QString();
    QTest::newRow("offset") << u"offset:500"_qs << stored << u"offset"_qs << u"500"_qs;
    QTest::newRow("offset negative") << u"offset: -500 "_qs << stored << u"offset"_qs << u"-500"_qs;
    QTest::newRow("offset plus sign") << u"offset:+20"_qs << stored << u"offset"_qs << u"20"_qs;
    QTest::newRow("offset halves to even down") << u"offset:2.5"_qs << stored << u"offset"_qs
                                                << u"2"_qs;
    QTest::newRow("offset halves to even up") << u"offset:3.5"_qs << stored << u"offset"_qs
                                              << u"4"_qs;
    QTest::newRow("offset clamped low") << u"offset:-400000"_qs << stored << u"offset"_qs
                                        << u"-300000"_qs;
    QTest::newRow("offset no upper clamp") << u"offset:400000"_qs << stored << u"offset"_qs
                                           << u"400000"_qs;
    QTest::newRow("offset ten characters") << u"offset:2147483647"_qs << stored << u"offset"_qs
                                           << u"2147483647"_qs;
    QTest::newRow("offset eleven characters")
        << u"offset:12345678901"_qs << notInfo << QString() << QString();
    QTest::newRow("offset not numeric") << u"offset:abc"_qs << notInfo << QString() << QString();
    QTest::newRow("offset empty") << u"offset:"_qs << notInfo << QString() << QString();
    QTest::newRow("offset ten digits overflow")
        << u"offset:9999999999"_qs << overflow << QString() << QString();
    QTest::newRow("offset exponent overflow") << u"offset:1e99"_qs << overflow << QString()
                                              << QString();
  }
  void parseInfoTag() {
    QFETCH(QString, tag);
    QFETCH(int, result);
    QFETCH(QString, field);
    QFETCH(QString, value);
    LyricsDocument doc;
    doc.offset = 7;
    QCOMPARE(int(ParseInfoTag(doc, tag)), result);
    LyricsDocument expected;
    expected.offset = 7;
    if (field == u"title") expected.title = value;
    if (field == u"artist") expected.artist = value;
    if (field == u"album") expected.album = value;
    if (field == u"by") expected.by = value;
    if (field == u"offset") expected.offset = value.toInt();
    QCOMPARE(doc.title, expected.title);
    QCOMPARE(doc.artist, expected.artist);
    QCOMPARE(doc.album, expected.album);
    QCOMPARE(doc.by, expected.by);
    QCOMPARE(doc.offset, expected.offset);
  }

  void parseTimeTag_data() {
    QTest::addColumn<QString>("tag");
    QTest::addColumn<int>("ms");
    QTest::newRow("full") << u"00:12.34"_qs << 12340;
    QTest::newRow("minute") << u"01:02.00"_qs << 62000;
    QTest::newRow("no fraction") << u"01:02"_qs << 62000;
    QTest::newRow("one-digit fraction is tenths") << u"01:02.5"_qs << 62500;
    QTest::newRow("two-digit fraction is hundredths") << u"01:02.05"_qs << 62050;
    QTest::newRow("fraction 50") << u"01:02.50"_qs << 62500;
    QTest::newRow("three-digit fraction is milliseconds") << u"01:02.500"_qs << 62500;
    QTest::newRow("045 is 45 ms") << u"01:02.045"_qs << 62045;
    QTest::newRow("099 is 99 ms") << u"01:02.099"_qs << 62099;
    QTest::newRow("four digits rejected") << u"01:02.0450"_qs << -1;
    QTest::newRow("four zeros rejected") << u"01:02.0000"_qs << -1;
    QTest::newRow("no padding needed") << u"1:2.3"_qs << 62300;
    QTest::newRow("largest in hundredths") << u"99:59.99"_qs << 5999990;
    QTest::newRow("largest") << u"99:59.999"_qs << 5999999;
    QTest::newRow("minutes 100") << u"100:00.00"_qs << -1;
    QTest::newRow("minutes 100 with milliseconds") << u"100:00.000"_qs << -1;
    QTest::newRow("seconds 60") << u"00:60.00"_qs << -1;
    QTest::newRow("seconds 60 with milliseconds") << u"00:60.000"_qs << -1;
    QTest::newRow("signed fraction") << u"01:02.-5"_qs << -1;
    QTest::newRow("plus-signed fraction") << u"01:02.+5"_qs << -1;
    QTest::newRow("second dot") << u"01:02.5.5"_qs << -1;
    QTest::newRow("exponent in the fraction") << u"01:02.1e1"_qs << -1;
    QTest::newRow("letter in the fraction") << u"01:02.5x"_qs << -1;
    QTest::newRow("blank fraction") << u"01:02.  "_qs << -1;
    QTest::newRow("blank inside the fraction") << u"01:02.4 5"_qs << -1;
    QTest::newRow("full-width fraction digit") << u"01:02.５"_qs << -1;
    QTest::newRow("no colon") << u"0102"_qs << -1;
    QTest::newRow("dot at the end") << u"01:02."_qs << -1;
    QTest::newRow("empty minutes") << u":05"_qs << -1;
    QTest::newRow("empty seconds") << u"01:"_qs << -1;
    QTest::newRow("second colon") << u"1:2:3"_qs << -1;
    QTest::newRow("letters") << u"ab:cd"_qs << -1;
    QTest::newRow("blanks in fields") << u"01 : 02 . 03"_qs << 62030;
    QTest::newRow("rounded minutes") << u"0.5:01"_qs << 1000;
    QTest::newRow("rounded minutes, half up to even") << u"1.5:00"_qs << 120000;
    QTest::newRow("dot in seconds starts the fraction") << u"0:1.5"_qs << 1500;
    QTest::newRow("minutes rounded to 99") << u"99.4:00"_qs << 5940000;
    QTest::newRow("minutes rounded to 100") << u"99.6:00"_qs << -1;
    QTest::newRow("negative seconds field") << u"01:-5"_qs << 55000;
    QTest::newRow("negative result") << u"-1:30"_qs << -1;
    QTest::newRow("huge minutes") << u"99999999999:00.00"_qs << -1;
    QTest::newRow("huge negative minutes") << u"-99999999999:00.00"_qs << -1;
    QTest::newRow("huge negative seconds") << u"00:-2147483648"_qs << -1;
    QTest::newRow("hex is no number") << u"0x1:00"_qs << -1;
    QTest::newRow("full-width digits") << u"０１:０２"_qs << -1;
  }
  void parseTimeTag() {
    QFETCH(QString, tag);
    QFETCH(int, ms);
    QCOMPARE(ParseTimeTag(tag), ms);
  }
};

QTEST_GUILESS_MAIN(TestLrcTags)
#include "tst_lrctags.moc"
