// The Player's own song as an MPRIS player on a private session bus (the test runs under
// dbus-run-session): a session over the fake audio system, published, and driven from a bus
// connection of its own with plain D-Bus calls, as a desktop panel would.
#include "player/mpris/mprispublisher.h"

#include "../playercore/fakefollowsource.h"
#include "../playercore/sessionfixture.h"

#include <QDBusArgument>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <QRegularExpression>
#include <QTest>

using namespace lyrova;

namespace {

const QString kRoot = QStringLiteral("org.mpris.MediaPlayer2");
const QString kPlayer = QStringLiteral("org.mpris.MediaPlayer2.Player");
const QString kProperties = QStringLiteral("org.freedesktop.DBus.Properties");
constexpr qint64 kMs = 1000;  // microseconds

// A D-Bus value as plain Qt values: maps and lists that arrive as QDBusArgument taken apart.
QVariant Plain(const QVariant& value) {
  if (value.userType() == qMetaTypeId<QDBusVariant>()) return Plain(value.value<QDBusVariant>().variant());
  if (value.userType() != qMetaTypeId<QDBusArgument>()) return value;
  const QDBusArgument argument = value.value<QDBusArgument>();
  if (argument.currentType() == QDBusArgument::MapType) {
    QVariantMap map;
    argument >> map;
    for (auto it = map.begin(); it != map.end(); ++it) it.value() = Plain(it.value());
    return map;
  }
  return value;
}

}  // namespace

// The other end of the bus: calls the published player and records what it announces.
class Remote : public QObject {
  Q_OBJECT

 public:
  explicit Remote(const QString& name)
      : bus_(QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("remote"))), name_(name) {
    bus_.connect(QString(), MprisPublisher::kObjectPath, kProperties, QStringLiteral("PropertiesChanged"), this,
                 SLOT(OnPropertiesChanged(QString, QVariantMap, QStringList)));
    bus_.connect(QString(), MprisPublisher::kObjectPath, kPlayer, QStringLiteral("Seeked"), this,
                 SLOT(OnSeeked(qlonglong)));
  }
  ~Remote() override { QDBusConnection::disconnectFromBus(bus_.name()); }

  QVariant Get(const QString& interface, const QString& property) {
    QDBusMessage call = QDBusMessage::createMethodCall(name_, MprisPublisher::kObjectPath, kProperties,
                                                       QStringLiteral("Get"));
    call << interface << property;
    const QDBusMessage reply = bus_.call(call, QDBus::BlockWithGui);
    if (reply.type() != QDBusMessage::ReplyMessage) return QString(QStringLiteral("error: ") + reply.errorMessage());
    return Plain(reply.arguments().value(0));
  }
  QVariant Player(const QString& property) { return Get(kPlayer, property); }
  QVariantMap Metadata() { return Player(QStringLiteral("Metadata")).toMap(); }

  bool Call(const QString& method, const QVariantList& arguments = {}) {
    QDBusMessage call = QDBusMessage::createMethodCall(name_, MprisPublisher::kObjectPath, kPlayer, method);
    call.setArguments(arguments);
    return bus_.call(call, QDBus::BlockWithGui).type() == QDBusMessage::ReplyMessage;
  }

  // Every property announced of the Player interface, with its latest value.
  QVariantMap changed;
  int announcements = 0;
  QList<qint64> seeked;

 private slots:
  void OnPropertiesChanged(const QString& interface, const QVariantMap& values, const QStringList&) {
    if (interface != kPlayer) return;
    ++announcements;
    for (auto it = values.cbegin(); it != values.cend(); ++it) changed.insert(it.key(), Plain(it.value()));
  }
  void OnSeeked(qlonglong positionUs) { seeked.append(positionUs); }

 private:
  QDBusConnection bus_;
  QString name_;
};

class TestMprisPublisher : public QObject {
  Q_OBJECT

  // A session with no song yet, published on the test's bus.
  struct Published {
    SessionFixture fixture;
    std::unique_ptr<MprisPublisher> publisher;
    std::unique_ptr<Remote> remote;
    Published() {
      fixture.Start(QString());
      publisher = std::make_unique<MprisPublisher>(*fixture.session);
      remote = std::make_unique<Remote>(publisher->BusName());
    }
    PlayerSession& Session() { return *fixture.session; }
  };

 private slots:
  void initTestCase() {
    QVERIFY2(QDBusConnection::sessionBus().isConnected(), "no private session bus");
  }
  // Publishing says nothing on standard error, bus or not.
  void init() { QTest::failOnWarning(QRegularExpression(QStringLiteral(".*"))); }

