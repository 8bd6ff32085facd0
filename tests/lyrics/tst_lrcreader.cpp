#include "lyrics/lrcreader.h"

#include "lyricstestutil.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace lyrova;
using lyricstest::Describe;

namespace {
// GBK bytes of 月光下的歌.
const QByteArray kGbk = QByteArray::fromHex("d4c2b9e2cfc2b5c4b8e8");
const QString kChinese = u"月光下的歌"_qs;
}  // namespace

class TestLrcReader : public QObject {
  Q_OBJECT

  // Adds one row for the Editor's reader and one for the Player's.
  static void AddRow(const char* name, const QByteArray& bytes, const QString& editor,
                     const QString& player) {
    QTest::addRow("editor: %s", name) << bytes << false << editor;
    QTest::addRow("player: %s", name) << bytes << true << player;
  }

 private slots:
  // The lines each reader makes of a file. Editor lines show "~" when untimed; the Player has
  // no `timed` flag.
  void lines_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("player");
    QTest::addColumn<QString>("lines");
    AddRow("two tags, one text", "[00:12.34][01:02.00]Hello",
           u"12340 \"Hello\" | 62000 \"Hello\""_qs, u"0 \"\" | 12340 \"Hello\" | 62000 \"Hello\""_qs);
    AddRow("tags out of order", "[01:02.00][00:12.34]Hello",
           u"12340 \"Hello\" | 62000 \"Hello\""_qs, u"0 \"\" | 12340 \"Hello\" | 62000 \"Hello\""_qs);
    AddRow("equal times keep file order", "[00:05.00]B\r\n[00:01.00]x\r\n[00:05.00]A",
           u"1000 \"x\" | 5000 \"B\" | 5000 \"A\""_qs,
           u"0 \"\" | 1000 \"x\" | 5000 \"B\" | 5000 \"A\""_qs);
    AddRow("equal times across tags", "[00:03.00]c\n[00:01.00][00:03.00]a\n[00:01.00]b",
           u"1000 \"a\" | 1000 \"b\" | 3000 \"c\" | 3000 \"a\""_qs,
           u"0 \"\" | 1000 \"a\" | 1000 \"b\" | 3000 \"c\" | 3000 \"a\""_qs);
    AddRow("no fraction", "[01:02]x", u"62000 \"x\""_qs, u"0 \"\" | 62000 \"x\""_qs);
    AddRow("one-digit fraction", "[01:02.5]x", u"62500 \"x\""_qs, u"0 \"\" | 62500 \"x\""_qs);
    AddRow("millisecond fraction", "[01:02.500]x", u"62500 \"x\""_qs,
           u"0 \"\" | 62500 \"x\""_qs);
    AddRow("milliseconds kept", "[00:12.045]x\r\n[00:12.04]y", u"12040 \"y\" | 12045 \"x\""_qs,
           u"0 \"\" | 12040 \"y\" | 12045 \"x\""_qs);
    AddRow("four-digit fraction dropped", "[01:02.5000]x", u"~0 \"x\""_qs, QString());
    AddRow("no zero padding", "[1:2.3]x", u"62300 \"x\""_qs, u"0 \"\" | 62300 \"x\""_qs);
    AddRow("minutes 100", "[100:00.00]x", u"~0 \"x\""_qs, QString());
    AddRow("seconds 60", "[00:60.00]x", u"~0 \"x\""_qs, QString());
    AddRow("huge minutes reject only the tag", "[99999999999:00.00]x\r\n[00:01.00]y",
           u"~0 \"x\" | 1000 \"y\""_qs, u"0 \"\" | 1000 \"y\""_qs);
    AddRow("negative result dropped", "[-1:30]x", u"~0 \"x\""_qs, QString());
    AddRow("largest time", "[99:59.99]x", u"5999990 \"x\""_qs, u"0 \"\" | 5999990 \"x\""_qs);
    AddRow("largest millisecond time", "[99:59.999]x", u"5999999 \"x\""_qs,
           u"0 \"\" | 5999999 \"x\""_qs);
    AddRow("zero time needs no blank line", "[00:00.00]a\r\n[00:01.00]b",
           u"0 \"a\" | 1000 \"b\""_qs, u"0 \"a\" | 1000 \"b\""_qs);
    AddRow("blanks around tags and text", "   [00:01.00]  text  ", u"1000 \"text\""_qs,
           u"0 \"\" | 1000 \"text\""_qs);
    AddRow("text of blanks", "[00:00.00]   ", u"0 \"   \""_qs, u"0 \"\""_qs);
    AddRow("tag without text", "[00:00.00]", u"0 \"\""_qs, u"0 \"\""_qs);
    AddRow("plain text before timed lines", "hello\r\n[00:02.00]a",
           u"~0 \"hello\" | 2000 \"a\""_qs, u"0 \"\" | 2000 \"a\""_qs);
    AddRow("plain text after timed lines goes to the end",
           "[00:05.00]a\r\nplain\r\n[00:01.00]b",
           u"1000 \"b\" | 5000 \"a\" | ~5000 \"plain\""_qs, u"0 \"\" | 1000 \"b\" | 5000 \"a\""_qs);
    // An untimed line stays behind the line before it, at that line's earliest time.
    AddRow("plain text stays behind its line's first time", "[00:03.00][00:07.00]a\r\nb",
           u"3000 \"a\" | ~3000 \"b\" | 7000 \"a\""_qs, u"0 \"\" | 3000 \"a\" | 7000 \"a\""_qs);
    AddRow("plain text stays behind the line before it", "[00:05.00]a\r\n[00:01.00]b\r\nplain\r\nmore",
           u"1000 \"b\" | ~1000 \"plain\" | ~1000 \"more\" | 5000 \"a\""_qs,
           u"0 \"\" | 1000 \"b\" | 5000 \"a\""_qs);
    AddRow("other header tag only", "[re:tool]", QString(), QString());
    AddRow("two other header tags are no header line", "[re:tool][ve:1]", u"~0 \"\""_qs, QString());
    AddRow("unknown tag dropped from text", "[re:tool]words", u"~0 \"words\""_qs, QString());
    AddRow("upper-case keyword", "[TI:x]", QString(), QString());
    AddRow("mixed-case offset", "[OFFset:5020]\r\n[00:10.00]a", u"4980 \"a\""_qs,
           u"0 \"\" | 4980 \"a\""_qs);
    AddRow("offset and milliseconds", "[offset:-5]\r\n[00:01.995]a", u"2000 \"a\""_qs,
           u"0 \"\" | 2000 \"a\""_qs);
    AddRow("empty tag", "[]x", u"~0 \"x\""_qs, QString());
    AddRow("text after info tag discarded", "[ti:x]trailing", QString(), QString());
    AddRow("info tag after a time tag", "[00:01.00][ti:x]after", u"1000 \"after\""_qs,
           u"0 \"\" | 1000 \"after\""_qs);
    AddRow("unknown tag after info tag", "[ti:x][zz]hello", u"~0 \"hello\""_qs, QString());
    AddRow("unterminated bracket stays text", "[00:01.00][abc", u"1000 \"[abc\""_qs,
           u"0 \"\" | 1000 \"[abc\""_qs);
    AddRow("tab ends the tags", "[00:01.00]\t[00:02.00]x", u"1000 \"\t[00:02.00]x\""_qs,
           u"0 \"\" | 1000 \"\t[00:02.00]x\""_qs);
    AddRow("text between tags ends the tags", "[00:01.00]a[00:02.00]", u"1000 \"a[00:02.00]\""_qs,
           u"0 \"\" | 1000 \"a[00:02.00]\""_qs);
    AddRow("file starting with blank lines", "\r\n\r\n[00:01.00]a",
           u"~0 \"\" | 1000 \"a\""_qs, u"0 \"\" | 1000 \"a\""_qs);
    AddRow("blank lines inside vanish", "[00:01.00]a\r\n\r\n\r\n[00:02.00]b",
           u"1000 \"a\" | 2000 \"b\""_qs, u"0 \"\" | 1000 \"a\" | 2000 \"b\""_qs);
    AddRow("nul and lone cr break lines", QByteArray("[00:01.00]a\0[00:02.00]b\r[00:03.00]c", 35),
           u"1000 \"a\" | 2000 \"b\" | 3000 \"c\""_qs,
           u"0 \"\" | 1000 \"a\" | 2000 \"b\" | 3000 \"c\""_qs);
    AddRow("byte-order mark dropped", "\xEF\xBB\xBF[00:01.00]a", u"1000 \"a\""_qs,
           u"0 \"\" | 1000 \"a\""_qs);
    AddRow("offset 500", "[offset:500]\r\n[00:01.00]a", u"500 \"a\""_qs, u"0 \"\" | 500 \"a\""_qs);
    AddRow("offset -500", "[offset:-500]\r\n[00:01.00]a", u"1500 \"a\""_qs,
           u"0 \"\" | 1500 \"a\""_qs);
    AddRow("offset 2000 goes below zero", "[offset:2000]\r\n[00:01.00]a", u"-1000 \"a\""_qs,
           u"0 \"a\""_qs);
    AddRow("offset applies to untimed lines too", "[offset:300]\r\n[00:01.00]a\r\nb",
           u"700 \"a\" | ~700 \"b\""_qs, u"0 \"\" | 700 \"a\""_qs);
    AddRow("offset at the end applies", "[00:01.00]a\r\n[offset:100]", u"900 \"a\""_qs,
           u"0 \"\" | 900 \"a\""_qs);
    AddRow("last offset wins", "[offset:100]\r\n[offset:200]\r\n[00:01.00]a", u"800 \"a\""_qs,
           u"0 \"\" | 800 \"a\""_qs);
    AddRow("offset -400000 clamped", "[offset:-400000]\r\n[00:00.00]a", u"300000 \"a\""_qs,
           u"0 \"\" | 300000 \"a\""_qs);
    AddRow("large offset floors times", "[offset:2147483647]\r\n[00:01.00]a",
           u"-5999999 \"a\""_qs, u"0 \"a\""_qs);
    AddRow("eleven-digit offset is no info tag", "[offset:12345678901]", u"~0 \"\""_qs,
           QString());
    AddRow("info tags with a time", "[ar:Someone][00:10.00]Hi", u"10000 \"Hi\""_qs,
           u"0 \"\" | 10000 \"Hi\""_qs);
    AddRow("empty file", "", QString(), QString());
  }
  void lines() {
    QFETCH(QByteArray, bytes);
    QFETCH(bool, player);
    QFETCH(QString, lines);
    LyricsDocument doc;
    QString error = u"untouched"_qs;
    QVERIFY(ReadLrcBytes(doc, bytes, player ? ReaderMode::Player : ReaderMode::Editor, &error));
    QCOMPARE(error, u"untouched"_qs);
    QCOMPARE(Describe(doc, !player), lines);
  }

  void infoFields_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("fields");  // title, artist, album, by, offset
    QTest::newRow("title keeps the blank after the colon")
        << QByteArray("[ti: My Song ]") << QStringList{u" My Song"_qs, {}, {}, {}, u"0"_qs};
    QTest::newRow("keywords in any letter case")
        << QByteArray("[TI:x]\r\n[Ar:y][aL:z]\r\n[bY:w]\r\n[OFFSET:-20]")
        << QStringList{u"x"_qs, u"y"_qs, u"z"_qs, u"w"_qs, u"-20"_qs};
    QTest::newRow("all fields, last one wins")
        << QByteArray("[ti:a]\r\n[ar:b][al:c]\r\n[by:d]\r\n[ti:e]\r\n[offset:-400000]")
        << QStringList{u"e"_qs, u"b"_qs, u"c"_qs, u"d"_qs, u"-300000"_qs};
    QTest::newRow("invalid offset leaves the last valid one")
        << QByteArray("[offset:250]\r\n[offset:abc]\r\n[offset:12345678901]")
        << QStringList{{}, {}, {}, {}, u"250"_qs};
    // 0x81 0x5D is one GBK character whose second byte is "]": it must not close the tag.
    QTest::newRow("gbk trail byte like a bracket")
        << QByteArray("[ti:\x81\x5d]\r\n[ar:\xd4\xc2][al:x\x81\x5dy]")
        << QStringList{u"\u4e5a"_qs, u"月"_qs, u"x\u4e5ay"_qs, {}, u"0"_qs};
    QTest::newRow("info tags in the first line after a byte-order mark")
        << QByteArray("\xEF\xBB\xBF[ti:x][ar:y]") << QStringList{u"x"_qs, u"y"_qs, {}, {}, u"0"_qs};
  }
  void infoFields() {
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, fields);
    LyricsDocument doc;
    QVERIFY(ReadLrcBytes(doc, bytes, ReaderMode::Editor));
    QCOMPARE((QStringList{doc.title, doc.artist, doc.album, doc.by, QString::number(doc.offset)}),
             fields);
  }

  // Lines of one header tag the suite does not interpret are kept by the Editor, in file order,
  // as they stood; the Player has no use for them.
  void headerTags_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("tags");  // key=value|line
    QTest::newRow("service tags") << QByteArray("[ti:x]\r\n[kuwo:881]\r\n  [Length: 03:20] \r\n[00:01.00]a\r\n[hash:AB-cd_9]")
                                  << QStringList{u"kuwo=881|[kuwo:881]"_qs, u"Length= 03:20|  [Length: 03:20] "_qs,
                                                 u"hash=AB-cd_9|[hash:AB-cd_9]"_qs};
    QTest::newRow("key with _ and -") << QByteArray("[x_y-z:1]") << QStringList{u"x_y-z=1|[x_y-z:1]"_qs};
    QTest::newRow("value holding Chinese") << ("[re:" + kGbk + "]") << QStringList{u"re="_qs + kChinese + u"|[re:"_qs + kChinese + u']'};
    QTest::newRow("not a header: text after it") << QByteArray("[re:x]words") << QStringList();
    QTest::newRow("not a header: digit in the key") << QByteArray("[re2:x]") << QStringList();
    QTest::newRow("not a header: known key, bad value") << QByteArray("[offset:abc]") << QStringList();
    QTest::newRow("not a header: no value") << QByteArray("[re]") << QStringList();
  }
  void headerTags() {
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, tags);
    LyricsDocument doc;
    QVERIFY(ReadLrcBytes(doc, bytes, ReaderMode::Editor));
    QStringList seen;
    for (const HeaderTag& tag : doc.tags) seen.append(tag.key + u'=' + tag.value + u'|' + tag.line);
    QCOMPARE(seen, tags);
    QVERIFY(ReadLrcBytes(doc, bytes, ReaderMode::Player));
    QVERIFY(doc.tags.isEmpty());
  }

  void encodingDetected_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("encoding");
    QTest::newRow("gbk") << QByteArray("[ti:" + kGbk + "]\r\n[00:01.00]" + kGbk)
                         << int(TextEncoding::Ansi);
    QTest::newRow("utf8") << QByteArray("[ti:" + kChinese.toUtf8() + "]\r\n[00:01.00]" +
                                        kChinese.toUtf8())
                          << int(TextEncoding::Utf8);
    QTest::newRow("utf8 with mark") << QByteArray("\xEF\xBB\xBF[ti:" + kChinese.toUtf8() +
                                                  "]\r\n[00:01.00]" + kChinese.toUtf8())
                                    << int(TextEncoding::Utf8Bom);
  }
  // Tags that reach past a line's leading ASCII bytes, and texts that start inside them.
  void mixedLines_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("artist");
    QTest::addColumn<QString>("lines");
    QTest::newRow("chinese info tag after a time tag")
        << QByteArray("[00:01.00][ar:" + kChinese.toUtf8() + "]  " + kChinese.toUtf8() + "  ")
        << kChinese << u"1000 \"月光下的歌\""_qs;
    QTest::newRow("gbk info tag after a time tag")
        << QByteArray("[00:01.00] [ar:" + kGbk + "] x" + kGbk) << kChinese
        << u"1000 \"x月光下的歌\""_qs;
    QTest::newRow("unterminated tag with chinese")
        << QByteArray("[00:02.00][" + kGbk + " \r\n[00:01.00]a") << QString()
        << u"1000 \"a\" | 2000 \"[月光下的歌\""_qs;
    QTest::newRow("chinese right after the tags")
        << QByteArray("[00:01.00][00:02.00]" + kGbk + " [00:03.00]") << QString()
        << u"1000 \"月光下的歌 [00:03.00]\" | 2000 \"月光下的歌 [00:03.00]\""_qs;
    QTest::newRow("untagged chinese with blanks")
        << QByteArray("  " + kGbk + "  \r\n   ") << QString()
        << u"~0 \"月光下的歌\" | ~0 \"   \""_qs;
  }
  void mixedLines() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, artist);
    QFETCH(QString, lines);
    LyricsDocument doc;
    QVERIFY(ReadLrcBytes(doc, bytes, ReaderMode::Editor));
    QCOMPARE(doc.artist, artist);
    QCOMPARE(Describe(doc), lines);
  }

  // Lines far longer than any real one take the reader's other ways through a line: text made
  // from its ASCII bytes alone, decoded text shrunk instead of copied, tags beyond the first
  // kilobyte, and a whole decoded line cut in its own storage or handed over uncut.
  void longLines_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("player");
    QTest::addColumn<int>("lines");
    QTest::addColumn<QString>("text");  // of every line but the Player's empty first one
    const QString ascii = u"la la la, "_qs.repeated(20'000);
    const QString chinese = kChinese.repeated(20'000);
    QTest::newRow("ascii") << QByteArray("[00:01.00]  " + ascii.toLatin1() + "  ") << false << 1
                           << ascii.trimmed();
    QTest::newRow("utf-8") << QByteArray("[00:01.00]" + chinese.toUtf8()) << true << 2 << chinese;
    QTest::newRow("gbk") << QByteArray("[00:01.00]" + kGbk.repeated(20'000)) << false << 1 << chinese;
    QTest::newRow("tags past the first kilobyte")
        << QByteArray(QByteArray("[00:01.00]").repeated(300) + "end") << false << 300 << u"end"_qs;
    QTest::newRow("unterminated tag with chinese, cut")
        << QByteArray("[00:01.00]  [" + chinese.toUtf8() + "  ") << true << 2 << u'[' + chinese;
    QTest::newRow("untagged chinese, uncut") << QByteArray("[" + chinese.toUtf8()) << false << 1
                                             << u'[' + chinese;
  }
  void longLines() {
    QFETCH(QByteArray, bytes);
    QFETCH(bool, player);
    QFETCH(int, lines);
    QFETCH(QString, text);
    LyricsDocument doc;
    QVERIFY(ReadLrcBytes(doc, bytes, player ? ReaderMode::Player : ReaderMode::Editor));
    QCOMPARE(doc.count(), lines);
    for (qsizetype i = player ? 1 : 0; i < doc.count(); ++i) {
      QCOMPARE(doc.lines[i].text.size(), text.size());
      QVERIFY(doc.lines[i].text == text);
    }
  }

  void encodingDetected() {
    QFETCH(QByteArray, bytes);
    QFETCH(int, encoding);
    LyricsDocument doc;
    QVERIFY(ReadLrcBytes(doc, bytes, ReaderMode::Editor));
    QCOMPARE(int(doc.encoding), encoding);
    QCOMPARE(doc.title, kChinese);
    QCOMPARE(Describe(doc), u"1000 \"月光下的歌\""_qs);
  }

  void loadFromFile() {
    LyricsDocument doc;
    QString message = u"stale"_qs;
    QVERIFY(LoadLrc(doc, QStringLiteral(LYROVA_TEST_DATA_DIR "/reader_gbk.lrc"),
                    ReaderMode::Editor, &message));
    QVERIFY(message.isEmpty());
    QCOMPARE(doc.title, u"月光下的歌"_qs);
    QCOMPARE(doc.artist, u"无名"_qs);
    QCOMPARE(doc.offset, 200);
    QCOMPARE(doc.encoding, TextEncoding::Ansi);
    QCOMPARE(Describe(doc), u"~-200 \"前奏\" | 800 \"第一句\" | 1800 \"副歌\" | 2800 \"第二句\" | "
                            "6800 \"副歌\""_qs);
  }

  void missingFile() {
    const QString path = QStringLiteral(LYROVA_TEST_DATA_DIR "/does-not-exist.lrc");
    LyricsDocument doc;
    doc.title = u"kept"_qs;
    doc.lines.append(LyricLine{1, u"old"_qs, true});
    const LyricsDocument before = doc;
    QString message;
    QVERIFY(!LoadLrc(doc, path, ReaderMode::Editor, &message));
    QCOMPARE(message, u"装入歌词时遇到错误,No such file or directory"_qs);
    QCOMPARE(doc, before);  // a failed load leaves the Editor's document as it was

    QVERIFY(!LoadLrc(doc, path, ReaderMode::Player, &message));
    QVERIFY(message.isEmpty());
    QCOMPARE(doc.count(), 0);
    QVERIFY(doc.title.isEmpty());
  }

  void offsetOverflowFailsTheLoad_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("ten digits") << QByteArray("[ti:x]\r\n[00:01.00]a\r\n[offset:9999999999]\r\n");
    QTest::newRow("negative")
        << QByteArray("[00:01.00]a\r\n[offset:-3e9]\r\n[00:02.00]b");
    QTest::newRow("exponent") << QByteArray("[offset:1e10][00:01.00]a");
  }
  void offsetOverflowFailsTheLoad() {
    QFETCH(QByteArray, bytes);
    QTemporaryDir dir;
    const QString path = dir.filePath(u"overflow.lrc"_qs);
    QVERIFY(lyricstest::WriteFile(path, bytes));
    LyricsDocument doc;
    doc.lines.append(LyricLine{1, u"old"_qs, true});
    const LyricsDocument before = doc;
    QString message;
    QVERIFY(!LoadLrc(doc, path, ReaderMode::Editor, &message));
    QVERIFY2(message.startsWith(u"装入歌词时遇到错误,数值溢出"_qs), qPrintable(message));
    QVERIFY(message.contains(u"offset:"_qs));
    QCOMPARE(doc, before);
    QVERIFY(!LoadLrc(doc, path, ReaderMode::Player, &message));
    QVERIFY(message.isEmpty());
    QCOMPARE(doc, LyricsDocument());
  }

  void insertLyricLine_data() {
    QTest::addColumn<QList<int>>("times");
    QTest::addColumn<QString>("lines");
    QTest::newRow("in order") << QList<int>{1, 2, 3} << u"1 \"t0\" | 2 \"t1\" | 3 \"t2\""_qs;
    QTest::newRow("reverse") << QList<int>{3, 2, 1} << u"1 \"t2\" | 2 \"t1\" | 3 \"t0\""_qs;
    QTest::newRow("equal times after the others")
        << QList<int>{5, 1, 5, 1, 5} << u"1 \"t1\" | 1 \"t3\" | 5 \"t0\" | 5 \"t2\" | 5 \"t4\""_qs;
    QTest::newRow("negative first") << QList<int>{0, -5} << u"-5 \"t1\" | 0 \"t0\""_qs;
  }
  void insertLyricLine() {
    QFETCH(QList<int>, times);
    QFETCH(QString, lines);
    LyricsDocument doc;
    for (qsizetype i = 0; i < times.size(); ++i)
      InsertLyricLine(doc, times[i], u"  t"_qs + QString::number(i) + u' ', true);
    QCOMPARE(Describe(doc), lines);
  }

  void insertLyricLineTextAndRestart() {
    LyricsDocument doc;
    InsertLyricLine(doc, 10, u"   "_qs, false);
    InsertLyricLine(doc, 5, u"\t x \t"_qs, true);
    QCOMPARE(Describe(doc), u"5 \"\t x \t\" | ~10 \"   \""_qs);
    InsertLyricLine(doc, 7, u"new"_qs, true, true);
    QCOMPARE(Describe(doc), u"7 \"new\""_qs);
  }
};

QTEST_GUILESS_MAIN(TestLrcReader)
#include "tst_lrcreader.moc"
