#pragma once

#include "media/audioengine.h"

#include <QByteArray>
#include <QString>

#include <chrono>

struct mpv_handle;

namespace lyrova {

struct MpvLibrary;

// AudioEngine over libmpv. Each loaded file gets its own libmpv core, made by Load and shut
// down by Unload or a failed Load, so an engine with nothing loaded holds no threads.
//
// The core never opens a window, reads no configuration, runs no scripts and writes nothing
// to the terminal. Its audio output list ends in "null", which plays in real time without a
// sound device. Everything runs on the caller's thread: Load waits for the file with a
// deadline instead of an event loop. Not thread-safe.
class MpvEngine final : public AudioEngine {
 public:
  // The sound outputs to try, ending in "null" so a song also plays, in real time, without any.
  // ALSA is left out when the machine has no sound card: it would only fill the terminal with
  // complaints before "null" takes over.
  static QByteArray DefaultAudioOutputs();

  struct Options {
    // libmpv's audio output list, tried in order.
    QByteArray audioOutputs = "pulse,alsa,null";
    // How long Load waits for libmpv to report the file loaded.
    int loadTimeoutMs = 5000;
  };

  MpvEngine();
  explicit MpvEngine(Options options);
  ~MpvEngine() override;

  bool Load(const QString& path, QString* whyNot) override;
  void Unload() override;
  State CurrentState() override;
  qint64 LengthMs() const override { return lengthMs_; }
  qint64 PositionMs() override;
  bool Play() override;
  bool Pause() override;
  bool Seek(qint64 positionMs) override;
  bool SetVolume(int volume) override;
  int Volume() const override { return volume_; }

  // When libmpv reported the file of the last successful Load as loaded (for measuring how
  // long opening takes after that).
  std::chrono::steady_clock::time_point LoadedAt() const { return loadedAt_; }

 private:
  using Clock = std::chrono::steady_clock;

  bool Start(QString* whyNot);
  void Shutdown();
  bool SetPaused(bool paused);
  enum class Read { WhenDue, Now };
  qint64 RunningPosition(Read read = Read::WhenDue);
  bool ReadPosition(Clock::time_point now);
  bool OutputFinished();
  void DrainEvents();
  bool WaitForEvent(int eventId, Clock::time_point deadline);

  Options options_;
  const MpvLibrary* lib_ = nullptr;  // loaded by the first Start
  mpv_handle* mpv_ = nullptr;
  State state_ = State::Empty;
  qint64 lengthMs_ = 0;
  int volume_ = 1000;
  bool fileEnded_ = false;  // libmpv ended the file (an error or its end) outside a Load

  // The position while not playing.
  qint64 heldMs_ = 0;
  // While playing: the last position read from libmpv and when; between reads the position
  // runs on from it with the clock.
  qint64 sampleUs_ = 0;  // in microseconds
  Clock::time_point sampleAt_;
  Clock::time_point sampleChangedAt_;
  bool sampledSincePlay_ = false;  // a position was read from libmpv since the last Play
  bool outputRunning_ = false;     // and it has moved between two reads since
  qint64 reportedMs_ = 0;  // the last position reported while playing; positions never go back

  Clock::time_point loadedAt_;
};

}  // namespace lyrova
