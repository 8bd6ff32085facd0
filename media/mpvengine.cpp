#include "media/mpvengine.h"

#include <QFile>
#include <QFileInfo>

#include "media/mpvlibrary.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <clocale>
#include <cmath>
#include <cstring>

namespace lyrova {
namespace {

using namespace std::chrono_literals;

struct Option {
  const char* name;
  const char* value;
  bool required;  // the core must not start without it
};

// No window, no terminal, no configuration, no scripts, no network helpers, no side files:
// the core plays the one file it is given and nothing else.
constexpr Option kOptions[] = {
    {"config", "no", true},
    {"terminal", "no", true},
    {"load-scripts", "no", true},
    {"ytdl", "no", true},
    {"osc", "no", true},
    {"input-default-bindings", "no", true},
    {"input-vo-keyboard", "no", false},
    {"vid", "no", true},
    {"vo", "null", true},
    {"force-window", "no", false},
    {"audio-display", "no", false},
    {"sid", "no", false},
    {"sub-auto", "no", false},
    {"audio-file-auto", "no", false},
    {"cover-art-auto", "no", false},
    {"load-stats-overlay", "no", false},
    {"load-osd-console", "no", false},
    {"load-auto-profiles", "no", false},
    {"resume-playback", "no", false},
    {"save-position-on-quit", "no", false},
    {"audio-client-name", "lyrova", false},
    // The core stays up after a failed file, so Load can read why it failed.
    {"idle", "yes", true},
    // A finished file stays loaded and paused at its end, so the position can equal the length.
    {"keep-open", "yes", true},
    {"keep-open-pause", "yes", false},
    {"pause", "yes", true},
    {"hr-seek", "yes", false},
    // The songs are local files: the core reads them itself when it needs more, instead of a
    // reader thread of its own waking some fifty times a second to read ahead.
    {"demuxer-thread", "no", false},
};

constexpr auto kSeekTimeout = 1000ms;
// A position that has not moved for this long while playing makes the engine check whether
// the output has stopped at the end.
constexpr auto kStallCheck = 250ms;
// How often a running position is read from libmpv; see RunningPosition.
constexpr auto kResample = 100ms;

QString Text(const char* latin) { return QString::fromLatin1(latin); }

QString EndReason(const mpv_event_end_file& end) {
  if (end.reason == MPV_END_FILE_REASON_ERROR)
    return QStringLiteral("libmpv cannot play it: ") + Text(LoadMpvLibrary(nullptr)->error_string(end.error));
  if (end.reason == MPV_END_FILE_REASON_REDIRECT)
    return QStringLiteral("it is a playlist, not an audio file");
  return QStringLiteral("libmpv stopped it before it loaded");
}

// Checks what libmpv would accept too readily: a folder plays as a playlist of its files, an
// empty or unreadable file fails late and with a vaguer message.
bool CheckFile(const QByteArray& localPath, QString* whyNot) {
  struct stat info {};
  if (::stat(localPath.constData(), &info) != 0) {
    *whyNot = QStringLiteral("cannot find it: ") + Text(std::strerror(errno));
    return false;
  }
  if (!S_ISREG(info.st_mode)) {
    *whyNot = QStringLiteral("it is not a regular file");
    return false;
  }
  if (info.st_size == 0) {
    *whyNot = QStringLiteral("the file is empty");
    return false;
  }
  const int fd = ::open(localPath.constData(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    *whyNot = QStringLiteral("cannot read it: ") + Text(std::strerror(errno));
    return false;
  }
  ::close(fd);
  return true;
}

}  // namespace

MpvEngine::MpvEngine() : MpvEngine(Options()) {}

MpvEngine::MpvEngine(Options options) : options_(std::move(options)) {}

MpvEngine::~MpvEngine() { Shutdown(); }

bool MpvEngine::Start(QString* whyNot) {
  // libmpv formats and parses numbers the C way and refuses to start under a numeric locale
  // that does not (a decimal comma); the Qt application object sets the user's locale.
  std::setlocale(LC_NUMERIC, "C");
  lib_ = LoadMpvLibrary(whyNot);
  if (lib_ == nullptr) return false;
  mpv_ = lib_->create();
  if (mpv_ == nullptr) {
    *whyNot = QStringLiteral("libmpv cannot start");
    return false;
  }
  for (const Option& option : kOptions) {
    const int result = lib_->set_option_string(mpv_, option.name, option.value);
    if (result < 0 && option.required) {
      *whyNot = QStringLiteral("libmpv refuses the option ") + Text(option.name) +
                QStringLiteral(": ") + Text(lib_->error_string(result));
      Shutdown();
      return false;
    }
  }
  int result = lib_->set_option_string(mpv_, "ao", options_.audioOutputs.constData());
  double volume = volume_ / 10.0;
  if (result >= 0) result = lib_->set_option(mpv_, "volume", MPV_FORMAT_DOUBLE, &volume);
  if (result >= 0) result = lib_->initialize(mpv_);
  if (result < 0) {
    *whyNot = QStringLiteral("libmpv cannot start: ") + Text(lib_->error_string(result));
    Shutdown();
    return false;
  }
  return true;
}

void MpvEngine::Shutdown() {
  if (mpv_ != nullptr) lib_->terminate_destroy(mpv_);  // joins all of the core's threads
  mpv_ = nullptr;
}

bool MpvEngine::Load(const QString& path, QString* whyNot) {
  Unload();
  QString reason;
  const auto fail = [&](const QString& why) {
    Shutdown();
    if (whyNot != nullptr) *whyNot = why;
    return false;
  };
  if (path.isEmpty()) return fail(QStringLiteral("no file named"));
  // An absolute path is never read as a URL or an option by libmpv.
  const QByteArray localPath = QFile::encodeName(QFileInfo(path).absoluteFilePath());
  if (!CheckFile(localPath, &reason)) return fail(reason);
  if (!Start(&reason)) return fail(reason);

  const char* command[] = {"loadfile", localPath.constData(), "replace", nullptr};
  if (const int result = lib_->command(mpv_, command); result < 0)
    return fail(QStringLiteral("libmpv cannot load it: ") + Text(lib_->error_string(result)));

  const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(options_.loadTimeoutMs);
  qint64 entry = -1;  // libmpv's playlist entry for this file
  for (bool loaded = false; !loaded;) {
    const double left = std::chrono::duration<double>(deadline - Clock::now()).count();
    if (left <= 0) return fail(QStringLiteral("libmpv did not load it in time"));
    const mpv_event* event = lib_->wait_event(mpv_, left);
    switch (event->event_id) {
      case MPV_EVENT_START_FILE:
        if (entry < 0) entry = static_cast<const mpv_event_start_file*>(event->data)->playlist_entry_id;
        break;
      case MPV_EVENT_END_FILE: {
        // A playlist ends its own entry (with a redirect) before its first item starts.
        const auto& end = *static_cast<const mpv_event_end_file*>(event->data);
        if (entry < 0 || end.playlist_entry_id == entry) return fail(EndReason(end));
        break;
      }
      case MPV_EVENT_FILE_LOADED: loaded = true; break;
      case MPV_EVENT_SHUTDOWN: return fail(QStringLiteral("libmpv shut down"));
      default: break;
    }
  }
  loadedAt_ = Clock::now();

  int64_t audioTrack = 0;
  if (lib_->get_property(mpv_, "current-tracks/audio/id", MPV_FORMAT_INT64, &audioTrack) < 0)
    return fail(QStringLiteral("it has no audio track"));
  double seconds = 0;
  if (lib_->get_property(mpv_, "duration", MPV_FORMAT_DOUBLE, &seconds) < 0 || !std::isfinite(seconds))
    return fail(QStringLiteral("its length is unknown"));
  const qint64 length = std::llround(seconds * 1000.0);
  if (length <= 0) return fail(QStringLiteral("it has no length"));

  lengthMs_ = length;
  heldMs_ = 0;
  fileEnded_ = false;
  state_ = State::Paused;
  return true;
}

void MpvEngine::Unload() {
  Shutdown();
  state_ = State::Empty;
  lengthMs_ = 0;
  heldMs_ = 0;
}

void MpvEngine::DrainEvents() {
  for (;;) {
    const mpv_event* event = lib_->wait_event(mpv_, 0);
    if (event->event_id == MPV_EVENT_NONE) return;
    if (event->event_id == MPV_EVENT_END_FILE || event->event_id == MPV_EVENT_SHUTDOWN) fileEnded_ = true;
  }
}

bool MpvEngine::WaitForEvent(int eventId, Clock::time_point deadline) {
  for (;;) {
    const double left = std::chrono::duration<double>(deadline - Clock::now()).count();
    if (left <= 0) return false;
    const mpv_event* event = lib_->wait_event(mpv_, left);
    if (event->event_id == eventId) return true;
    if (event->event_id == MPV_EVENT_END_FILE || event->event_id == MPV_EVENT_SHUTDOWN) {
      fileEnded_ = true;
      return false;
    }
  }
}

bool MpvEngine::SetPaused(bool paused) {
  int flag = paused ? 1 : 0;
  return lib_->set_property(mpv_, "pause", MPV_FORMAT_FLAG, &flag) >= 0;
}

// libmpv pauses a finished file itself (keep-open); a file it ended for an error is gone.
bool MpvEngine::OutputFinished() {
  DrainEvents();
  if (fileEnded_) return true;
  int paused = 0;
  return lib_->get_property(mpv_, "pause", MPV_FORMAT_FLAG, &paused) >= 0 && paused != 0;
}

// The position of a playing file. libmpv's "audio-pts" is the position of what is heard;
// once the decoder has reached the end it has none while the output still plays its last
// few hundred milliseconds, and then the position runs on with the wall clock from the last
// one read.
//
// libmpv answers every property read on its core thread, which it wakes for each one; read
// at every 10 ms tick, that alone cost more than decoding the song. So once the output is
// seen running, libmpv is asked at most every kResample and the position runs on with the
// steady clock in between. Until then (just after a start or a seek) every call asks, so the
// start-up delay of the output is never skipped over.
qint64 MpvEngine::RunningPosition(Read read) {
  const Clock::time_point now = Clock::now();
  if (read == Read::Now || !outputRunning_ || now - sampleAt_ >= kResample) {
    if (!ReadPosition(now)) {
      state_ = State::Ended;
      heldMs_ = lengthMs_;
      return lengthMs_;
    }
  }
  const qint64 us = sampleUs_ + std::chrono::duration_cast<std::chrono::microseconds>(now - sampleAt_).count();
  const qint64 ms = std::clamp(us / 1000, reportedMs_, lengthMs_);
  reportedMs_ = ms;
  return ms;
}

// Takes libmpv's position as the new sample. False when the output has finished.
bool MpvEngine::ReadPosition(Clock::time_point now) {
  double seconds = 0;
  if (lib_->get_property(mpv_, "audio-pts", MPV_FORMAT_DOUBLE, &seconds) < 0 || !std::isfinite(seconds))
    return !OutputFinished();  // the sample stays and runs on with the clock
  // Kept in microseconds: rounded to milliseconds at every read, the position would step back
  // and forth by a millisecond against the clock it runs on with.
  const qint64 us = std::llround(seconds * 1e6);
  if (us != sampleUs_) {
    sampleChangedAt_ = now;
    // The first read after a start may differ from the held position by the rounding of a
    // seek; only a change between two reads shows the output running.
    outputRunning_ = sampledSincePlay_;
  }
  sampledSincePlay_ = true;
  sampleUs_ = us;
  sampleAt_ = now;
  return !(now - sampleChangedAt_ > kStallCheck && OutputFinished());
}

AudioEngine::State MpvEngine::CurrentState() {
  if (state_ == State::Playing) RunningPosition();
  return state_;
}

qint64 MpvEngine::PositionMs() {
  switch (state_) {
    case State::Playing: return RunningPosition();
    case State::Ended: return lengthMs_;
    case State::Paused: return heldMs_;
    case State::Empty: break;
  }
  return 0;
}

bool MpvEngine::Play() {
  if (state_ == State::Empty) return false;
  if (state_ != State::Paused) return true;
  DrainEvents();
  if (!SetPaused(false)) return false;
  const Clock::time_point now = Clock::now();
  state_ = State::Playing;
  sampleUs_ = heldMs_ * 1000;
  sampleAt_ = now;
  sampleChangedAt_ = now;
  outputRunning_ = false;
  sampledSincePlay_ = false;
  reportedMs_ = heldMs_;
  return true;
}

bool MpvEngine::Pause() {
  if (state_ == State::Empty) return false;
  if (state_ != State::Playing) return true;
  const qint64 position = RunningPosition(Read::Now);
  if (state_ == State::Ended) return true;
  if (!SetPaused(true)) return false;
  heldMs_ = position;
  state_ = State::Paused;
  return true;
}

bool MpvEngine::Seek(qint64 positionMs) {
  if (state_ == State::Empty) return false;
  const qint64 target = std::clamp<qint64>(positionMs, 0, lengthMs_);
  if (state_ == State::Playing) {
    heldMs_ = RunningPosition(Read::Now);
    if (!SetPaused(true)) return false;
    if (state_ == State::Playing) state_ = State::Paused;
  }
  if (target == lengthMs_) {
    // Standing at the end needs no seek in libmpv: nothing plays from there, and the next
    // seek moves away again.
    state_ = State::Ended;
    heldMs_ = lengthMs_;
    return true;
  }
  DrainEvents();
  mpv_node args[3];
  args[0].format = MPV_FORMAT_STRING;
  args[0].u.string = const_cast<char*>("seek");
  args[1].format = MPV_FORMAT_DOUBLE;  // a number, never a text: no decimal point to get wrong
  args[1].u.double_ = static_cast<double>(target) / 1000.0;
  args[2].format = MPV_FORMAT_STRING;
  args[2].u.string = const_cast<char*>("absolute+exact");
  mpv_node_list list{3, args, nullptr};
  mpv_node command;
  command.format = MPV_FORMAT_NODE_ARRAY;
  command.u.list = &list;
  if (lib_->command_node(mpv_, &command, nullptr) < 0) return false;
  // Until the seek is done libmpv may still play from the old position. A restart event of
  // the pause may come before that of the seek, so the seek event comes first.
  const Clock::time_point deadline = Clock::now() + kSeekTimeout;
  if (WaitForEvent(MPV_EVENT_SEEK, deadline)) WaitForEvent(MPV_EVENT_PLAYBACK_RESTART, deadline);
  fileEnded_ = false;
  heldMs_ = target;
  state_ = State::Paused;
  return true;
}

bool MpvEngine::SetVolume(int volume) {
  if (volume < 0 || volume > 1000) return false;
  if (mpv_ != nullptr) {
    double level = volume / 10.0;  // libmpv's scale is 0..100
    if (lib_->set_property(mpv_, "volume", MPV_FORMAT_DOUBLE, &level) < 0) return false;
  }
  volume_ = volume;
  return true;
}

QByteArray MpvEngine::DefaultAudioOutputs() {
  QFile cards(QStringLiteral("/proc/asound/cards"));
  const bool hasCard = cards.open(QIODevice::ReadOnly) && !cards.readAll().contains("no soundcards");
  return hasCard ? QByteArrayLiteral("pulse,alsa,null") : QByteArrayLiteral("pulse,null");
}

}  // namespace lyrova
