#include "player/mpris/mprispublisher.h"

#include "common/paths.h"
#include "player/core/playersession.h"
#include "player/mpris/mprisadaptors.h"

#include <QCoreApplication>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QUrl>

#include <algorithm>

namespace lyrova {
namespace {

const QString kPlayerInterface = QStringLiteral("org.mpris.MediaPlayer2.Player");
const QString kPropertiesInterface = QStringLiteral("org.freedesktop.DBus.Properties");
constexpr qint64 kUsPerMs = 1000;

bool SameTrack(const PublishedState& a, const PublishedState& b) {
  return a.song == b.song && a.title == b.title && a.artist == b.artist && a.lengthMs == b.lengthMs &&
         a.track == b.track;
}

}  // namespace

MprisPublisher::MprisPublisher(PlayerSession& session, Options options, QObject* parent)
    : QObject(parent), session_(session), connection_(options.connection) {
  new MprisRootAdaptor(this);
  player_ = new MprisPlayerAdaptor(this);
  published_ = Look();
  connect(&session_, &PlayerSession::StateChanged, this, &MprisPublisher::Announce);
  connect(&session_, &PlayerSession::Seeked, this, &MprisPublisher::AnnounceSeek);
  if (!connection_.isConnected()) return;
  if (!connection_.registerObject(kObjectPath, this, QDBusConnection::ExportAdaptors)) return;
  const qint64 pid = options.pid != 0 ? options.pid : QCoreApplication::applicationPid();
  const QString instance = kBusName + QStringLiteral(".instance") + QString::number(pid);
  if (connection_.registerService(kBusName))
    busName_ = kBusName;
  else if (connection_.registerService(instance))
    busName_ = instance;
  else
    connection_.unregisterObject(kObjectPath);
}

MprisPublisher::~MprisPublisher() {
  if (busName_.isEmpty()) return;
  connection_.unregisterService(busName_);
  connection_.unregisterObject(kObjectPath);
}

// The tags of the lyrics count only while the song is open: the session reads a chosen song's
// lyrics when it starts, and until then still holds those of the song before.
PublishedState MprisPublisher::Look() const {
  PublishedState state;
  state.track = published_.track;
  if (session_.Following() || session_.OpenName().isEmpty()) return state;
  state.song = session_.OpenName();
  if (state.song != published_.song) ++state.track;
  state.canPlay = true;
  const bool open = session_.SongOpen();
  state.lengthMs = open ? std::max(session_.SongLength(), 0) : 0;
  state.canSeek = state.lengthMs > 0;
  state.status = !open                   ? QStringLiteral("Stopped")
                 : session_.SongPlaying() ? QStringLiteral("Playing")
                                          : QStringLiteral("Paused");
  if (open && session_.LyricsLoaded()) {
    state.title = TrimBlanks(session_.Lyrics().title);
    state.artist = TrimBlanks(session_.Lyrics().artist);
  }
  if (state.title.isEmpty()) state.title = StripExtension(FileNamePart(state.song));
  return state;
}

void MprisPublisher::Announce() {
  const PublishedState now = Look();
  if (now == published_) return;
  const PublishedState before = published_;
  published_ = now;
  if (busName_.isEmpty()) return;
  QVariantMap changed;
  if (now.status != before.status) changed.insert(QStringLiteral("PlaybackStatus"), now.status);
  if (!SameTrack(now, before)) changed.insert(QStringLiteral("Metadata"), Metadata());
  if (now.canPlay != before.canPlay) {
    for (const char* name : {"CanPlay", "CanPause", "CanControl"})
      changed.insert(QString::fromLatin1(name), now.canPlay);
  }
  if (now.canSeek != before.canSeek) changed.insert(QStringLiteral("CanSeek"), now.canSeek);
  if (changed.isEmpty()) return;
  QDBusMessage signal = QDBusMessage::createSignal(kObjectPath, kPropertiesInterface,
                                                   QStringLiteral("PropertiesChanged"));
  signal << kPlayerInterface << changed << QStringList();
  connection_.send(signal);
}

void MprisPublisher::AnnounceSeek(qint32 positionMs) {
  if (busName_.isEmpty() || session_.Following()) return;
  emit player_->Seeked(qint64(positionMs) * kUsPerMs);
}

QString MprisPublisher::TrackPath() const { return kTrackPathPrefix + QString::number(published_.track); }

QVariantMap MprisPublisher::Metadata() const {
  if (published_.song.isEmpty()) return {};
  QVariantMap metadata;
  metadata.insert(QStringLiteral("mpris:trackid"), QVariant::fromValue(QDBusObjectPath(TrackPath())));
  metadata.insert(QStringLiteral("xesam:title"), published_.title);
  if (!published_.artist.isEmpty())
    metadata.insert(QStringLiteral("xesam:artist"), QStringList{published_.artist});
  metadata.insert(QStringLiteral("xesam:url"),
                  QString::fromLatin1(QUrl::fromLocalFile(published_.song).toEncoded()));
  if (published_.lengthMs > 0)
    metadata.insert(QStringLiteral("mpris:length"), qint64(published_.lengthMs) * kUsPerMs);
  return metadata;
}

qint64 MprisPublisher::PositionUs() const {
  if (session_.Following() || !session_.SongOpen()) return 0;
  return qint64(session_.Position()) * kUsPerMs;
}

double MprisPublisher::Volume() const { return session_.Volume() / 1000.0; }

// --- Commands: only for a song of its own (none while following) ---

void MprisPublisher::PlayPause() {
  if (!published_.canPlay) return;
  if (session_.SongPlaying())
    session_.TogglePause();
  else
    session_.Play();
}

void MprisPublisher::Play() {
  if (published_.canPlay && !session_.SongPlaying()) session_.Play();
}

void MprisPublisher::Pause() {
  if (published_.canPlay && session_.SongPlaying()) session_.TogglePause();
}

void MprisPublisher::Stop() {
  if (published_.canPlay && session_.SongOpen()) session_.Stop();
}

// MPRIS: a position for another track than the current one, or outside the track, is ignored.
void MprisPublisher::SetPosition(const QDBusObjectPath& trackId, qint64 positionUs) {
  if (!published_.canSeek || trackId.path() != TrackPath()) return;
  if (positionUs < 0 || positionUs > qint64(published_.lengthMs) * kUsPerMs) return;
  session_.SeekTo(qint32(positionUs / kUsPerMs));
}

// Before the start is the start; past the end is the end, which the song then reaches as
// it would by playing (looping or standing there), there being no next track to go to.
void MprisPublisher::Seek(qint64 offsetUs) {
  if (!published_.canSeek) return;
  const qint64 lengthUs = qint64(published_.lengthMs) * kUsPerMs;
  const qint64 targetUs = std::clamp(PositionUs() + std::clamp(offsetUs, -lengthUs, lengthUs), qint64(0), lengthUs);
  session_.SeekTo(qint32(targetUs / kUsPerMs));
}

}  // namespace lyrova
