#pragma once

#include <QString>
#include <QtGlobal>

namespace lyrova {

// One loaded audio file and its playback. The command device drives one engine per open
// device; the programs use MpvEngine, tests use FakeAudioEngine. Both keep this contract.
//
// States:
//   Empty    nothing loaded. LengthMs() and PositionMs() are 0; Play, Pause and Seek do
//            nothing and return false.
//   Paused   loaded and standing still. PositionMs() does not change.
//   Playing  the position advances with real time (the fake: with its test clock) and never
//            decreases while it stays Playing.
//   Ended    the position has reached the end and stands there: PositionMs() == LengthMs()
//            exactly. Nothing plays.
//
// Transitions:
//   Load(path)   any state → Paused at 0 with LengthMs() > 0 (what was loaded is unloaded
//                first); on failure → Empty and the reason in `whyNot`. A file without an
//                audio track, or with a length of 0 or unknown, does not load.
//   Play()       Paused → Playing. Playing and Ended stay as they are (a finished file does
//                not restart by itself; seek first).
//   Pause()      Playing → Paused at the current position; Paused and Ended stay.
//   Seek(ms)     Paused, Playing or Ended → Paused at ms clamped to 0..LengthMs(), or Ended
//                when ms >= LengthMs(). A seek always stops playback.
//   end of file  Playing → Ended on its own when the position reaches LengthMs().
//   Unload()     any state → Empty.
//
// SetVolume works in every state and is kept across loads; volumes run from 0 (silent) to
// 1000 (full). Everything runs on the caller's thread; an engine is not thread-safe.
class AudioEngine {
 public:
  enum class State { Empty, Paused, Playing, Ended };

  AudioEngine() = default;
  AudioEngine(const AudioEngine&) = delete;
  AudioEngine& operator=(const AudioEngine&) = delete;
  virtual ~AudioEngine() = default;

  virtual bool Load(const QString& path, QString* whyNot) = 0;
  virtual void Unload() = 0;

  // The state as of now: a Playing engine that has reached the end reports Ended.
  virtual State CurrentState() = 0;
  virtual qint64 LengthMs() const = 0;
  virtual qint64 PositionMs() = 0;

  virtual bool Play() = 0;
  virtual bool Pause() = 0;
  virtual bool Seek(qint64 positionMs) = 0;

  // False for a volume outside 0..1000 (nothing changes) or when the output refuses it.
  virtual bool SetVolume(int volume) = 0;
  virtual int Volume() const = 0;
};

}  // namespace lyrova
