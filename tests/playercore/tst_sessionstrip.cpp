#include "sessionfixture.h"

#include "player/core/linestrip.h"

#include <QTest>

#include <algorithm>
#include <functional>

using namespace lyrova;

namespace {

// Plays until `untilMs` waking only when the session's own plan says, and calls `woke` after
// every wake-up with the position it drew. Returns the number of wake-ups.
int PlayPlanned(SessionFixture& f, qint64 untilMs, const std::function<void(qint64)>& woke = {}) {
  int wakeUps = 0;
  qint64 now = f.media.GetMediaStatus(false);
  while (f.session->PlaybackTimer().isActive() && now < untilMs) {
    const qint64 step = std::min<qint64>(f.session->PlaybackTimer().interval(), untilMs - now);
    f.PlayFor(step);
    now += step;
    ++wakeUps;
    if (woke) woke(now);
  }
  return wakeUps;
}

// Where the sung part ends, in characters.
double SungPoint(const LineProgress& p) { return p.sungChars + p.wordChars * p.wordFraction; }

}  // namespace

class TestSessionStrip : public QObject {
  Q_OBJECT

 private slots:
  // An original and its translations are current together: the first line in the current
  // line's place and on its way to chat, the others joined in the next line's; a line alone
  // shows the line after it. Off, the lines of one time come one after the other as before.
  void linesOfOneTimeShowTogether() {
    SessionFixture f;
    f.hooks.sending = true;
    PlayerSession& s = f.Start(f.Song(QStringLiteral("g.mp3"), 10'000,
                                      "[00:01.00]原文一\r\n[00:01.00]Translation one\r\n[00:01.00]第三\r\n"
                                      "[00:04.00]solo\r\n[00:06.00]next\r\n"));
    QVERIFY(s.Bilingual());
    f.PlayFor(1'000);
    QCOMPARE(f.view.frame.current, u"原文一"_qs);
    QCOMPARE(f.view.frame.next, u"Translation one  /  第三"_qs);
    QVERIFY(s.PlaybackTimer().interval() > 1);  // nothing changes a millisecond later
    f.PlayFor(1);
    QCOMPARE(f.view.frame.current, u"原文一"_qs);
    f.PlayFor(2'999);
    QCOMPARE(f.view.frame.current, u"solo"_qs);
    QCOMPARE(f.view.frame.next, u"next"_qs);
    QCOMPARE(f.echoed, u"原文一\nTranslation one\n第三\nsolo\n"_qs);
    QCOMPARE(f.hooks.sent, (QStringList{u"原文一"_qs, u"solo"_qs}));

    s.SeekPress(SessionFixture::kBarWidth / 10);  // 1 s
    s.SeekRelease(SessionFixture::kBarWidth / 10);
    s.SetBilingual(false);
    QCOMPARE(f.view.frame.current, u"原文一"_qs);
    QCOMPARE(f.view.frame.next, u"Translation one"_qs);
    QCOMPARE(s.PlaybackTimer().interval(), 1);
    f.PlayFor(1);
    QCOMPARE(f.view.frame.current, u"第三"_qs);
    QCOMPARE(f.view.frame.next, u"solo"_qs);
    s.SetBilingual(true);
    QCOMPARE(f.view.frame.current, u"原文一"_qs);
    QCOMPARE(f.view.frame.next, u"Translation one  /  第三"_qs);
  }

  // The sung part follows the clock through each word, shifted like the lines; the plan wakes
  // at each word's start for the echo and once a frame while a word is sung, and goes back to
  // the plain plan when the last word is done. A line too wide for its label scrolls while it
  // is current, at the same rate.
  void wordsSungWithTheClock_data() {
    QTest::addColumn<qint32>("shiftMs");
    QTest::newRow("no shift") << 0;
    QTest::newRow("shifted") << 500;
  }
  void wordsSungWithTheClock() {
    QFETCH(qint32, shiftMs);
    SessionFixture f;
    f.echoWords = true;
    f.view.wideChars = 20;
    PlayerSession& s = f.Start(f.Song(QStringLiteral("w.mp3"), 12'000,
                                      "[00:01.00]<00:01.00>ab<00:01.50>cd<00:02.50>\r\n"
                                      "[00:05.00]a line far too wide for its label\r\n[00:07.00]x\r\n"));
    s.SetBarWidth(0);  // no pixel wake-ups: what is left is the clock, the lines and the strip
    s.SetShift(shiftMs);
    QList<qint64> wordsAt;
    int singing = 0;
    int scrolling = 0;
    double sungBefore = 0;
    int shownWhileSinging = 0;
    PlayPlanned(f, 8'000, [&](qint64 pos) {
      const qint64 key = pos + shiftMs;
      if (f.echoedWords.count(u'\n') > wordsAt.size()) wordsAt.append(key);
      if (key > 1'000 && key <= 2'500) ++singing;
      if (key > 5'000 && key <= 7'000) ++scrolling;
      if (f.view.frame.current == u"abcd"_qs) {
        QVERIFY(SungPoint(f.view.frame.progress) >= sungBefore);
        sungBefore = SungPoint(f.view.frame.progress);
      }
      if (key == 2'040) {
        // Frames start at multiples of 40 ms of the key: this one 540 ms into "cd".
        QCOMPARE(f.view.frame.progress.sungChars, 2);
        QCOMPARE(f.view.frame.progress.wordChars, 2);
        QVERIFY(qFuzzyCompare(f.view.frame.progress.wordFraction, 0.54));
        shownWhileSinging = f.view.progressShown;
      }
      if (key == 2'520) {  // the first frame after the last word
        QCOMPARE(SungPoint(f.view.frame.progress), 4.0);
        // Done singing: the plain plan, here the clock's next second.
        QCOMPARE(qint64(s.PlaybackTimer().interval()), 1'000 - pos % 1'000);
      }
      if (key > 5'000 && key < 7'000) QVERIFY(f.view.frame.progress.lineFraction > 0);
    });
    QCOMPARE(wordsAt, (QList<qint64>{1'000, 1'500}));
    QCOMPARE(f.echoedWords, u"ab\ncd\n"_qs);
    QVERIFY(shownWhileSinging > 0);
    // 1.5 s of singing and 2 s of scrolling: at most 30 frames a second, a second's clock and
    // the word starts.
    static_assert(1'000 / kStripFrameMs <= 30, "a line is repainted at most 30 times a second");
    const int singFrames = 1'500 / kStripFrameMs + 1;
    const int scrollFrames = 2'000 / kStripFrameMs + 1;
    QVERIFY2(singing >= singFrames - 2 && singing <= singFrames + 2 + 2, qPrintable(QString::number(singing)));
    QVERIFY2(scrolling >= scrollFrames - 2 && scrolling <= scrollFrames + 2 + 1,
             qPrintable(QString::number(scrolling)));
    QCOMPARE(f.view.frame.current, u"x"_qs);
    QCOMPARE(f.view.frame.progress, LineProgress{});
  }

  // A printed line or word is woken for a millisecond early and then waited for on the real
  // timer until the position gets there: never printed before its time, and an output that
  // stops short of it gives up to the slow look of a stalled output, not a busy loop.
  // A line drawn anew is not printed again; a wake-up that comes late loses no word; a frame
  // just before a printed word is drawn with it.
  void printedMomentsLookedForAtOnce() {
    SessionFixture f;
    f.echoWords = true;
    PlayerSession& s = f.Start(f.Song(QStringLiteral("p.mp3"), 8'000,
                                      "[00:01.00]one\r\n[00:02.00]<00:02.00>ab<00:02.50>cd\r\n"
                                      "[00:04.00]<00:04.00>ef<00:04.202>gh<00:04.40>ij\r\n"));
    s.SetBarWidth(0);
    f.PlayFor(500);
    QCOMPARE(s.PlaybackTimer().interval(), 499);  // 500 ms to "one", one early
    f.audio.Advance(499);
    s.SetBarWidth(0);  // plans again at 999: the moment is a millisecond away
    QCOMPARE(s.PlaybackTimer().interval(), 1);
    QTest::qWait(3);
    QVERIFY(!f.echoed.contains(u"one"_qs));
    QVERIFY(s.PlaybackTimer().isActive());
    f.audio.Advance(1);
    QTRY_VERIFY(f.echoed.endsWith(u"one\n"_qs));
    QCOMPARE(s.PlaybackTimer().interval(), 999);  // on to the line with words
    f.audio.Advance(999);
    f.PlayFor(1);
    QCOMPARE(f.echoedWords, u"ab\n"_qs);
    QCOMPARE(s.PlaybackTimer().interval(), kStripFrameMs);  // the strip's next frame first
    // The output stops 1 ms short of "cd": the look gives up after a few milliseconds and the
    // stalled output is looked at every kStalledWakeMs, with nothing printed early.
    f.audio.Advance(499);
    s.SetBarWidth(0);
    const qint64 plans = s.PlansMade();
    QTest::qWait(60);
    QCOMPARE(f.echoedWords, u"ab\n"_qs);
    QCOMPARE(s.PlaybackTimer().interval(), PlayerSession::kStalledWakeMs);
    QVERIFY2(s.PlansMade() - plans <= 60 / PlayerSession::kStalledWakeMs + 3,
             qPrintable(QString::number(s.PlansMade() - plans)));
    f.audio.Advance(1);
    QTRY_COMPARE(f.echoedWords, u"ab\ncd\n"_qs);
    // Drawn anew for the layouts above, the line was printed once all the same.
    QCOMPARE(f.echoed.count(u"abcd"_qs), 1);
    // A wake-up late into a line prints the words it passed; a seek into a line only the word
    // begun there.
    f.PlayFor(4'300 - 2'500);
    QCOMPARE(f.echoedWords, u"ab\ncd\nef\ngh\n"_qs);
    s.SeekTo(2'600);
    QCOMPARE(f.echoedWords, u"ab\ncd\nef\ngh\ncd\n"_qs);
    // A wake-up late past the next line's time first prints what the last line still owed.
    s.SeekTo(1'500);
    s.SeekTo(2'100);
    QVERIFY(f.echoedWords.endsWith(u"cd\nab\n"_qs));
    f.echoedWords.clear();
    f.PlayFor(4'300 - 2'100);
    QCOMPARE(f.echoedWords, u"cd\nef\ngh\n"_qs);
    // Anything due just before a printed word (here the frame at 4.200) waits for it and is
    // drawn with it: its repaint first would hold up the print.
    s.SeekTo(4'190);
    f.PlayFor(0);
    QCOMPARE(s.PlaybackTimer().interval(), 4'202 - 4'190 - PlayerSession::kToldEarlyMs);
  }

  // Broken word timing and huge groups show something sensible, never crash and never wake in
  // a busy loop: every word is told once in text order when its (mended) time comes.
  void badInputStaysSensible_data() {
    QTest::addColumn<QByteArray>("lyrics");
    QTest::addColumn<QString>("words");
    QTest::addColumn<QString>("firstLine");
    QByteArray many = "[00:01.00]";
    QString manyWords;
    for (int i = 0; i < 500; ++i) {
      many += QStringLiteral("<00:%1.%2>w%3 ").arg(1 + i / 100, 2, 10, QChar(u'0')).arg(i % 100, 2, 10, QChar(u'0')).arg(i).toUtf8();
      manyWords += QStringLiteral("w%1\n").arg(i);
    }
    QByteArray group = "[00:01.00]<00:01.00>g0 <00:01.50>x\r\n";
    for (int i = 1; i < 50; ++i) group += "[00:01.00]t" + QByteArray::number(i) + "\r\n";
    QTest::newRow("words out of order") << QByteArray("[00:01.00]<00:01.00>一<00:02.00>二<00:01.50>三<00:03.00>四\r\n")
                                        << u"一\n二\n三\n四\n"_qs << u"一二三四"_qs;
    QTest::newRow("word before its line") << QByteArray("[00:01.00]<00:00.50>早<00:01.50>到\r\n") << u"早\n到\n"_qs << u"早到"_qs;
    QTest::newRow("word after the next line") << QByteArray("[00:01.00]<00:01.00>a <00:09.00>b\r\n[00:03.00]c\r\n")
                                              << u"a\n"_qs << u"a b"_qs;
    QTest::newRow("tags without text") << QByteArray("[00:01.00]<00:01.00>\r\n[00:02.00]x<00:02.50>\r\n")
                                       << u"x\n"_qs << QString();
    QTest::newRow("500 words") << many + "\r\n" << manyWords << QString();
    QTest::newRow("group of 50") << group << u"g0\nx\n"_qs << u"g0 x"_qs;
  }
  void badInputStaysSensible() {
    QFETCH(QByteArray, lyrics);
    QFETCH(QString, words);
    QFETCH(QString, firstLine);
    SessionFixture f;
    f.echoWords = true;
    f.hooks.sending = true;
    f.Start(f.Song(QStringLiteral("bad.mp3"), 8'000, lyrics + "[00:07.00]end\r\n"));
    QString line;
    double sungBefore = 0;
    const int wakeUps = PlayPlanned(f, 8'000, [&](qint64 pos) {
      const LineProgress& p = f.view.frame.progress;
      if (f.view.frame.current != line) {
        line = f.view.frame.current;
        sungBefore = 0;
        if (pos < 1'100 && !firstLine.isEmpty()) QCOMPARE(line, firstLine);
      }
      QVERIFY(p.sungChars <= line.size() && p.sungChars + p.wordChars <= line.size());
      QVERIFY(p.wordFraction >= 0 && p.wordFraction <= 1);
      if (p.sungChars < 0) return;
      QVERIFY(SungPoint(p) >= sungBefore);
      sungBefore = SungPoint(p);
    });
    QCOMPARE(f.echoedWords, words);
    QVERIFY(f.view.frame.current == u"end"_qs);
    // 8 s at 500 pixels: 50 pixels, 30 frames and a second a second, plus the word starts
    // (twice here: a wake-up run by hand a millisecond before a printed word is a whole one).
    QVERIFY2(wakeUps <= 8 * 81 + 2 * words.count(u'\n') + 10, qPrintable(QString::number(wakeUps)));
    if (QTest::currentDataTag() == QByteArrayLiteral("group of 50")) {
      QCOMPARE(f.echoed.count(u'\n'), 1 + 50 + 1);
      QCOMPARE(f.hooks.sent, (QStringList{QString(), u"g0 x"_qs, u"end"_qs}));
    }
  }

  // A wide line moves from its start to its end over its time; with word timing the sung point
  // stays in the middle of the label, the text never moving past either end.
  void scrollOffsets() {
    LineProgress half;
    half.lineFraction = 0.5;
    LineProgress words;
    words.sungChars = 3;
    QCOMPARE(ScrollOffsetFor(200, 300, half, -1), 0.0);
    QCOMPARE(ScrollOffsetFor(1'000, 300, LineProgress{}, -1), 0.0);
    QCOMPARE(ScrollOffsetFor(1'000, 300, half, -1), 350.0);
    QCOMPARE(ScrollOffsetFor(1'000, 300, words, 100), 0.0);
    QCOMPARE(ScrollOffsetFor(1'000, 300, words, 600), 450.0);
    QCOMPARE(ScrollOffsetFor(1'000, 300, words, 990), 700.0);
  }
};

QTEST_MAIN(TestSessionStrip)
#include "tst_sessionstrip.moc"
