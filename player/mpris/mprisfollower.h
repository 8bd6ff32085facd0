#pragma once

#include "player/core/followsource.h"
#include "player/mpris/mprismetadata.h"
#include "player/mpris/runningposition.h"

#include <QDBusConnection>
#include <QHash>
#include <QList>
#include <QString>
#include <QTimer>
#include <QVariantMap>

#include <functional>

class QDBusMessage;
class QDBusPendingCallWatcher;

// Follows the MPRIS players on the session bus (org.mpris.MediaPlayer2.*): which are there,
// what each plays and whether it plays, and, for the one followed, its position.
//
// Players come and go through the bus's NameOwnerChanged signal; their properties through
// PropertiesChanged and Seeked, one subscription each for all players. The position of the
// followed player is read when a track starts, on every change of its status, twice more in the
// second after a start or a seek, and otherwise at most once every kRereadMs while it plays; in between it runs on with the steady clock and
// the player's rate (RunningPosition). Every call is asynchronous with a time-out: a player
// that never answers cannot hold up the thread, it only stays unread.
//
// Never followed: the Player's own bus name (kOwnBusName and its instances) and any name owned
// by this process. Runs on the thread that owns it.
namespace lyrova {

class MprisFollower : public FollowSource {
  Q_OBJECT

 public:
  static constexpr int kRereadMs = 2000;
  // Just after a start, a seek or a new track a player's position is least sure (its output is
  // starting): it is read again kSettleReads times every kSettleRereadMs before the slow pace.
  static constexpr int kSettleRereadMs = 500;
  static constexpr int kSettleReads = 2;
  static constexpr int kCallTimeoutMs = 1000;
  static inline const QString kNamePrefix = QStringLiteral("org.mpris.MediaPlayer2.");
  static inline const QString kOwnBusName = QStringLiteral("org.mpris.MediaPlayer2.lyrova");

  struct Options {
    QDBusConnection connection = QDBusConnection::sessionBus();
    // Milliseconds of a steady clock; empty: the system's monotonic clock.
    std::function<qint64()> clockMs;
    qint64 ownPid = 0;  // 0: this process
  };

  explicit MprisFollower(Options options, QObject* parent = nullptr);
  explicit MprisFollower(QObject* parent = nullptr) : MprisFollower(Options{}, parent) {}
  ~MprisFollower() override;

  // FollowSource.
  FollowedTrack Track() const override;
  bool IsPlaying() const override;
  qint32 PositionMs() const override;
  bool CanPause() const override;
  bool CanSeek() const override;
  double Rate() const override;
  QString Problem() const override { return problem_; }
  QList<FollowablePlayer> Players() const override;
  QString FollowedId() const override { return followed_; }
  QString PinnedId() const override { return pinned_; }
  void Pin(const QString& id) override;
  void PlayPause() override;
  void StopPlayback() override;
  void SetPosition(qint32 positionMs) override;

  // Every call made to a player since the start (reads and commands; not the bus's own).
  qint64 CallsMade() const { return callsMade_; }

 private slots:
  void OnNameOwnerChanged(const QString& name, const QString& oldOwner, const QString& newOwner);
  void OnPropertiesChanged(const QDBusMessage& message);
  void OnSeeked(const QDBusMessage& message);

 private:
  struct Player {
    QString owner;  // its unique connection name
    QString identity;
    MprisStatus status = MprisStatus::Unknown;
    FollowedTrack track;
    QString trackPath;  // mpris:trackid as an object path, for SetPosition
    bool canPause = false;
    bool canSeek = false;
    double rate = 1.0;
    qint64 startedAt = 0;  // the order in which players last began to play; 0: never seen
    bool ready = false;    // its properties were read once
  };

  qint64 Now() const;
  void ListPlayers();
  void AddPlayer(const QString& name, const QString& owner);
  void RemovePlayer(const QString& name);
  void ReadProperties(const QString& name);
  void ReadIdentity(const QString& name);
  // Takes changed properties of `name`'s Player interface.
  void Apply(const QString& name, const QVariantMap& properties);
  void Choose();
  void FollowAnew();
  void ReadPosition();
  void PositionRead(QDBusPendingCallWatcher* watcher, qint64 sentAtMs, quint64 generation);
  void ScheduleReread();
  // An asynchronous call to a player with the time-out; the caller connects to the answer.
  QDBusPendingCallWatcher* Call(const QString& name, const QString& interface, const QString& method,
                                const QVariantList& arguments);
  QStringList NamesOwnedBy(const QString& owner) const;
  const Player* FollowedPlayer() const;

  Options options_;
  QString problem_;
  QHash<QString, Player> players_;  // by bus name
  QString followed_;
  QString pinned_;
  RunningPosition position_;
  QTimer reread_;
  bool reading_ = false;
  int settleReads_ = 0;  // quick reads still to come
  bool readAgain_ = false;
  quint64 generation_ = 0;  // counts the tracks followed: a late answer for an older one is dropped
  qint64 startCount_ = 0;
  qint64 callsMade_ = 0;
};

}  // namespace lyrova
