#include "sessionfixture.h"

#include "player/core/linecursor.h"
#include "player/core/wakeplan.h"

#include <QTest>

#include <functional>
#include <map>

using namespace lyrova;

namespace {

// Lines at 1 s, 1.045 s, 3 s (twice, same time), 6 s, 12.5 s and 15 s; the reader adds an empty
// line at 0.
const QByteArray kLyrics =
    "[00:01.00]one\r\n[00:01.045]close\r\n[00:03.00]two a\r\n[00:03.00]two b\r\n[00:06.00]three\r\n"
    "[00:12.50]four\r\n[00:15.00]five\r\n";

// Word-timed lines (one sung by syllables, one closed by an end tag, one whose words come out of
// order), a line shown as too wide for its label, an original with its translation; lines at
// 1 s, 3 s (twice), 6 s, 12.5 s and 15 s as above.
const QByteArray kWordLyrics =
    "[00:01.00]<00:01.00>one <00:01.40>by <00:01.90>one\r\n"
    "[00:03.00]two <00:03.50>a<00:04.20>\r\n[00:03.00]two b\r\n"
    "[00:06.00]a very long line that scrolls along its label\r\n"
    "[00:12.50]<00:13.00>four <00:12.80>back <00:13.40>words\r\n[00:15.00]five\r\n";

// What a user does during the comparison run, at fixed moments of the fake clock.
using Script = std::map<qint64, std::function<void(PlayerSession&)>>;

// The seek lands on a whole 10 ms step, so the song's end falls on one too: the fixed-rate timer
// noticed an end only at its next step and started the loop up to 10 ms late.
Script UserActions() {
  return {
      {2'000, [](PlayerSession& s) { s.SetShift(500); }},
      {4'000, [](PlayerSession& s) { s.HoldShiftKey(-500); }},
      {4'010, [](PlayerSession& s) { s.HoldShiftKey(0); }},
      {4'350, [](PlayerSession& s) { s.StepShiftByKey(); }},  // the repeat after the key is up
      {5'000, [](PlayerSession& s) { s.SetBarWidth(400); }},
      {7'000, [](PlayerSession& s) { s.SeekPress(200); }},  // 10 s
      {7'020, [](PlayerSession& s) { s.SeekRelease(200); }},
      {9'000, [](PlayerSession& s) { s.TogglePause(); }},
      {9'500, [](PlayerSession& s) { s.TogglePause(); }},
      {11'000, [](PlayerSession& s) { s.SetShift(-1'500); }},
  };
}

struct Run {
  QList<Frame> frames;  // one every 10 ms
  QString echoed;
  QStringList sent;
  int wakeUps = 0;
};

// Plays 20 s of a looping song and 6 s of its second time round, with the user's actions; every
// 10 ms the frame is kept. `tick` wakes the session every 10 ms while its timer runs, as a
// fixed-rate timer would; otherwise the session wakes only when its own plan says.
Run PlayThrough(bool tick, const QByteArray& lyrics = kLyrics, bool bilingual = true) {
  SessionFixture f;
  f.settings.playLoop = true;
  f.settings.bilingual = bilingual;
  f.echoWords = true;
  f.view.wideChars = 40;
  f.hooks.sending = true;
  PlayerSession& s = f.Start(f.Song(QStringLiteral("a.mp3"), 20'000, lyrics));
  const Script script = UserActions();
  Run run;
  qint64 now = 0;
  qint64 wakeAt = kNever;
  qint64 plans = -1;
  // A new plan counts from the moment it was made; an old one keeps its moment.
  const auto follow = [&] {
    if (!s.PlaybackTimer().isActive())
      wakeAt = kNever;
    else if (s.PlansMade() != plans)
      wakeAt = now + s.PlaybackTimer().interval();
    plans = s.PlansMade();
  };
  follow();
  for (qint64 sample = 10; sample <= 26'000; sample += 10) {
    if (tick) {
      f.audio.Advance(sample - now);
      now = sample;
      if (s.PlaybackTimer().isActive()) {
        s.Wake();
        ++run.wakeUps;
      }
    } else {
      while (wakeAt <= sample) {
        f.audio.Advance(wakeAt - now);
        now = wakeAt;
        s.Wake();
        ++run.wakeUps;
        wakeAt = kNever;
        plans = -1;
        follow();
      }
      f.audio.Advance(sample - now);
      now = sample;
    }
    if (const auto action = script.find(sample); action != script.end()) {
      action->second(s);
      follow();
    }
    run.frames.append(f.view.frame);
  }
  run.echoed = f.echoed + f.echoedWords;
  run.sent = f.hooks.sent;
  return run;
}

}  // namespace

class TestPlayerSession : public QObject {
  Q_OBJECT

 private slots:
  // The planned wake-ups show, at every 10 ms step, exactly what waking every 10 ms shows:
  // through lines 45 ms apart, two lines of one time, shifts by menu and key, a narrower bar, a
  // seek, a pause and the loop back to the start; lines of one time together or one by one,
  // word-timed lines sung and a wide line scrolled.
  void plannedWakeUpsShowWhatTheTickShowed_data() {
    QTest::addColumn<QByteArray>("lyrics");
    QTest::addColumn<bool>("bilingual");
    QTest::newRow("groups") << kLyrics << true;
    QTest::newRow("one line at a time") << kLyrics << false;
    QTest::newRow("word timing") << kWordLyrics << true;
  }
  void plannedWakeUpsShowWhatTheTickShowed() {
    QFETCH(QByteArray, lyrics);
    QFETCH(bool, bilingual);
    const Run ticked = PlayThrough(true, lyrics, bilingual);
    const Run planned = PlayThrough(false, lyrics, bilingual);
    QCOMPARE(planned.frames.size(), ticked.frames.size());
    for (qsizetype i = 0; i < ticked.frames.size(); ++i) {
      if (planned.frames[i] == ticked.frames[i]) continue;
      const Frame& a = ticked.frames[i];
      const Frame& b = planned.frames[i];
      QFAIL(qPrintable(QStringLiteral("at %1 ms: ticked [%2|%3|%4,%5,%6|%7|%8] planned [%9|%10|%11,%12,%13|%14|%15]")
                           .arg((i + 1) * 10).arg(a.current, a.next).arg(a.playedX).arg(a.nextX).arg(a.showSpan)
                           .arg(a.status, a.hint, b.current, b.next).arg(b.playedX).arg(b.nextX).arg(b.showSpan)
                           .arg(b.status, b.hint)
                           + QStringLiteral(" progress ticked %1+%2 planned %3+%4")
                                 .arg(a.progress.sungChars).arg(a.progress.wordFraction)
                                 .arg(b.progress.sungChars).arg(b.progress.wordFraction)));
    }
    QCOMPARE(planned.echoed, ticked.echoed);
    QCOMPARE(planned.sent, ticked.sent);
    if (lyrics == kWordLyrics) {
      // Each word once each time its line becomes current ("four" twice: the shift of 11 s goes
      // back before it), in text order, "back" with "four" whose time it lies before.
      QVERIFY(ticked.echoed.endsWith(
          u"\none\nby\none\ntwo\na\nfour\nback\nwords\nfour\nback\nwords\none\nby\none\ntwo\na\n"_qs));
      qsizetype sung = 0;
      qsizetype scrolled = 0;
      for (const Frame& frame : ticked.frames) {
        sung += frame.progress.wordFraction > 0 ? 1 : 0;
        scrolled += frame.progress.lineFraction > 0 ? 1 : 0;
      }
      QVERIFY(sung > 50);
      QVERIFY(scrolled > 50);
      return;
    }
    QVERIFY(ticked.echoed.contains(u"one\nclose\ntwo a\ntwo b\n"_qs));
    QVERIFY(ticked.frames.last().current == u"three"_qs);  // the second time round
    // Some 26 s of playback: the clock's seconds, the bar's pixels, the lines and the actions.
    QVERIFY2(planned.wakeUps < ticked.wakeUps / 2, qPrintable(QString::number(planned.wakeUps)));
  }

  // Each moment the plan names is the first at which the shown thing really differs, checked
  // against a millisecond-by-millisecond search.
  void planMomentsAreTheFirstChange() {
    LyricsDocument doc;
    for (const qint32 time : {0, 1'000, 1'001, 3'000, 3'000, 3'000, 6'000})
      doc.lines.append(LyricLine{time, QStringLiteral("l")});
    const auto lineAt = [&doc](qint32 key) { return FindCurrentLine(doc, 0, key); };
    for (const qint32 key : {-500, 0, 999, 1'000, 1'001, 2'999, 3'000, 3'001, 5'999, 6'000}) {
      qint64 expected = kNever;
      for (qint32 k = key + 1; k <= 8'000; ++k) {
        if (lineAt(k) != lineAt(key)) {
          expected = k;
          break;
        }
      }
      const qint64 planned = NextLineChangeKey(doc, key);
      // Before the first line the plan may name its time, where nothing changes yet (one
      // wake-up for nothing); never a moment that is late.
      const QString why = QStringLiteral("line key %1: planned %2, first change %3").arg(key).arg(planned).arg(expected);
      QVERIFY2(planned > key && planned <= expected, qPrintable(why));
      if (key >= 0) QVERIFY2(planned == expected, qPrintable(why));
    }
    for (const auto& [width, length] : {std::pair{500, 40'000}, {379, 7'777}, {1, 10}, {4'096, 1'000}, {500, 0}, {0, 500}}) {
      const auto x = [&, width = width, length = length](qint32 ms) {
        return ProgressFor(width, length, ms, 0, false).playedX;
      };
      for (qint32 pos = 0; pos < length; pos += std::max(1, length / 97)) {
        qint64 expected = kNever;
        for (qint32 ms = pos + 1; ms <= length; ++ms) {
          if (x(ms) != x(pos)) {
            expected = ms;
            break;
          }
        }
        QCOMPARE(NextPixelChange(width, length, pos), expected);
      }
      QCOMPARE(NextPixelChange(width, length, length), kNever);
    }
    for (const qint32 pos : {-1'500, -1'000, -999, -1, 0, 1, 999, 1'000, 59'999}) {
      qint32 ms = pos + 1;
      while (FormatClock(ms) == FormatClock(pos)) ++ms;
      QCOMPARE(NextClockChange(pos), qint64(ms));
    }
  }

  // Lines change on their millisecond, the offset keyword counting; two lines of one time show
  // the first exactly at the time and the second after it.
  void linesChangeOnTheirMillisecond() {
    SessionFixture f;
    const QString song = f.Song(QStringLiteral("ms.mp3"), 10'000,
                                "[OFFset:500]\r\n[00:01.045]one\r\n[00:01.5]two\r\n[00:01.5]two b\r\n");
    f.settings.bilingual = false;
    PlayerSession& s = f.Start(song);
    QCOMPARE(s.Lyrics().count(), 4);
    QVERIFY(s.PlaybackTimer().isActive());
    f.PlayFor(544);
    QCOMPARE(f.view.frame.current, QString());
    QCOMPARE(f.view.frame.next, u"one"_qs);
    QCOMPARE(s.PlaybackTimer().interval(), 1);  // 545 ms: 1,045 ms less the offset
    f.PlayFor(1);
    QCOMPARE(f.view.frame.current, u"one"_qs);
    f.PlayFor(455);  // 1,000 ms: ".5" is half a second
    QCOMPARE(f.view.frame.current, u"two"_qs);
    QCOMPARE(s.PlaybackTimer().interval(), 1);
    f.PlayFor(1);
    QCOMPARE(f.view.frame.current, u"two b"_qs);
    QCOMPARE(f.echoed, u"\none\ntwo\ntwo b\n"_qs);
  }

  // The end of a song: paused there, sending off, no more wake-ups, and Play starts again from
  // 0; with the loop on the song goes on from its start at once.
  void endOfSong_data() {
    QTest::addColumn<bool>("loop");
    QTest::newRow("no loop") << false;
    QTest::newRow("loop") << true;
  }
  void endOfSong() {
    QFETCH(bool, loop);
    SessionFixture f;
    f.settings.playLoop = loop;
    f.hooks.sending = true;
    PlayerSession& s = f.Start(f.Song(QStringLiteral("a.mp3"), 4'000));
    QCOMPARE(s.PlayLoop(), loop);
    s.ToggleSending();  // off and on again: the view shows it
    s.ToggleSending();
    QVERIFY(f.view.frame.sendOn);
    f.PlayFor(5'000);
    QVERIFY(!f.hooks.sending);
    QVERIFY(!f.view.frame.sendOn);
    QCOMPARE(f.media.IsPlaying(), loop);
    QCOMPARE(f.media.GetMediaStatus(false), loop ? 0 : 4'000);
    QCOMPARE(s.PlaybackTimer().isActive(), loop);
    if (loop) {
      QCOMPARE(s.PlaybackTimer().interval(), PlayerSession::kStalledWakeMs);  // then the start is drawn
      return;
    }
    f.PlayFor(0);
    QVERIFY(!s.PlaybackTimer().isActive());
    QCOMPARE(f.view.closeRequests, 0);
    s.Play();
    QVERIFY(f.media.IsPlaying());
    QCOMPARE(f.media.GetMediaStatus(false), 0);
  }

  // Dragging on the bar previews lines and picture without moving the media or sending; the
  // release seeks, and playback goes on only when it was playing.
  void seekingPreviewsUntilRelease() {
    SessionFixture f;
    PlayerSession& s = f.Start(f.Song(QStringLiteral("a.mp3"), 20'000, kLyrics));
    s.TogglePause();
    f.hooks.sending = true;
    QVERIFY(!f.media.IsPlaying());
    QVERIFY(!s.PlaybackTimer().isActive());
    const int width = SessionFixture::kBarWidth;
    s.SeekPress(0);
    s.SeekDrag(width * 7 / 20);
    QCOMPARE(f.view.frame.current, u"three"_qs);
    QCOMPARE(f.view.frame.playedX, width * 7 / 20);
    QCOMPARE(f.media.GetMediaStatus(false), 0);
    s.SeekRelease(width / 2);
    QCOMPARE(f.media.GetMediaStatus(false), 10'000);
    QVERIFY(!f.media.IsPlaying());
    QVERIFY(!s.PlaybackTimer().isActive());

    s.TogglePause();
    QVERIFY(f.media.IsPlaying());
    s.SeekPress(width / 20);
    QVERIFY(!f.media.IsPlaying());
    QVERIFY(!s.PlaybackTimer().isActive());
    s.SeekRelease(width / 20);
    QVERIFY(f.media.IsPlaying());
    QCOMPARE(f.media.GetMediaStatus(false), 1'000);
    QCOMPARE(f.hooks.sent, QStringList());
  }

  // One lookup per song event: opening, a start after a stop, a reload of lyrics not found;
  // layouts, pauses and shifts show what is known. Lyrics written beside a stopped song are
  // found by the next start.
  void oneLookupPerSongEvent() {
    SessionFixture f;
    const QString song = f.Song(QStringLiteral("a.mp3"), 10'000);
    PlayerSession& s = f.Start(song);
    QCOMPARE(s.LookupsMade(), 1);
    for (const int width : {400, 379, 500}) s.SetBarWidth(width);
    s.TogglePause();
    s.TogglePause();
    s.SetShift(500);
    QCOMPARE(s.LookupsMade(), 1);
    s.Stop();
    SessionFixture::Write(f.root.filePath(QStringLiteral("music/a.lrc")), kLyrics);
    s.SetBarWidth(450);
    QCOMPARE(f.view.frame.next, u"歌词未找到"_qs);
    s.Play();
    QCOMPARE(s.LookupsMade(), 2);
    QCOMPARE(s.LyricsPath(), f.root.filePath(QStringLiteral("music/a.lrc")));
    QVERIFY(s.LyricsLoaded());
    s.ReloadLyrics();  // the file is there: read again, not looked up
    QCOMPARE(s.LookupsMade(), 2);
    QFile::remove(s.LyricsPath());
    s.ReloadLyrics();
    QCOMPARE(s.LookupsMade(), 3);
    QCOMPARE(s.LyricsPath(), QString());
  }

  // An output whose position does not move is looked at every 10 ms, never in a busy loop; a
  // moving one sleeps until the next change.
  void stalledOutputIsNotPolledBusily() {
    SessionFixture f;
    PlayerSession& s = f.Start(f.Song(QStringLiteral("a.mp3"), 6'000'000, "[00:00.50]x\r\n"));
    f.PlayFor(499);
    QCOMPARE(s.PlaybackTimer().interval(), 1);
    f.PlayFor(0);
    QCOMPARE(s.PlaybackTimer().interval(), PlayerSession::kStalledWakeMs);
    f.PlayFor(0);
    QCOMPARE(s.PlaybackTimer().interval(), PlayerSession::kStalledWakeMs);
    f.PlayFor(1);
    QCOMPARE(f.view.frame.current, u"x"_qs);
    QCOMPARE(s.PlaybackTimer().interval(), 500);  // the clock's next second
  }
};

QTEST_MAIN(TestPlayerSession)
#include "tst_playersession.moc"
