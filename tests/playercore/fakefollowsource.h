#pragma once

// A followed player for session tests: its track, state and position are set by the test, its
// clock moves only with Advance, and every command sent to it is recorded.
#include "player/core/followsource.h"

#include <QStringList>

#include <algorithm>
#include <cmath>

namespace lyrova {

class FakeFollowSource : public FollowSource {
 public:
  FollowedTrack Track() const override { return track; }
  bool IsPlaying() const override { return playing; }
  qint32 PositionMs() const override {
    const qint64 ran = playing && rate > 0 ? qint64(std::floor(double(nowMs - anchorAtMs) * rate)) : 0;
    const qint64 at = anchorMs + ran;
    return qint32(track.lengthMs > 0 ? std::clamp<qint64>(at, 0, track.lengthMs) : std::max<qint64>(at, 0));
  }
  bool CanPause() const override { return canPause; }
  bool CanSeek() const override { return canSeek; }
  double Rate() const override { return rate; }
  QString Problem() const override { return problem; }
  QList<FollowablePlayer> Players() const override { return players; }
  QString PinnedId() const override { return pinned; }
  void Pin(const QString& id) override { pinned = id; }
  void PlayPause() override { commands.append(QStringLiteral("PlayPause")); }
  void StopPlayback() override { commands.append(QStringLiteral("Stop")); }
  void SetPosition(qint32 ms) override { commands.append(QStringLiteral("SetPosition ") + QString::number(ms)); }

  // A new track at 0, playing, announced.
  void Play(const QString& id, const QString& file, const QString& artist, const QString& title, qint32 lengthMs) {
    track = {id, file, artist, title, lengthMs};
    playing = true;
    Jump(0, false);
    emit TrackChanged();
  }
  void Jump(qint64 ms, bool announce = true) {
    anchorMs = ms;
    anchorAtMs = nowMs;
    if (announce) emit PlaybackChanged();
  }
  void SetPlaying(bool on) {
    Jump(PositionMs(), false);
    playing = on;
    emit PlaybackChanged();
  }
  void Advance(qint64 ms) { nowMs += ms; }

  FollowedTrack track;
  bool playing = false;
  bool canPause = true;
  bool canSeek = true;
  double rate = 1.0;
  qint64 nowMs = 0;
  qint64 anchorMs = 0;
  qint64 anchorAtMs = 0;
  QStringList commands;
  QString problem;
  QList<FollowablePlayer> players;
  QString pinned;
};

}  // namespace lyrova
