#pragma once

#include "media/audioengine.h"

#include <QHash>
#include <QString>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace lyrova {

class FakeAudioEngine;

// The test's side of a deterministic sound system: which files open, how long they are, and
// what time it is. Time moves only when the test calls Advance, so a test knows every
// position exactly. Engines made here read these rules and this clock; the FakeAudio must
// outlive them.
//
//   FakeAudio audio;
//   audio.AddFile(u"/music/song.mp3"_s, 180'000);
//   CommandDevice device(audio.Factory());
//   ...open and play through the device...
//   audio.Advance(1'500);            // a playing file is now 1.5 s further on
class FakeAudio {
 public:
  FakeAudio() = default;
  FakeAudio(const FakeAudio&) = delete;
  FakeAudio& operator=(const FakeAudio&) = delete;
  ~FakeAudio();

  // Later loads of exactly this path succeed with this length. A length of 0 or less makes
  // the load fail as a file of no or unknown length does.
  void AddFile(const QString& path, qint64 lengthMs);
  void RemoveFile(const QString& path);

  // Moves the clock on by `ms` (negative steps are ignored); every playing engine moves
  // with it and stops at its end.
  void Advance(qint64 ms);
  qint64 NowMs() const { return nowMs_; }

  // While refused, SetVolume of every engine fails and changes nothing.
  void SetVolumeRefused(bool refused) { volumeRefused_ = refused; }
  bool VolumeRefused() const { return volumeRefused_; }

  std::unique_ptr<FakeAudioEngine> MakeEngine();
  std::function<std::unique_ptr<AudioEngine>()> Factory();

  // The engines made here that still exist, oldest first; LatestEngine() is the newest or null.
  const std::vector<FakeAudioEngine*>& Engines() const { return engines_; }
  FakeAudioEngine* LatestEngine() const { return engines_.empty() ? nullptr : engines_.back(); }

 private:
  friend class FakeAudioEngine;
  std::optional<qint64> LengthOf(const QString& path) const;
  void Forget(FakeAudioEngine* engine);

  QHash<QString, qint64> files_;
  qint64 nowMs_ = 0;
  bool volumeRefused_ = false;
  std::vector<FakeAudioEngine*> engines_;
};

// An AudioEngine over FakeAudio's files and clock; see AudioEngine for the contract.
class FakeAudioEngine final : public AudioEngine {
 public:
  explicit FakeAudioEngine(FakeAudio& audio);
  ~FakeAudioEngine() override;

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

  // The path of the loaded file; "" when Empty.
  QString LoadedPath() const { return path_; }

 private:
  friend class FakeAudio;
  void CatchUp();

  FakeAudio* audio_;
  QString path_;
  State state_ = State::Empty;
  qint64 lengthMs_ = 0;
  qint64 positionMs_ = 0;  // while Playing: the position at clockMs_
  qint64 clockMs_ = 0;
  int volume_ = 1000;
};

}  // namespace lyrova
