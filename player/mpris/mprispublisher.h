#pragma once

#include <QDBusConnection>
#include <QObject>
#include <QString>
#include <QVariantMap>

class QDBusObjectPath;

// The Player as an MPRIS player on the session bus, so that the desktop's media keys and panels
// show and control its own song: org.mpris.MediaPlayer2.lyrova (or, when another Lyrova holds
// that name, org.mpris.MediaPlayer2.lyrova.instance<pid>), object /org/mpris/MediaPlayer2, with
// the root and the Player interfaces (see mprisadaptors.h).
//
// What it publishes is read from the PlayerSession: status, metadata and capabilities are
// compared with what was last announced whenever the session says its state may have changed,
// and a change goes out in one PropertiesChanged signal; the position is read only when asked
// (MPRIS never announces it) and every jump of it goes out as Seeked. In follow mode the Player
// stays on the bus but stands "Stopped" with empty metadata and offers no control, so that it is
// never taken for the player that plays.
//
// No session bus: nothing is registered and nothing is said. Runs on the session's thread; the
// session must outlive the publisher.
namespace lyrova {

class MprisPlayerAdaptor;
class PlayerSession;

// What the desktop is told of the own song.
struct PublishedState {
  QString status = QStringLiteral("Stopped");  // "Playing", "Paused" or "Stopped"
  QString song;       // the own song's file; "" for none, and always in follow mode
  QString title;      // the lyrics' title tag, else the file name without its extension
  QString artist;     // the lyrics' artist tag, or ""
  qint32 lengthMs = 0;  // 0 while unknown (the song is not open)
  qint64 track = 0;     // counts the songs published: the track id changes with every song
  bool canPlay = false;  // a song of its own is chosen
  bool canSeek = false;  // ... and open, with a length
  friend bool operator==(const PublishedState&, const PublishedState&) = default;
};

class MprisPublisher : public QObject {
  Q_OBJECT

 public:
  static inline const QString kBusName = QStringLiteral("org.mpris.MediaPlayer2.lyrova");
  static inline const QString kObjectPath = QStringLiteral("/org/mpris/MediaPlayer2");
  static inline const QString kTrackPathPrefix = QStringLiteral("/org/lyrova/track/");

  struct Options {
    QDBusConnection connection = QDBusConnection::sessionBus();
    qint64 pid = 0;  // names the instance when the plain name is taken; 0: this process
  };

  MprisPublisher(PlayerSession& session, Options options, QObject* parent = nullptr);
  explicit MprisPublisher(PlayerSession& session, QObject* parent = nullptr)
      : MprisPublisher(session, Options{}, parent) {}
  ~MprisPublisher() override;

  // The name this Player holds on the bus; "" when there is no bus or it refused every name.
  QString BusName() const { return busName_; }
  const PublishedState& Published() const { return published_; }

  // What the adaptors answer and do. Positions and offsets in microseconds, as MPRIS has them.
  QVariantMap Metadata() const;
  qint64 PositionUs() const;
  double Volume() const;
  void PlayPause();
  void Play();
  void Pause();
  void Stop();
  void SetPosition(const QDBusObjectPath& trackId, qint64 positionUs);
  void Seek(qint64 offsetUs);

 private:
  PublishedState Look() const;
  void Announce();
  void AnnounceSeek(qint32 positionMs);
  QString TrackPath() const;

  PlayerSession& session_;
  QDBusConnection connection_;
  MprisPlayerAdaptor* player_ = nullptr;
  QString busName_;
  PublishedState published_;
};

}  // namespace lyrova
