#include "lyrics/lineoperations.h"

#include "lyricstestutil.h"

#include <QTest>

using namespace lyrova;
using lyricstest::Describe;
using lyricstest::Doc;

namespace {

// Lines with the given times, texts "t0", "t1", … and `timed` set.
LyricsDocument Timed(std::initializer_list<qint32> times) {
  LyricsDocument doc;
  int i = 0;
  for (const qint32 t : times) doc.lines.append(LyricLine{t, u"t"_qs + QString::number(i++), true});
  return doc;
}

LyricsDocument Texts(std::initializer_list<QString> texts) {
  LyricsDocument doc;
  for (const QString& t : texts) doc.lines.append(LyricLine{-7, t, false});
  return doc;
}

}  // namespace

class TestLineOperations : public QObject {
  Q_OBJECT

 private slots:
  void sortLines_data() {
    QTest::addColumn<LyricsDocument>("doc");
    QTest::addColumn<bool>("moved");
    QTest::addColumn<QString>("lines");
    QTest::newRow("three out of order") << Timed({3000, 1000, 2000}) << true
                                        << u"1000 \"t1\" | 2000 \"t2\" | 3000 \"t0\""_qs;
    QTest::newRow("two exchanged") << Timed({2, 1}) << true << u"1 \"t1\" | 2 \"t0\""_qs;
    QTest::newRow("already sorted") << Timed({1, 2, 2, 3}) << false
                                    << u"1 \"t0\" | 2 \"t1\" | 2 \"t2\" | 3 \"t3\""_qs;
    QTest::newRow("equal times never move")
        << Timed({5, 1, 5, 1, 5, 0}) << true
        << u"0 \"t5\" | 1 \"t1\" | 1 \"t3\" | 5 \"t0\" | 5 \"t2\" | 5 \"t4\""_qs;
    QTest::newRow("all fields move together")
        << Doc({{9, u"late"_qs, false}, {-3, u"early"_qs, true}}) << true
        << u"-3 \"early\" | ~9 \"late\""_qs;
    QTest::newRow("empty") << LyricsDocument() << false << QString();
    QTest::newRow("one line") << Timed({4}) << false << u"4 \"t0\""_qs;
  }
  void sortLines() {
    QFETCH(LyricsDocument, doc);
    QFETCH(bool, moved);
    QFETCH(QString, lines);
    QCOMPARE(SortLines(doc), moved);
    QCOMPARE(Describe(doc), lines);
  }

  void insertLineAt_data() {
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("lines");
    QTest::newRow("front") << 0 << u"~0 \"new\" | 10 \"t0\" | 20 \"t1\""_qs;
    QTest::newRow("middle") << 1 << u"10 \"t0\" | ~0 \"new\" | 20 \"t1\""_qs;
    QTest::newRow("end") << 2 << u"10 \"t0\" | 20 \"t1\" | ~0 \"new\""_qs;
    QTest::newRow("beyond the end appends") << 9 << u"10 \"t0\" | 20 \"t1\" | ~0 \"new\""_qs;
    QTest::newRow("negative appends") << -1 << u"10 \"t0\" | 20 \"t1\" | ~0 \"new\""_qs;
  }
  void insertLineAt() {
    QFETCH(int, index);
    QFETCH(QString, lines);
    LyricsDocument doc = Timed({10, 20});
    InsertLineAt(doc, u"  new  "_qs, index);
    QCOMPARE(Describe(doc), lines);
  }

  void insertLineAtTrimsBlanksOnly() {
    LyricsDocument doc;
    InsertLineAt(doc, u"   "_qs, 0);
    InsertLineAt(doc, u" \tx\t "_qs, 5);
    QCOMPARE(Describe(doc), u"~0 \"\" | ~0 \"\tx\t\""_qs);
  }

  void deleteLine_data() {
    QTest::addColumn<LyricsDocument>("doc");
    QTest::addColumn<int>("index");
    QTest::addColumn<bool>("result");
    QTest::addColumn<QString>("lines");
    QTest::newRow("first") << Timed({1, 2, 3}) << 0 << true << u"2 \"t1\" | 3 \"t2\""_qs;
    QTest::newRow("last") << Timed({1, 2, 3}) << 2 << true << u"1 \"t0\" | 2 \"t1\""_qs;
    QTest::newRow("only line") << Timed({1}) << 0 << true << QString();
    QTest::newRow("past the end") << Timed({1, 2}) << 2 << false << u"1 \"t0\" | 2 \"t1\""_qs;
    QTest::newRow("negative") << Timed({1, 2}) << -1 << false << u"1 \"t0\" | 2 \"t1\""_qs;
    QTest::newRow("empty document") << LyricsDocument() << 0 << false << QString();
  }
  void deleteLine() {
    QFETCH(LyricsDocument, doc);
    QFETCH(int, index);
    QFETCH(bool, result);
    QFETCH(QString, lines);
    QCOMPARE(DeleteLine(doc, index), result);
    QCOMPARE(Describe(doc), lines);
  }

