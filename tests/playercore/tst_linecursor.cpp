#include "player/core/linecursor.h"

#include <QTest>

using namespace lyrova;

namespace {

// The Player's document: an empty line at 0, then lyrics; two lines share 5 s.
LyricsDocument Song() {
  LyricsDocument doc;
  doc.lines = {{0, QString(), false},         {2'000, u"A"_qs, false}, {5'000, u"B1"_qs, false},
               {5'000, u"B2"_qs, false},      {8'000, u"C"_qs, false}};
  return doc;
}

PlaybackFacts Playing(qint32 length = 10'000) {
  PlaybackFacts facts;
  facts.lyricsLoaded = true;
  facts.isOpen = true;
  facts.mediaLength = length;
  return facts;
}

}  // namespace

class TestLineCursor : public QObject {
  Q_OBJECT

 private slots:
  void currentLine_data() {
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("index");
    QTest::newRow("before first") << 0 << -300 << 0;
    QTest::newRow("at zero") << 0 << 0 << 0;
    QTest::newRow("between") << 0 << 1'999 << 0;
    QTest::newRow("exactly a line") << 0 << 2'000 << 1;
    QTest::newRow("equal times, key exact: first") << 0 << 5'000 << 2;
    QTest::newRow("equal times, key beyond: second") << 0 << 5'001 << 3;
    QTest::newRow("exact key keeps the current line") << 3 << 5'000 << 3;
    QTest::newRow("after last") << 0 << 60'000 << 4;
    QTest::newRow("stale index beyond count") << 9 << 2'500 << 1;
    QTest::newRow("backwards") << 4 << 2'100 << 1;
  }
  void currentLine() {
    QFETCH(int, start);
    QFETCH(int, key);
    QFETCH(int, index);
    QCOMPARE(FindCurrentLine(Song(), start, key), index);
  }

  void emptyDocument() {
    const LyricsDocument empty;
    QCOMPARE(FindCurrentLine(empty, 0, 1'000), 0);
    LineCursor cursor;
    const LineChange change = ShowCurrentLine(cursor, empty, Playing(), 1'000);
    QVERIFY(!change.changed);
    QCOMPARE(TrackCurrentLine(cursor, empty, Playing(), 1'000, 0), 10'000);
  }

  void trackingGivesTheNextLineStart_data() {
    QTest::addColumn<int>("position");
    QTest::addColumn<int>("shift");
    QTest::addColumn<int>("next");
    QTest::newRow("first line") << 500 << 0 << 2'000;
    QTest::newRow("shift moves the next start earlier in media time") << 500 << 1'000 << 1'000;
    QTest::newRow("delay") << 2'500 << -1'000 << 3'000;
    QTest::newRow("key before zero") << 100 << -2'000 << 4'000;
    QTest::newRow("after the last line: end of song") << 9'000 << 0 << 10'000;
  }
  void trackingGivesTheNextLineStart() {
    QFETCH(int, position);
    QFETCH(int, shift);
    QFETCH(int, next);
    LineCursor cursor;
    QCOMPARE(TrackCurrentLine(cursor, Song(), Playing(), position, shift), next);
    QCOMPARE(cursor.nextLineTime, next);
  }

  void trackingWithoutLyricsOrFile() {
    LineCursor cursor;
    PlaybackFacts facts = Playing();
    facts.lyricsLoaded = false;
    QCOMPARE(TrackCurrentLine(cursor, Song(), facts, 3'000, 0), 0);
    facts = Playing();
    facts.isOpen = false;
    QCOMPARE(TrackCurrentLine(cursor, Song(), facts, 3'000, 0), 0);
    // While a load fills the document nothing moves.
    cursor.trackIndex = 3;
    facts = Playing();
    facts.lyricsBusy = true;
    QCOMPARE(TrackCurrentLine(cursor, Song(), facts, 100, 0), 0);
    QCOMPARE(cursor.trackIndex, 3);
  }

  void displayChangesOnlyOnNewLines() {
    LineCursor cursor;
    const LyricsDocument doc = Song();
    LineChange change = ShowCurrentLine(cursor, doc, Playing(), 2'100);
    QVERIFY(change.changed);
    QCOMPARE(change.current, u"A"_qs);
    QCOMPARE(change.next, u"B1"_qs);
    QCOMPARE(change.index, 1);
    QVERIFY(!ShowCurrentLine(cursor, doc, Playing(), 2'200).changed);
    change = ShowCurrentLine(cursor, doc, Playing(), 9'999);
    QCOMPARE(change.current, u"C"_qs);
    QCOMPARE(change.next, QString());
    // A forced redraw shows the same line again.
    cursor.ForceRedraw();
    QVERIFY(ShowCurrentLine(cursor, doc, Playing(), 9'999).changed);
  }

  void displayWithoutLyricsAsksForIdleText() {
    LineCursor cursor;
    PlaybackFacts facts = Playing();
    facts.lyricsLoaded = false;
    QVERIFY(ShowCurrentLine(cursor, Song(), facts, 2'000).idle);
    facts = Playing();
    facts.isOpen = false;
    const LineChange closed = ShowCurrentLine(cursor, Song(), facts, 2'000);
    QVERIFY(!closed.idle && !closed.changed);
    facts = Playing();
    facts.lyricsBusy = true;
    const LineChange busy = ShowCurrentLine(cursor, Song(), facts, 2'000);
    QVERIFY(!busy.idle && !busy.changed);
    QCOMPARE(cursor.lastShownLine, -1);
  }
};

QTEST_GUILESS_MAIN(TestLineCursor)
#include "tst_linecursor.moc"
