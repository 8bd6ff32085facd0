// The session in follow mode over a fake followed player: which lyrics each track gets, lines
// at their times with the user's shift, track changes, the plan at other rates, the commands
// that go to the followed player, and the way back to a song of its own.
#include "fakefollowsource.h"
#include "sessionfixture.h"

#include "player/lookup/lyricslookup.h"

#include <QTest>

using namespace lyrova;

namespace {

const QByteArray kLyrics = "[00:01.00]one\n[00:02.00]two\n[00:04.00]three\n";

struct FollowFixture : SessionFixture {
  FakeFollowSource source;

  QString BuiltIn(const QString& name, const QByteArray& bytes = kLyrics) {
    QDir(root.filePath(QStringLiteral("data"))).mkpath(QStringLiteral("Lrc"));
    const QString path = root.filePath(QStringLiteral("data/Lrc/") + name);
    Write(path, bytes);
    return path;
  }
  PlayerSession& StartFollowing() {
    Start(QString());
    session->Follow(&source);
    return *session;
  }
  // Moves the followed player's clock on and lets one wake-up run.
  void FollowFor(qint64 ms) {
    source.Advance(ms);
    session->Wake();
  }
};

}  // namespace

class TestSessionFollow : public QObject {
  Q_OBJECT

 private slots:
  // "" for the file: a track without one. The expected file is relative to the root ("" none).
  void lyricsOfFollowedTracks_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("artist");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QStringList>("files");  // made before the track starts
    QTest::addColumn<QString>("expected");
    QTest::newRow("beside the file") << u"music/s.mp3"_qs << u"A"_qs << u"T"_qs
                                     << QStringList{u"music/s.lrc"_qs, u"data/Lrc/A - T.lrc"_qs} << u"music/s.lrc"_qs;
    QTest::newRow("file without lyrics: by name") << u"music/s.mp3"_qs << u"A"_qs << u"T"_qs
                                                  << QStringList{u"data/Lrc/A - T.lrc"_qs} << u"data/Lrc/A - T.lrc"_qs;
    QTest::newRow("artist and title") << QString() << u"A"_qs << u"T"_qs
                                      << QStringList{u"data/Lrc/T.lrc"_qs, u"data/Lrc/A - T.lrc"_qs}
                                      << u"data/Lrc/A - T.lrc"_qs;
    QTest::newRow("title alone") << QString() << u"A"_qs << u"T"_qs << QStringList{u"data/Lrc/T.lrc"_qs}
                                 << u"data/Lrc/T.lrc"_qs;
    QTest::newRow("letter case") << QString() << u"a"_qs << u"t"_qs << QStringList{u"data/Lrc/A - T.lrc"_qs}
                                 << u"data/Lrc/A - T.lrc"_qs;
    QTest::newRow("slash in the title") << QString() << u"AC/DC"_qs << u"X"_qs
                                        << QStringList{u"data/Lrc/AC_DC - X.lrc"_qs} << u"data/Lrc/AC_DC - X.lrc"_qs;
    QTest::newRow("not a similar name") << QString() << u"A"_qs << u"T"_qs
                                        << QStringList{u"data/Lrc/A - T2.lrc"_qs, u"data/Lrc/T (live).lrc"_qs} << QString();
    QTest::newRow("no title") << QString() << u"A"_qs << QString() << QStringList{u"data/Lrc/A - .lrc"_qs} << QString();
  }
  void lyricsOfFollowedTracks() {
    QFETCH(QString, file);
    QFETCH(QString, artist);
    QFETCH(QString, title);
    QFETCH(QStringList, files);
    QFETCH(QString, expected);
    FollowFixture f;
    QDir(f.root.path()).mkpath(u"data/Lrc"_qs);
    for (const QString& name : files) f.Write(f.root.filePath(name), kLyrics);
    PlayerSession& s = f.StartFollowing();
    f.source.Play(u"1"_qs, file.isEmpty() ? QString() : f.root.filePath(file), artist, title, 10'000);
    QCOMPARE(s.LyricsPath(), expected.isEmpty() ? QString() : f.root.filePath(expected));
    QCOMPARE(s.LyricsLoaded(), !expected.isEmpty());
    if (expected.isEmpty()) QCOMPARE(f.view.frame.next, u"歌词未找到"_qs);
  }

  // A link keyed by the track name wins, and the link dialog gets that name as the song.
  void linkByTrackName() {
    FollowFixture f;
    f.BuiltIn(u"A - T.lrc"_qs);
    const QString linked = f.BuiltIn(u"other.lrc"_qs);
    QVERIFY(LyricsLookup(f.root.filePath(u"data"_qs)).SetLink(u"A - T"_qs, linked));
    PlayerSession& s = f.StartFollowing();
    f.source.Play(u"1"_qs, {}, u"A"_qs, u"T"_qs, 10'000);
    QCOMPARE(s.LyricsPath(), linked);
    QCOMPARE(s.SongKey(), u"A - T"_qs);
  }

  // Lines become current at their times with the shift; a new track reloads; a pause stops the
  // timer; a jump shows the line at once; leaving follow mode goes back to the idle text.
  void linesFollowTheOtherPlayer() {
    FollowFixture f;
    f.BuiltIn(u"A - T.lrc"_qs);
    f.BuiltIn(u"A - U.lrc"_qs, "[00:00.50]u-one\n[00:03.00]u-two\n");
    PlayerSession& s = f.StartFollowing();
    QCOMPARE(f.view.frame.current, u"Lyrova 1.42"_qs);  // nothing followed yet
    f.source.Play(u"1"_qs, {}, u"A"_qs, u"T"_qs, 10'000);
    QVERIFY(s.PlaybackTimer().isActive());
    f.FollowFor(0);
    QCOMPARE(f.view.frame.next, u"one"_qs);  // before the first line, as with a song of its own
    // The plan sleeps until the next moment something shows: no polling.
    QVERIFY(s.PlaybackTimer().interval() >= 1);
    f.FollowFor(999);
    QCOMPARE(f.echoed, u"\n"_qs);  // the empty line before the first
    f.FollowFor(1);
    QCOMPARE(f.view.frame.current, u"one"_qs);
    QCOMPARE(f.view.frame.status, u"00:01/00:10"_qs);
    s.SetShift(1000);
    QCOMPARE(f.view.frame.current, u"two"_qs);
    s.SetShift(0);
    f.source.Jump(4'200);
    QCOMPARE(f.view.frame.current, u"three"_qs);
    QCOMPARE(f.echoed, u"\none\ntwo\none\nthree\n"_qs);
    f.source.SetPlaying(false);
    QVERIFY(!s.PlaybackTimer().isActive());

    f.echoed.clear();
    f.source.Play(u"2"_qs, {}, u"A"_qs, u"U"_qs, 0);
    QCOMPARE(s.LyricsPath(), f.root.filePath(u"data/Lrc/A - U.lrc"_qs));
    QCOMPARE(s.SyncOffset(), 0);
    f.FollowFor(600);
    QCOMPARE(f.view.frame.current, u"u-one"_qs);
    // Of unknown length: the clock alone, and still a sleep, not a spin.
    QCOMPARE(f.view.frame.status, u"00:00"_qs);
    QVERIFY(s.PlaybackTimer().interval() >= 1);
    // The length told later for the same track: the clock and the bar count with it at once.
    f.source.track.lengthMs = 5'000;
    f.source.Jump(f.source.PositionMs());
    QCOMPARE(f.view.frame.status, u"00:00/00:05"_qs);
    QVERIFY(f.view.frame.playedX > 0);

    s.Follow(nullptr);
    QVERIFY(!s.Following());
    QCOMPARE(f.view.frame.current, u"Lyrova 1.42"_qs);
    QCOMPARE(f.view.frame.status, u"播放已停止"_qs);
  }

  // At rate 2 the plan sleeps half the media time to the next line, never past it (and, the
  // line being printed, a millisecond less).
  void planFollowsTheRate_data() {
    QTest::addColumn<double>("rate");
    QTest::addColumn<int>("sleepMs");  // from 0.5 s before the next second and line
    QTest::newRow("1") << 1.0 << 499;
    QTest::newRow("2") << 2.0 << 249;
    QTest::newRow("0.5") << 0.5 << 999;
  }
  void planFollowsTheRate() {
    QFETCH(double, rate);
    QFETCH(int, sleepMs);
    FollowFixture f;
    f.BuiltIn(u"A - T.lrc"_qs);
    PlayerSession& s = f.StartFollowing();
    s.SetBarWidth(0);
    f.source.rate = rate;
    f.source.Play(u"1"_qs, {}, u"A"_qs, u"T"_qs, 10'000);
    f.source.Jump(500, false);
    f.FollowFor(0);
    QCOMPARE(s.PlaybackTimer().interval(), sleepMs);
  }

  // Play, pause, stop and a seek on the bar go to the followed player; what it cannot do is
  // not sent; the Editor gets the track's file, or no song.
  void commandsGoToTheFollowedPlayer() {
    FollowFixture f;
    PlayerSession& s = f.StartFollowing();
    f.source.Play(u"1"_qs, f.root.filePath(u"music/s.mp3"_qs), u"A"_qs, u"T"_qs, 10'000);
    s.Play();  // already playing
    s.TogglePause();
    s.Stop();
    s.SeekPress(100);
    s.SeekDrag(250);
    QCOMPARE(f.view.frame.status, u"00:05/00:10"_qs);
    s.SeekRelease(250);
    QCOMPARE(f.source.commands, (QStringList{u"PlayPause"_qs, u"Stop"_qs, u"SetPosition 5000"_qs}));
    f.source.canPause = false;
    f.source.canSeek = false;
    f.source.commands.clear();
    s.TogglePause();
    s.SeekPress(100);
    s.SeekRelease(100);
    QCOMPARE(f.source.commands, QStringList());

    s.EditLyrics(true);
    f.source.Play(u"2"_qs, {}, u"A"_qs, u"T"_qs, 10'000);
    QCOMPARE(s.SongKey(), u"A - T"_qs);
    s.EditLyrics(true);
    QCOMPARE(f.hooks.edited, (QStringList{f.root.filePath(u"music/s.mp3"_qs), QString()}));
  }
};

QTEST_GUILESS_MAIN(TestSessionFollow)
#include "tst_sessionfollow.moc"
