#include "media/fakeaudio.h"

#include <algorithm>

namespace lyrova {

FakeAudio::~FakeAudio() {
  // Engines that outlive their FakeAudio would read freed rules; detach them so that at
  // least they fail cleanly instead.
  for (FakeAudioEngine* engine : engines_) engine->audio_ = nullptr;
}

void FakeAudio::AddFile(const QString& path, qint64 lengthMs) {
  files_.insert(path, std::max<qint64>(lengthMs, 0));
}

void FakeAudio::RemoveFile(const QString& path) { files_.remove(path); }

void FakeAudio::Advance(qint64 ms) {
  if (ms > 0) nowMs_ += ms;
}

std::unique_ptr<FakeAudioEngine> FakeAudio::MakeEngine() {
  return std::make_unique<FakeAudioEngine>(*this);
}

std::function<std::unique_ptr<AudioEngine>()> FakeAudio::Factory() {
  return [this]() -> std::unique_ptr<AudioEngine> { return MakeEngine(); };
}

std::optional<qint64> FakeAudio::LengthOf(const QString& path) const {
  const auto it = files_.constFind(path);
  if (it == files_.constEnd()) return std::nullopt;
  return *it;
}

void FakeAudio::Forget(FakeAudioEngine* engine) {
  engines_.erase(std::remove(engines_.begin(), engines_.end(), engine), engines_.end());
}

FakeAudioEngine::FakeAudioEngine(FakeAudio& audio) : audio_(&audio) {
  audio.engines_.push_back(this);
}

FakeAudioEngine::~FakeAudioEngine() {
  if (audio_ != nullptr) audio_->Forget(this);
}

bool FakeAudioEngine::Load(const QString& path, QString* whyNot) {
  Unload();
  const qint64 length = audio_ != nullptr ? audio_->LengthOf(path).value_or(-1) : -1;
  if (length <= 0) {
    if (whyNot != nullptr)
      *whyNot = (length < 0 ? QStringLiteral("no such file: ")
                            : QStringLiteral("no audio of known length in ")) +
                path;
    return false;
  }
  path_ = path;
  lengthMs_ = length;
  positionMs_ = 0;
  state_ = State::Paused;
  return true;
}

void FakeAudioEngine::Unload() {
  path_.clear();
  state_ = State::Empty;
  lengthMs_ = 0;
  positionMs_ = 0;
}

// Brings a playing engine up to the clock, ending it when it has run past its end.
void FakeAudioEngine::CatchUp() {
  if (state_ != State::Playing || audio_ == nullptr) return;
  const qint64 now = audio_->NowMs();
  positionMs_ += now - clockMs_;
  clockMs_ = now;
  if (positionMs_ >= lengthMs_) {
    positionMs_ = lengthMs_;
    state_ = State::Ended;
  }
}

AudioEngine::State FakeAudioEngine::CurrentState() {
  CatchUp();
  return state_;
}

qint64 FakeAudioEngine::PositionMs() {
  CatchUp();
  return positionMs_;
}

bool FakeAudioEngine::Play() {
  CatchUp();
  if (state_ == State::Empty) return false;
  if (state_ == State::Paused) {
    state_ = State::Playing;
    clockMs_ = audio_ != nullptr ? audio_->NowMs() : 0;
  }
  return true;
}

bool FakeAudioEngine::Pause() {
  CatchUp();
  if (state_ == State::Empty) return false;
  if (state_ == State::Playing) state_ = State::Paused;
  return true;
}

bool FakeAudioEngine::Seek(qint64 positionMs) {
  if (state_ == State::Empty) return false;
  positionMs_ = std::clamp<qint64>(positionMs, 0, lengthMs_);
  state_ = positionMs_ == lengthMs_ ? State::Ended : State::Paused;
  return true;
}

bool FakeAudioEngine::SetVolume(int volume) {
  if (volume < 0 || volume > 1000) return false;
  if (audio_ == nullptr || audio_->VolumeRefused()) return false;
  volume_ = volume;
  return true;
}

}  // namespace lyrova
