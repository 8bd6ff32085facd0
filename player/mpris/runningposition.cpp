#include "player/mpris/runningposition.h"

#include <algorithm>
#include <cmath>

namespace lyrova {

qint64 RunningPosition::Raw(qint64 atMs) const {
  if (!running_ || rate_ <= 0 || atMs <= anchorAtMs_) return anchorPositionMs_;
  return anchorPositionMs_ + qint64(std::floor(double(atMs - anchorAtMs_) * rate_));
}

qint64 RunningPosition::At(qint64 atMs) const {
  qint64 position = std::max(Raw(atMs), floorMs_);
  if (lengthMs_ > 0) position = std::min(position, lengthMs_);
  return std::max<qint64>(position, 0);
}

void RunningPosition::Anchor(qint64 positionMs, qint64 atMs) {
  anchorPositionMs_ = positionMs;
  anchorAtMs_ = atMs;
}

bool RunningPosition::Read(qint64 positionMs, qint64 atMs) {
  const qint64 running = At(atMs);
  const bool seek = std::abs(positionMs - running) > kSeekJumpMs;
  if (seek) {
    Reset(positionMs, atMs);
  } else {
    floorMs_ = 0;
    if (running_ && positionMs < running) {
      // Behind by a little: an answer is a little old when it comes, and some players report a
      // position that lags what they play and then catches up in a jump. So a read behind only
      // moves the position back a part of the way, and the position holds where it is shown
      // until that catches up; a player whose clock really runs slow is still followed.
      Anchor(running - (running - positionMs) / kBehindShare, atMs);
      floorMs_ = running;
    } else {
      Anchor(positionMs, atMs);
    }
  }
  return seek;
}

void RunningPosition::Reset(qint64 positionMs, qint64 atMs) {
  floorMs_ = 0;
  Anchor(positionMs, atMs);
}

void RunningPosition::SetRunning(bool running, qint64 atMs) {
  if (running == running_) return;
  const qint64 now = At(atMs);
  running_ = running;
  Reset(now, atMs);
}

void RunningPosition::SetRate(double rate, qint64 atMs) {
  const qint64 now = At(atMs);
  rate_ = rate;
  Reset(now, atMs);
}

}  // namespace lyrova
