#pragma once

#include <QtGlobal>

// The position of a player that is not asked all the time: the last position read from it,
// run on with the clock and its rate in between. Pure arithmetic over the caller's clock
// (milliseconds of a steady clock), so tests set every moment.
//
// While playing, the position never runs backwards between seeks: a read a little behind the running
// position (the clock of the other program is not quite ours, an answer took time to come)
// moves it back by 1/kBehindShare of the difference and holds it until it catches up, so a
// line just shown does not flicker back. A read ahead is taken; one more than kSeekJumpMs away
// from the running position is taken at once and counts as a seek.
namespace lyrova {

class RunningPosition {
 public:
  static constexpr qint64 kSeekJumpMs = 300;
  static constexpr qint64 kBehindShare = 8;

  // A position read from the player, valid at `atMs` of the clock. True when it is a seek (a
  // jump from the running position of more than kSeekJumpMs).
  bool Read(qint64 positionMs, qint64 atMs);
  // Starts afresh at `positionMs` (a new track, a seek the player announced).
  void Reset(qint64 positionMs, qint64 atMs);
  // Playing or standing; the position at `atMs` is kept.
  void SetRunning(bool running, qint64 atMs);
  // A rate of 0 or less stands still.
  void SetRate(double rate, qint64 atMs);
  // The length the position is kept within; 0 or less: unknown (no upper limit).
  void SetLengthMs(qint64 lengthMs) { lengthMs_ = lengthMs; }

  // The position at `atMs`, within 0..length.
  qint64 At(qint64 atMs) const;
  bool Running() const { return running_; }
  double Rate() const { return rate_; }

 private:
  qint64 Raw(qint64 atMs) const;
  void Anchor(qint64 positionMs, qint64 atMs);

  qint64 anchorPositionMs_ = 0;
  qint64 anchorAtMs_ = 0;
  qint64 floorMs_ = 0;  // the running position never shows less than this until the next anchor
  qint64 lengthMs_ = 0;
  double rate_ = 1.0;
  bool running_ = false;
};

}  // namespace lyrova