  void swapLines_data() {
    QTest::addColumn<int>("a");
    QTest::addColumn<int>("b");
    QTest::addColumn<bool>("result");
    QTest::addColumn<QString>("lines");
    QTest::newRow("neighbours") << 0 << 1 << true << u"~9 \"x\" | 1 \"t0\" | 3 \"t2\""_qs;
    QTest::newRow("far apart") << 2 << 0 << true << u"3 \"t2\" | ~9 \"x\" | 1 \"t0\""_qs;
    QTest::newRow("same line") << 1 << 1 << true << u"1 \"t0\" | ~9 \"x\" | 3 \"t2\""_qs;
    QTest::newRow("one out of range") << 0 << 3 << false << u"1 \"t0\" | ~9 \"x\" | 3 \"t2\""_qs;
    QTest::newRow("negative") << -1 << 0 << false << u"1 \"t0\" | ~9 \"x\" | 3 \"t2\""_qs;
  }
  void swapLines() {
    QFETCH(int, a);
    QFETCH(int, b);
    QFETCH(bool, result);
    QFETCH(QString, lines);
    LyricsDocument doc = Doc({{1, u"t0"_qs, true}, {9, u"x"_qs, false}, {3, u"t2"_qs, true}});
    QCOMPARE(SwapLines(doc, a, b), result);
    QCOMPARE(Describe(doc), lines);
  }

  void autoTimeLines_data() {
    QTest::addColumn<LyricsDocument>("doc");
    QTest::addColumn<bool>("byLines");
    QTest::addColumn<int>("total");
    QTest::addColumn<bool>("result");
    QTest::addColumn<QString>("lines");
    const LyricsDocument four = Texts({u"a"_qs, u"b"_qs, u"c"_qs, u"d"_qs});
    QTest::newRow("by lines, 4 over 10 s")
        << four << true << 10000 << true
        << u"0 \"a\" | 2500 \"b\" | 5000 \"c\" | 7500 \"d\""_qs;
    QTest::newRow("by lines, half rounds to even (down)")
        << four << true << 10 << true << u"0 \"a\" | 2 \"b\" | 4 \"c\" | 6 \"d\""_qs;
    QTest::newRow("by lines, half rounds to even (up)")
        << four << true << 14 << true << u"0 \"a\" | 4 \"b\" | 8 \"c\" | 12 \"d\""_qs;
    QTest::newRow("by lines, below half a millisecond each")
        << Texts({u"a"_qs, u"b"_qs, u"c"_qs}) << true << 1 << true
        << u"0 \"a\" | 0 \"b\" | 0 \"c\""_qs;
    const LyricsDocument chars = Texts({u"ab"_qs, u"cdef"_qs, u"ghi"_qs});
    QTest::newRow("by characters, 9 over 9 s")
        << chars << false << 9000 << true << u"0 \"ab\" | 2000 \"cdef\" | 6000 \"ghi\""_qs;
    QTest::newRow("by characters, half rounds to even")
        << Texts({u"a"_qs, u"b"_qs}) << false << 5 << true << u"0 \"a\" | 2 \"b\""_qs;
    QTest::newRow("by characters, chinese counts one per character")
        << Texts({u"月光"_qs, u"下的歌"_qs, u"x"_qs}) << false << 600 << true
        << u"0 \"月光\" | 200 \"下的歌\" | 500 \"x\""_qs;
    QTest::newRow("by characters, one outside the BMP counts one")
        << Texts({u"😀"_qs, u"b"_qs}) << false << 100 << true << u"0 \"😀\" | 50 \"b\""_qs;
    QTest::newRow("by characters, empty line shares the next time")
        << Texts({u"ab"_qs, QString(), u"cd"_qs}) << false << 400 << true
        << u"0 \"ab\" | 200 \"\" | 200 \"cd\""_qs;
    QTest::newRow("zero total") << four << true << 0 << false
                                << u"~-7 \"a\" | ~-7 \"b\" | ~-7 \"c\" | ~-7 \"d\""_qs;
    QTest::newRow("negative total") << four << false << -5 << false
                                    << u"~-7 \"a\" | ~-7 \"b\" | ~-7 \"c\" | ~-7 \"d\""_qs;
    QTest::newRow("no lines") << LyricsDocument() << true << 1000 << false << QString();
    QTest::newRow("no characters") << Texts({QString(), QString()}) << false << 1000 << false
                                   << u"~-7 \"\" | ~-7 \"\""_qs;
    QTest::newRow("largest total") << Texts({u"a"_qs, u"b"_qs}) << true
                                   << std::numeric_limits<qint32>::max() << true
                                   << u"0 \"a\" | 1073741824 \"b\""_qs;
  }
  void autoTimeLines() {
    QFETCH(LyricsDocument, doc);
    QFETCH(bool, byLines);
    QFETCH(int, total);
    QFETCH(bool, result);
    QFETCH(QString, lines);
    QCOMPARE(AutoTimeLines(doc, byLines, total), result);
    QCOMPARE(Describe(doc), lines);
  }

  void totalTextLength_data() {
    QTest::addColumn<LyricsDocument>("doc");
    QTest::addColumn<qint64>("length");
    QTest::newRow("empty") << LyricsDocument() << qint64(0);
    QTest::newRow("ascii and blanks") << Texts({u"ab "_qs, u" c"_qs}) << qint64(5);
    QTest::newRow("chinese") << Texts({u"月光下的歌"_qs}) << qint64(5);
    QTest::newRow("surrogate pairs") << Texts({u"😀𠀀"_qs}) << qint64(2);
    QTest::newRow("lone surrogate counts") << Texts({QString(QChar(0xDC00))}) << qint64(1);
  }
  void totalTextLength() {
    QFETCH(LyricsDocument, doc);
    QFETCH(qint64, length);
    QCOMPARE(TotalTextLength(doc), length);
  }
};

QTEST_GUILESS_MAIN(TestLineOperations)
#include "tst_lineoperations.moc"
