#pragma once

#include <QList>
#include <QObject>
#include <QString>
#include <QtGlobal>

// Another program's playback, as the Player follows it instead of playing a song itself: what
// it plays, whether it plays, where it stands now, and the few commands the Player may send it.
// The session reads it the way it reads its own media device; MprisFollower is the real one,
// tests use a fake with a settable clock.
namespace lyrova {

struct FollowedTrack {
  // Changes whenever the followed player moves to another track (or another player is
  // followed); "" while nothing is followed or the player reports no track.
  QString id;
  QString filePath;  // the local file it plays, or ""
  QString artist;
  QString title;
  qint32 lengthMs = 0;  // 0 when unknown
  friend bool operator==(const FollowedTrack&, const FollowedTrack&) = default;
};

// A player that could be followed, as the menu of players lists it.
struct FollowablePlayer {
  QString id;       // stable while the player runs (its bus name)
  QString caption;  // what it calls itself
  friend bool operator==(const FollowablePlayer&, const FollowablePlayer&) = default;
};

// Contract: every getter is cheap and answers from what is known now (no call waits for the
// other program). PositionMs() runs on with the clock between reads and stays within
// 0..lengthMs when the length is known. Signals come on the thread that owns the source.
class FollowSource : public QObject {
  Q_OBJECT

 public:
  using QObject::QObject;

  virtual FollowedTrack Track() const = 0;
  virtual bool IsPlaying() const = 0;
  virtual qint32 PositionMs() const = 0;
  virtual bool CanPause() const = 0;
  virtual bool CanSeek() const = 0;
  // How fast the position runs against the clock (1 normal); 0 or less: it stands.
  virtual double Rate() const { return 1.0; }
  // A note for the status area when following cannot work (no session bus); "" otherwise.
  virtual QString Problem() const { return {}; }

  // The players there are, in menu order; the one followed ("" none); the one pinned by the
  // user ("" when the choice is automatic: the player that started playing last). A pinned
  // player that is not there is remembered, and the choice is automatic until it comes back.
  virtual QList<FollowablePlayer> Players() const { return {}; }
  virtual QString FollowedId() const { return {}; }
  virtual QString PinnedId() const { return {}; }
  virtual void Pin(const QString& /*id*/) {}

  // Commands to the followed player; nothing happens when none is followed or it refuses.
  virtual void PlayPause() = 0;
  virtual void StopPlayback() = 0;
  virtual void SetPosition(qint32 positionMs) = 0;

 signals:
  // Another track, another player, or none any more.
  void TrackChanged();
  // Playing or paused, a seek, another rate, other capabilities: the position is to be read
  // again and the plan made anew.
  void PlaybackChanged();
  // A player came or went, told its name, or another one is followed.
  void PlayersChanged();
};

}  // namespace lyrova
