// The follower against stand-in players on a private session bus (the test runs under
// dbus-run-session): which player is followed, how its position is read and run on, what a
// player that misbehaves does to it, and the commands it sends.
#include "player/mpris/mprisfollower.h"
#include "standinplayer.h"

#include <QSignalSpy>
#include <QTest>

#include <memory>

using namespace lyrova;

namespace {

constexpr qint64 kSecondUs = 1'000'000;

// The follower of this test. The stand-ins live in this process, so the own-process rule is
// told another process id; one test checks the rule with the real one.
std::unique_ptr<MprisFollower> MakeFollower(qint64 ownPid = -1) {
  MprisFollower::Options options;
  options.ownPid = ownPid;
  return std::make_unique<MprisFollower>(options);
}

std::unique_ptr<StandInPlayer> Playing(const QString& suffix, const QString& title, qint64 atUs = 0) {
  auto player = std::make_unique<StandInPlayer>(suffix, suffix.toUpper());
  player->SetTrack(u"/track/1"_qs, u"file:///music/"_qs + title + u".mp3"_qs, u"Artist"_qs, title, 200 * kSecondUs);
  player->Jump(atUs);
  player->Set(u"PlaybackStatus"_qs, u"Playing"_qs, false);
  return player;
}

}  // namespace

class TestMprisFollower : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { QVERIFY2(QDBusConnection::sessionBus().isConnected(), "no private session bus"); }

  // The player that began playing last is followed; one that quits hands over to the rest; a
  // pinned player wins while it is there; the Player's own name and process are never followed.
  void choosesThePlayerToFollow() {
    auto own = std::make_unique<StandInPlayer>(u"lyrova"_qs, u"Lyrova"_qs);
    own->Set(u"PlaybackStatus"_qs, u"Playing"_qs, false);
    QVERIFY(own->Start());
    auto a = Playing(u"alpha"_qs, u"A"_qs);
    QVERIFY(a->Start());
    auto follower = MakeFollower();
    QTRY_COMPARE(follower->FollowedId(), a->Name());
    QCOMPARE(follower->Track().title, u"A"_qs);
    QCOMPARE(follower->Track().filePath, u"/music/A.mp3"_qs);

    auto b = std::make_unique<StandInPlayer>(u"beta"_qs, u"Beta Player"_qs);
    b->SetTrack(u"/track/9"_qs, {}, u"X"_qs, u"B"_qs, 100 * kSecondUs);
    QVERIFY(b->Start());
    QTRY_COMPARE(follower->Players().size(), 2);  // "lyrova" is not among them
    QCOMPARE(follower->FollowedId(), a->Name());   // b only stands
    QSignalSpy tracks(follower.get(), &FollowSource::TrackChanged);
    b->Set(u"PlaybackStatus"_qs, u"Playing"_qs);
    QTRY_COMPARE(follower->FollowedId(), b->Name());
    QVERIFY(tracks.count() >= 1);
    QCOMPARE(follower->Track().title, u"B"_qs);
    QCOMPARE(follower->Players().first().caption, u"ALPHA"_qs);

    follower->Pin(a->Name());
    QCOMPARE(follower->FollowedId(), a->Name());
    follower->Pin(QString());
    QCOMPARE(follower->FollowedId(), b->Name());

    b->Quit();
    QTRY_COMPARE(follower->FollowedId(), a->Name());
    a->Quit();
    QTRY_COMPARE(follower->FollowedId(), QString());
    QCOMPARE(follower->Track(), FollowedTrack{});

    // With this process's real id the stand-ins are its own: none is followed.
    auto c = Playing(u"gamma"_qs, u"C"_qs);
    QVERIFY(c->Start());
    auto self = MakeFollower(0);
    auto other = MakeFollower();
    QTRY_COMPARE(other->FollowedId(), c->Name());
    QCOMPARE(self->Players().size(), 0);
    QCOMPARE(self->FollowedId(), QString());
  }

  // The position is read at the start (and twice soon after) and runs on with the clock; a
  // pause, a rate of 2, a Seeked signal and silent jumps (found by the next re-read) all show; while it plays the
  // player is asked at most about once a second.
  void positionRunsOnBetweenReads() {
    auto p = Playing(u"pos"_qs, u"P"_qs, 10 * kSecondUs);
    QVERIFY(p->Start());
    auto f = MakeFollower();
    QTRY_COMPARE(f->FollowedId(), p->Name());
    QTRY_VERIFY(qAbs(f->PositionMs() - p->PositionUs() / 1000) < 50);
    QVERIFY(f->IsPlaying());
    QTest::qWait(600);
    QVERIFY2(qAbs(f->PositionMs() - p->PositionUs() / 1000) < 50, "the position did not run on");

    QSignalSpy playback(f.get(), &FollowSource::PlaybackChanged);
    p->Set(u"PlaybackStatus"_qs, u"Paused"_qs);
    QTRY_VERIFY(!f->IsPlaying());
    const qint32 paused = f->PositionMs();
    QTest::qWait(300);
    QCOMPARE(f->PositionMs(), paused);
    QVERIFY(qAbs(paused - p->PositionUs() / 1000) < 50);

    const qsizetype readsBefore = p->calls.count(u"Get Position"_qs);
    p->Set(u"Rate"_qs, 2.0);
    p->Set(u"PlaybackStatus"_qs, u"Playing"_qs);
    QTRY_VERIFY(f->IsPlaying());
    QCOMPARE(f->Rate(), 2.0);
    const qint32 before = f->PositionMs();
    QTest::qWait(500);
    QVERIFY2(qAbs(f->PositionMs() - before - 1000) < 80, qPrintable(QString::number(f->PositionMs() - before)));
    // Read at the start and twice more within the second after it, while the output settles.
    QTRY_VERIFY_WITH_TIMEOUT(p->calls.count(u"Get Position"_qs) - readsBefore >= 1 + MprisFollower::kSettleReads,
                             MprisFollower::kSettleReads * MprisFollower::kSettleRereadMs + 500);

    p->Seeked(100 * kSecondUs);
    QTRY_VERIFY(qAbs(f->PositionMs() - p->PositionUs() / 1000) < 80 && f->PositionMs() >= 100'000);

    // A jump the player does not announce is found by the re-read, within its period.
    p->Set(u"Rate"_qs, 1.0);
    QTRY_COMPARE(f->Rate(), 1.0);
    p->Jump(30 * kSecondUs);
    playback.clear();
    QTRY_VERIFY_WITH_TIMEOUT(playback.count() > 0, MprisFollower::kRereadMs + 500);
    QVERIFY(qAbs(f->PositionMs() - p->PositionUs() / 1000) < 80);
    // A small silent step ahead is told too, so the session plans from where the player is.
    p->Jump(p->PositionUs() + 150'000);
    playback.clear();
    QTRY_VERIFY_WITH_TIMEOUT(playback.count() > 0, MprisFollower::kRereadMs + 500);
    QVERIFY(qAbs(f->PositionMs() - p->PositionUs() / 1000) < 40);

    const qint64 calls = f->CallsMade();
    const qsizetype asked = p->calls.size();
    QTest::qWait(4200);
    QVERIFY2(f->CallsMade() - calls <= 3, qPrintable(QString::number(f->CallsMade() - calls)));
    QCOMPARE(p->calls.size() - asked, f->CallsMade() - calls);

    // A position beyond the length, or negative, stays within the track.
    p->reportedPositionUs = 500 * kSecondUs;
    p->Set(u"PlaybackStatus"_qs, u"Paused"_qs);
    QTRY_COMPARE(f->PositionMs(), 200'000);
    p->reportedPositionUs = -5 * kSecondUs;
    p->Set(u"PlaybackStatus"_qs, u"Playing"_qs);
    QTRY_COMPARE(f->PositionMs() < 1000, true);
    QVERIFY(f->PositionMs() >= 0);
  }

  // A player that never answers Position holds nothing up: the follower runs on from the
  // track's start, asks no more than one read at a time, and other players still come.
  void playerThatNeverAnswers() {
    auto mute = Playing(u"mute"_qs, u"M"_qs, 50 * kSecondUs);
    mute->answersPosition = false;
    QVERIFY(mute->Start());
    auto f = MakeFollower();
    QTRY_COMPARE(f->FollowedId(), mute->Name());
    QElapsedTimer loop;
    loop.start();
    QTest::qWait(2 * MprisFollower::kCallTimeoutMs + 300);
    QVERIFY(loop.elapsed() < 2 * MprisFollower::kCallTimeoutMs + 1500);
    QVERIFY(f->PositionMs() > 1500 && f->PositionMs() < 5000);  // from 0, never the 50 s it plays at
    QVERIFY(mute->calls.count(u"Get Position"_qs) <= 3);
    auto late = Playing(u"late"_qs, u"L"_qs);
    QVERIFY(late->Start());
    late->Set(u"PlaybackStatus"_qs, u"Paused"_qs);
    late->Set(u"PlaybackStatus"_qs, u"Playing"_qs);
    QTRY_COMPARE(f->FollowedId(), late->Name());
  }

  // Metadata of wrong types, a megabyte title and a missing map: the player is still followed,
  // with what could be read, and no text longer than the cut.
  void garbageMetadata() {
    auto g = Playing(u"garbage"_qs, u"G"_qs);
    QVERIFY(g->Start());
    auto f = MakeFollower();
    QTRY_COMPARE(f->Track().title, u"G"_qs);
    QSignalSpy tracks(f.get(), &FollowSource::TrackChanged);
    const QVariantMap wrong{{u"mpris:trackid"_qs, 42},
                            {u"xesam:title"_qs, QStringList{u"x"_qs}},
                            {u"xesam:artist"_qs, 7},
                            {u"xesam:url"_qs, 3.5},
                            {u"mpris:length"_qs, u"long"_qs}};
    g->Set(u"Metadata"_qs, wrong);
    QTRY_COMPARE(tracks.count(), 1);
    FollowedTrack t = f->Track();
    QVERIFY(!t.id.isEmpty());
    QCOMPARE(t.title, QString());
    QCOMPARE(t.artist, QString());
    QCOMPARE(t.filePath, QString());
    QCOMPARE(t.lengthMs, 0);

    g->Set(u"Metadata"_qs, QVariantMap{{u"xesam:title"_qs, QString(1 << 20, u'长')},
                                        {u"xesam:url"_qs, u"http://example.invalid/a.mp3"_qs}});
    QTRY_COMPARE(tracks.count(), 2);
    t = f->Track();
    QCOMPARE(t.title.size(), kLongestMprisText);
    QCOMPARE(t.filePath, QString());

    g->Set(u"Metadata"_qs, u"not a map"_qs);
    g->Set(u"PlaybackStatus"_qs, 12);
    g->Set(u"Rate"_qs, u"fast"_qs);
    g->Set(u"CanSeek"_qs, u"yes"_qs);
    QTRY_COMPARE(f->Track().id, QString());
    QCOMPARE(f->Rate(), 1.0);
    QVERIFY(f->CanSeek());
  }

  // Play/pause and seeking go to the followed player: SetPosition with its track id, or the
  // relative Seek when it has none; nothing when it cannot seek.
  void commandsReachThePlayer() {
    auto p = Playing(u"cmd"_qs, u"C"_qs);
    QVERIFY(p->Start());
    auto f = MakeFollower();
    QTRY_COMPARE(f->FollowedId(), p->Name());
    f->PlayPause();
    QTRY_VERIFY(!f->IsPlaying());
    f->SetPosition(42'000);
    QTRY_COMPARE(p->lastSetPositionTrack, u"/track/1"_qs);
    QTRY_VERIFY(qAbs(p->PositionUs() - 42 * kSecondUs) < 1000);
    QCOMPARE(f->PositionMs(), 42'000);

    p->SetTrack({}, {}, {}, u"no id"_qs, 100 * kSecondUs);
    QTRY_COMPARE(f->Track().title, u"no id"_qs);
    f->SetPosition(20'000);
    QTRY_VERIFY(p->calls.contains(StandInPlayer::kPlayer + u".Seek"_qs));
    QTRY_VERIFY(qAbs(p->PositionUs() - 20 * kSecondUs) < 100'000);

    p->Set(u"CanSeek"_qs, false);
    QTRY_VERIFY(!f->CanSeek());
    const qsizetype calls = p->calls.size();
    f->SetPosition(1000);
    QTest::qWait(100);
    QCOMPARE(p->calls.size(), calls);
  }

  // Hundreds of players on the bus: all listed, the playing one followed, the loop free.
  void hundredsOfPlayers() {
    std::vector<std::unique_ptr<StandInPlayer>> many;
    for (int i = 0; i < 200; ++i) {
      many.push_back(std::make_unique<StandInPlayer>(u"many"_qs + QString::number(i), QString::number(i)));
      QVERIFY(many.back()->Start());
    }
    many[137]->Set(u"PlaybackStatus"_qs, u"Playing"_qs, false);
    auto f = MakeFollower();
    QTRY_COMPARE_WITH_TIMEOUT(f->Players().size(), 200, 10000);
    QTRY_COMPARE(f->FollowedId(), many[137]->Name());
  }

  void noSessionBus() {
    MprisFollower::Options options;
    options.connection = QDBusConnection::connectToBus(u"unix:path=/nonexistent/bus"_qs, u"nobus"_qs);
    const MprisFollower f(options);
    QVERIFY(!f.Problem().isEmpty());
    QCOMPARE(f.FollowedId(), QString());
    QCOMPARE(f.Track(), FollowedTrack{});
  }
};

QTEST_GUILESS_MAIN(TestMprisFollower)
#include "tst_mprisfollower.moc"