  // Status, metadata and capabilities through a song's life: nothing chosen, a song with title
  // and artist tags played, paused, stopped, then a song without tags; every change announced.
  void publishesTheSongThroughItsLife() {
    Published p;
    Remote& remote = *p.remote;
    QCOMPARE(p.publisher->BusName(), MprisPublisher::kBusName);
    QCOMPARE(remote.Get(kRoot, QStringLiteral("Identity")).toString(), u"Lyrova"_qs);
    QCOMPARE(remote.Get(kRoot, QStringLiteral("DesktopEntry")).toString(), u"lyrova"_qs);
    for (const char* name : {"CanQuit", "CanRaise", "HasTrackList"})
      QCOMPARE(remote.Get(kRoot, QString::fromLatin1(name)), QVariant(false));
    QCOMPARE(remote.Player(u"PlaybackStatus"_qs).toString(), u"Stopped"_qs);
    QCOMPARE(remote.Metadata(), QVariantMap());
    QCOMPARE(remote.Player(u"CanPlay"_qs), QVariant(false));
    QCOMPARE(remote.Player(u"CanControl"_qs), QVariant(false));
    QCOMPARE(remote.Player(u"Rate"_qs).toDouble(), 1.0);
    QCOMPARE(remote.Player(u"Volume"_qs).toDouble(), 0.75);

    const QString tagged = p.fixture.Song(u"第一首 song.mp3"_qs, 20'000,
                                          "[ti:  月光 ]\r\n[ar:歌手甲]\r\n[00:01.00]one\r\n[00:05.00]two\r\n");
    p.Session().OpenDropped(tagged);  // plays at once (auto-play)
    QTRY_COMPARE(remote.changed.value(u"PlaybackStatus"_qs).toString(), u"Playing"_qs);
    QCOMPARE(remote.changed.value(u"CanPlay"_qs), QVariant(true));
    QCOMPARE(remote.changed.value(u"CanSeek"_qs), QVariant(true));
    QCOMPARE(remote.Player(u"PlaybackStatus"_qs).toString(), u"Playing"_qs);
    QVariantMap metadata = remote.Metadata();
    QCOMPARE(remote.changed.value(u"Metadata"_qs).toMap(), metadata);
    QCOMPARE(metadata.value(u"xesam:title"_qs).toString(), u"月光"_qs);
    QCOMPARE(metadata.value(u"xesam:artist"_qs).toStringList(), QStringList{u"歌手甲"_qs});
    QCOMPARE(metadata.value(u"mpris:length"_qs).toLongLong(), 20'000 * kMs);
    const QUrl url(metadata.value(u"xesam:url"_qs).toString(), QUrl::StrictMode);
    QVERIFY(url.isValid());
    QCOMPARE(url.toLocalFile(), tagged);
    QVERIFY(!metadata.value(u"xesam:url"_qs).toString().contains(u' '));
    const QString firstId = metadata.value(u"mpris:trackid"_qs).value<QDBusObjectPath>().path();
    QVERIFY(firstId.startsWith(u'/'));

    const struct {
      const char* step;
      std::function<void(PlayerSession&)> act;
      const char* status;
    } steps[] = {
        {"pause", [](PlayerSession& s) { s.TogglePause(); }, "Paused"},
        {"resume", [](PlayerSession& s) { s.TogglePause(); }, "Playing"},
        {"stop", [](PlayerSession& s) { s.Stop(); }, "Stopped"},
        {"play again", [](PlayerSession& s) { s.Play(); }, "Playing"},
    };
    for (const auto& step : steps) {
      const int before = remote.announcements;
      step.act(p.Session());
      QTRY_VERIFY2(remote.announcements > before, step.step);
      QVERIFY2(remote.changed.value(u"PlaybackStatus"_qs).toString() == QLatin1String(step.status), step.step);
      QVERIFY2(remote.Player(u"PlaybackStatus"_qs).toString() == QLatin1String(step.status), step.step);
    }
    // Stopped, the song stays chosen: playable, not seekable, its length unknown.
    p.Session().Stop();
    QTRY_COMPARE(remote.changed.value(u"CanSeek"_qs), QVariant(false));
    QCOMPARE(remote.Player(u"CanPlay"_qs), QVariant(true));
    metadata = remote.Metadata();
    QVERIFY(!metadata.contains(u"mpris:length"_qs));
    QCOMPARE(metadata.value(u"mpris:trackid"_qs).value<QDBusObjectPath>().path(), firstId);
    QCOMPARE(remote.Player(u"Position"_qs).toLongLong(), 0);

    // A song without tags is named by its file; it has a track id of its own.
    const QString plain = p.fixture.Song(u"Second.Track.ogg"_qs, 9'000);
    p.Session().OpenDropped(plain);
    QTRY_COMPARE(remote.changed.value(u"Metadata"_qs).toMap().value(u"xesam:url"_qs).toString(),
                 QUrl::fromLocalFile(plain).toString());
    metadata = remote.Metadata();
    QCOMPARE(metadata.value(u"xesam:title"_qs).toString(), u"Second.Track"_qs);
    QVERIFY(!metadata.contains(u"xesam:artist"_qs));
    QCOMPARE(metadata.value(u"mpris:length"_qs).toLongLong(), 9'000 * kMs);
    QVERIFY(metadata.value(u"mpris:trackid"_qs).value<QDBusObjectPath>().path() != firstId);

    // Nothing that changes nothing is announced: a wake-up in the middle of the song.
    const int before = remote.announcements;
    p.fixture.PlayFor(1'000);
    QTest::qWait(50);
    QCOMPARE(remote.announcements, before);
    QVERIFY(!remote.changed.contains(u"Position"_qs));
  }

  // PlayPause, Play, Pause and Stop from the bus act on the session; SetPosition and Seek move
  // it and are told back as Seeked, as is a seek on the bar; a stale or foreign track id, a
  // position outside the song and any seek of a stopped song change nothing.
  void commandsFromTheBusActOnTheSession() {
    Published p;
    Remote& remote = *p.remote;
    const QString song = p.fixture.Song(u"a.mp3"_qs, 30'000);
    const QString other = p.fixture.Song(u"b.mp3"_qs, 30'000);
    p.Session().OpenDropped(other);
    QTRY_VERIFY(remote.Metadata().contains(u"mpris:trackid"_qs));
    const QVariant staleId = remote.Metadata().value(u"mpris:trackid"_qs);
    p.Session().OpenDropped(song);
    QTRY_VERIFY(remote.Metadata().value(u"mpris:trackid"_qs) != staleId);
    const QVariant id = remote.Metadata().value(u"mpris:trackid"_qs);
    QVERIFY(p.Session().SongPlaying());

    QVERIFY(remote.Call(u"PlayPause"_qs));
    QVERIFY(!p.Session().SongPlaying());
    QVERIFY(remote.Call(u"Pause"_qs));
    QVERIFY(!p.Session().SongPlaying());
    QVERIFY(remote.Call(u"PlayPause"_qs));
    QVERIFY(p.Session().SongPlaying());
    QVERIFY(remote.Call(u"Play"_qs));
    QVERIFY(p.Session().SongPlaying());
    QVERIFY(remote.Call(u"Next"_qs) && remote.Call(u"Previous"_qs));
    QCOMPARE(p.Session().OpenName(), song);

    p.fixture.PlayFor(2'000);
    QCOMPARE(remote.Player(u"Position"_qs).toLongLong(), 2'000 * kMs);

    const auto setPosition = [&](const QVariant& track, qint64 us) {
      return remote.Call(u"SetPosition"_qs, {track, us});
    };
    const auto seek = [&](qint64 us) { return remote.Call(u"Seek"_qs, {us}); };
    const struct {
      const char* step;
      std::function<bool()> act;
      qint32 positionMs;  // where the song stands after it
      bool seeked;        // told as Seeked (at positionMs)
    } steps[] = {
        {"set position", [&] { return setPosition(id, 12'500 * kMs); }, 12'500, true},
        {"stale track id", [&] { return setPosition(staleId, 3'000 * kMs); }, 12'500, false},
        {"foreign track id",
         [&] { return setPosition(QVariant::fromValue(QDBusObjectPath(u"/x/1"_qs)), 3'000 * kMs); }, 12'500, false},
        {"before the start", [&] { return setPosition(id, -1); }, 12'500, false},
        {"past the end", [&] { return setPosition(id, 30'001 * kMs); }, 12'500, false},
        {"seek on", [&] { return seek(2'500 * kMs); }, 15'000, true},
        {"seek back", [&] { return seek(-5'000 * kMs); }, 10'000, true},
        {"seek before the start", [&] { return seek(-60'000 * kMs); }, 0, true},
        {"the bar", [&] {
           p.Session().SeekPress(SessionFixture::kBarWidth / 2);
           p.Session().SeekRelease(SessionFixture::kBarWidth / 2);
           return true;
         }, 15'000, true},
    };
    for (const auto& step : steps) {
      const qsizetype before = remote.seeked.size();
      QVERIFY2(step.act(), step.step);
      QVERIFY2(p.Session().Position() == step.positionMs, step.step);
      QVERIFY2(remote.Player(u"Position"_qs).toLongLong() == step.positionMs * kMs, step.step);
      if (step.seeked) {
        QTRY_VERIFY2(remote.seeked.size() == before + 1, step.step);
        QVERIFY2(remote.seeked.last() == step.positionMs * kMs, step.step);
      } else {
        QTest::qWait(30);
        QVERIFY2(remote.seeked.size() == before, step.step);
      }
      QVERIFY2(p.Session().SongPlaying(), step.step);  // seeks play on
    }

    // Past the end is the end: the song (not looping) stands there paused.
    QVERIFY(seek(60'000 * kMs));
    QTRY_COMPARE(remote.Player(u"PlaybackStatus"_qs).toString(), u"Paused"_qs);
    QCOMPARE(p.Session().Position(), 30'000);

    QVERIFY(remote.Call(u"Stop"_qs));
    QVERIFY(!p.Session().SongOpen());
    const qsizetype seekedBefore = remote.seeked.size();
    QVERIFY(seek(1'000 * kMs) && setPosition(id, 1'000 * kMs));
    QVERIFY(!p.Session().SongOpen());
    QVERIFY(remote.Call(u"PlayPause"_qs));
    QVERIFY(p.Session().SongPlaying());
    QCOMPARE(remote.seeked.size(), seekedBefore);
  }

  // In follow mode the Player stays on the bus, stopped, with nothing to show or control, and
  // sends nothing to the player it follows; back on its own song it is playable again. A
  // second Lyrova takes the instance name; without a bus nothing is registered.
  void followModeSecondPlayerAndNoBus() {
    Published p;
    Remote& remote = *p.remote;
    p.Session().OpenDropped(p.fixture.Song(u"own.mp3"_qs, 10'000));
    QTRY_COMPARE(remote.Player(u"PlaybackStatus"_qs).toString(), u"Playing"_qs);

    FakeFollowSource followed;
    p.Session().Follow(&followed);
    followed.Play(u"/t/1"_qs, u"/music/x.mp3"_qs, u"A"_qs, u"X"_qs, 100'000);
    QTRY_COMPARE(remote.changed.value(u"PlaybackStatus"_qs).toString(), u"Stopped"_qs);
    QCOMPARE(remote.changed.value(u"Metadata"_qs).toMap(), QVariantMap());
    QCOMPARE(remote.changed.value(u"CanControl"_qs), QVariant(false));
    QCOMPARE(remote.Player(u"PlaybackStatus"_qs).toString(), u"Stopped"_qs);
    QCOMPARE(remote.Metadata(), QVariantMap());
    QCOMPARE(remote.Player(u"Position"_qs).toLongLong(), 0);
    for (const char* method : {"PlayPause", "Pause", "Stop"}) QVERIFY(remote.Call(QString::fromLatin1(method)));
    QVERIFY(remote.Call(u"Seek"_qs, {qint64(5'000 * kMs)}));
    QCOMPARE(followed.commands, QStringList());

    p.Session().Follow(nullptr);
    QTRY_COMPARE(remote.changed.value(u"CanPlay"_qs), QVariant(true));
    QCOMPARE(remote.Player(u"PlaybackStatus"_qs).toString(), u"Stopped"_qs);
    QVERIFY(remote.Metadata().contains(u"mpris:trackid"_qs));

    // Another Lyrova already holds the plain name.
    const QDBusConnection second = QDBusConnection::connectToBus(QDBusConnection::SessionBus, u"second"_qs);
    {
      MprisPublisher other(p.Session(), MprisPublisher::Options{second, 4242});
      QCOMPARE(other.BusName(), MprisPublisher::kBusName + u".instance4242"_qs);
      QVERIFY(second.interface()->isServiceRegistered(other.BusName()));
    }
    QVERIFY(!QDBusConnection::sessionBus().interface()->isServiceRegistered(MprisPublisher::kBusName +
                                                                             u".instance4242"_qs));
    QDBusConnection::disconnectFromBus(u"second"_qs);

    // No bus: nothing registered, nothing said (any warning fails the test), state still followed.
    MprisPublisher unconnected(p.Session(), MprisPublisher::Options{QDBusConnection(u"no bus"_qs), 0});
    QCOMPARE(unconnected.BusName(), QString());
    p.Session().Play();
    QCOMPARE(unconnected.Published().status, u"Playing"_qs);
  }
};

QTEST_GUILESS_MAIN(TestMprisPublisher)
#include "tst_mprispublisher.moc"
