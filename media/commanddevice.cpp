#include "media/commanddevice.h"

#include <QLatin1StringView>

#include <algorithm>
#include <optional>

namespace lyrova {
namespace {

bool IsBlank(QChar c) { return c == u' ' || c == u'\t'; }

bool Is(QStringView word, const char* keyword) {
  return word.compare(QLatin1StringView(keyword), Qt::CaseInsensitive) == 0;
}

// A whole decimal number of at most 18 digits (no sign, as in millisecond commands).
std::optional<qint64> ParseCount(QStringView word) {
  if (word.isEmpty() || word.size() > 18) return std::nullopt;
  qint64 value = 0;
  for (const QChar c : word) {
    if (c < u'0' || c > u'9') return std::nullopt;
    value = value * 10 + (c.unicode() - u'0');
  }
  return value;
}

enum class Verb { None, Open, Close, Set, Play, Pause, Seek, Status, SetAudio };

Verb VerbOf(QStringView word) {
  // The position query comes ten times a second and more, so it is tried first.
  if (Is(word, "status")) return Verb::Status;
  if (Is(word, "play")) return Verb::Play;
  if (Is(word, "pause")) return Verb::Pause;
  if (Is(word, "seek")) return Verb::Seek;
  if (Is(word, "open")) return Verb::Open;
  if (Is(word, "close")) return Verb::Close;
  if (Is(word, "set")) return Verb::Set;
  if (Is(word, "setaudio")) return Verb::SetAudio;
  return Verb::None;
}

QStringView ModeText(AudioEngine::State state, bool pausedByCommand) {
  switch (state) {
    case AudioEngine::State::Playing: return u"playing";
    case AudioEngine::State::Paused: return pausedByCommand ? u"paused" : u"stopped";
    case AudioEngine::State::Ended: return u"stopped";
    case AudioEngine::State::Empty: break;
  }
  return u"not ready";
}

}  // namespace

// The words of one command, read left to right without copying.
class CommandDevice::Words {
 public:
  explicit Words(QStringView text) : text_(text) {}

  QStringView Next() {
    SkipBlanks();
    const qsizetype start = pos_;
    while (pos_ < text_.size() && !IsBlank(text_[pos_])) ++pos_;
    return text_.mid(start, pos_ - start);
  }
  bool AtEnd() {
    SkipBlanks();
    return pos_ >= text_.size();
  }
  // The quoted text from here to the last double quote of the command, without the quotes;
  // nullopt when the next word does not start with a quote or the quote is not closed.
  std::optional<QStringView> Quoted() {
    SkipBlanks();
    if (pos_ >= text_.size() || text_[pos_] != u'"') return std::nullopt;
    const qsizetype close = text_.lastIndexOf(u'"');
    if (close <= pos_) return std::nullopt;
    const QStringView inside = text_.mid(pos_ + 1, close - pos_ - 1);
    pos_ = close + 1;
    return inside;
  }

 private:
  void SkipBlanks() {
    while (pos_ < text_.size() && IsBlank(text_[pos_])) ++pos_;
  }

  QStringView text_;
  qsizetype pos_ = 0;
};

// The caller's reply buffer. Every command writes its reply exactly once; errors write "".
class CommandDevice::Reply {
 public:
  Reply(char16_t* buffer, qsizetype size) : buffer_(buffer), size_(buffer ? size : 0) {}

  DeviceStatus Text(QStringView text) {
    if (size_ <= 0) return DeviceStatus::Ok;
    const qsizetype n = std::min(text.size(), size_);
    std::copy_n(text.utf16(), n, buffer_);
    if (n < size_) {
      buffer_[n] = u'\0';
      return DeviceStatus::Ok;
    }
    return DeviceStatus::ReplyTooLong;
  }
  DeviceStatus Number(qint64 value) {
    char16_t digits[24];
    qsizetype n = 0;
    const bool negative = value < 0;
    quint64 magnitude = negative ? 0 - static_cast<quint64>(value) : static_cast<quint64>(value);
    do {
      digits[sizeof digits / sizeof *digits - 1 - n++] = static_cast<char16_t>(u'0' + magnitude % 10);
      magnitude /= 10;
    } while (magnitude != 0);
    if (negative) digits[sizeof digits / sizeof *digits - 1 - n++] = u'-';
    return Text(QStringView(digits + (sizeof digits / sizeof *digits - n), n));
  }
  void Clear() {
    if (size_ > 0) buffer_[0] = u'\0';
  }

 private:
  char16_t* buffer_;
  qsizetype size_;
};

CommandDevice::CommandDevice(EngineFactory makeEngine) : makeEngine_(std::move(makeEngine)) {}

CommandDevice::~CommandDevice() {
  for (Device& device : devices_) device.engine->Unload();
}

AudioEngine* CommandDevice::EngineOf(QStringView alias) const {
  for (const Device& device : devices_)
    if (alias.compare(device.alias, Qt::CaseInsensitive) == 0) return device.engine.get();
  return nullptr;
}

CommandDevice::Device* CommandDevice::Find(QStringView alias) {
  for (Device& device : devices_)
    if (alias.compare(device.alias, Qt::CaseInsensitive) == 0) return &device;
  return nullptr;
}

int CommandDevice::FreeNumber() const {
  int number = 1;
  while (std::any_of(devices_.begin(), devices_.end(),
                     [number](const Device& d) { return d.number == number; }))
    ++number;
  return number;
}

DeviceStatus CommandDevice::Send(QStringView command, char16_t* replyBuffer, qsizetype replySize) {
  if (log_) log_(command);
  Reply reply(replyBuffer, replySize);
  reply.Clear();
  Words words(command);
  const Verb verb = VerbOf(words.Next());
  switch (verb) {
    case Verb::None: return DeviceStatus::UnknownCommand;
    case Verb::Open: return Open(words, reply);
    case Verb::Close: return Close(words);
    case Verb::Set: return SetTimeFormat(words);
    default: break;
  }
  const QStringView alias = words.Next();
  if (alias.isEmpty()) return DeviceStatus::MissingParameter;
  Device* device = Find(alias);
  if (device == nullptr) return DeviceStatus::UnknownDevice;
  switch (verb) {
    case Verb::Status: return Status(*device, words, reply);
    case Verb::Seek: return Seek(*device, words);
    case Verb::SetAudio: return SetAudio(*device, words);
    default: break;
  }
  if (!words.AtEnd()) return DeviceStatus::UnknownParameter;
  const bool play = verb == Verb::Play;
  if (!(play ? device->engine->Play() : device->engine->Pause())) return DeviceStatus::EngineFailed;
  device->pausedByCommand = !play;
  return DeviceStatus::Ok;
}

DeviceStatus CommandDevice::Open(Words& words, Reply& reply) {
  QStringView path;
  if (const std::optional<QStringView> quoted = words.Quoted())
    path = *quoted;
  else
    path = words.Next();
  if (path.isEmpty()) return DeviceStatus::MissingParameter;
  if (path.startsWith(u'"')) return DeviceStatus::UnknownParameter;  // a quote never closed

  QStringView alias;
  while (!words.AtEnd()) {
    const QStringView word = words.Next();
    if (!Is(word, "alias") || !alias.isEmpty()) return DeviceStatus::UnknownParameter;
    alias = words.Next();
    if (alias.isEmpty()) return DeviceStatus::MissingParameter;
  }
  // Every device is addressed by its alias, so an open without one could never be used.
  if (alias.isEmpty()) return DeviceStatus::MissingParameter;
  if (Is(alias, "all")) return DeviceStatus::UnknownParameter;
  if (Find(alias) != nullptr) return DeviceStatus::AliasInUse;

  std::unique_ptr<AudioEngine> engine = makeEngine_ ? makeEngine_() : nullptr;
  if (!engine) {
    lastOpenError_ = QStringLiteral("no audio engine");
    return DeviceStatus::CannotOpen;
  }
  QString whyNot;
  if (!engine->Load(path.toString(), &whyNot)) {
    lastOpenError_ = whyNot.isEmpty() ? QStringLiteral("the file did not load") : whyNot;
    return DeviceStatus::CannotOpen;
  }
  lastOpenError_.clear();
  Device device;
  device.number = FreeNumber();
  device.alias = alias.toString();
  device.engine = std::move(engine);
  const int number = device.number;
  devices_.push_back(std::move(device));
  return reply.Number(number);
}

DeviceStatus CommandDevice::Close(Words& words) {
  const QStringView alias = words.Next();
  if (alias.isEmpty()) return DeviceStatus::MissingParameter;
  if (!words.AtEnd()) return DeviceStatus::UnknownParameter;
  if (Is(alias, "all")) {
    for (Device& device : devices_) device.engine->Unload();
    devices_.clear();
    return DeviceStatus::Ok;
  }
  const auto it = std::find_if(devices_.begin(), devices_.end(), [alias](const Device& d) {
    return alias.compare(d.alias, Qt::CaseInsensitive) == 0;
  });
  if (it == devices_.end()) return DeviceStatus::UnknownDevice;
  it->engine->Unload();
  devices_.erase(it);
  return DeviceStatus::Ok;
}

DeviceStatus CommandDevice::Seek(Device& device, Words& words) {
  if (!Is(words.Next(), "to")) return DeviceStatus::MissingParameter;
  const QStringView where = words.Next();
  if (where.isEmpty()) return DeviceStatus::MissingParameter;
  if (!words.AtEnd()) return DeviceStatus::UnknownParameter;
  AudioEngine& engine = *device.engine;
  qint64 target = 0;
  if (Is(where, "end")) {
    target = engine.LengthMs();
  } else if (!Is(where, "start")) {
    const std::optional<qint64> ms = ParseCount(where);
    if (!ms) return DeviceStatus::BadNumber;
    if (*ms > engine.LengthMs()) return DeviceStatus::OutOfRange;
    target = *ms;
  }
  if (!engine.Seek(target)) return DeviceStatus::EngineFailed;
  device.pausedByCommand = false;
  return DeviceStatus::Ok;
}

DeviceStatus CommandDevice::SetTimeFormat(Words& words) {
  const QStringView alias = words.Next();
  if (alias.isEmpty()) return DeviceStatus::MissingParameter;
  if (Find(alias) == nullptr) return DeviceStatus::UnknownDevice;
  if (!Is(words.Next(), "time") || !Is(words.Next(), "format")) return DeviceStatus::UnknownParameter;
  const QStringView format = words.Next();
  if (format.isEmpty()) return DeviceStatus::MissingParameter;
  // Milliseconds are the only time format the device speaks.
  if (!Is(format, "ms") && !Is(format, "milliseconds")) return DeviceStatus::OutOfRange;
  if (!words.AtEnd()) return DeviceStatus::UnknownParameter;
  return DeviceStatus::Ok;
}

DeviceStatus CommandDevice::Status(Device& device, Words& words, Reply& reply) {
  const QStringView item = words.Next();
  if (item.isEmpty()) return DeviceStatus::MissingParameter;
  AudioEngine& engine = *device.engine;
  if (Is(item, "position")) {
    if (!words.AtEnd()) return DeviceStatus::UnknownParameter;
    return reply.Number(engine.PositionMs());
  }
  if (Is(item, "length")) {
    if (!words.AtEnd()) return DeviceStatus::UnknownParameter;
    return reply.Number(engine.LengthMs());
  }
  if (Is(item, "volume")) {
    if (!words.AtEnd()) return DeviceStatus::UnknownParameter;
    return reply.Number(engine.Volume());
  }
  if (Is(item, "mode")) {
    if (!words.AtEnd()) return DeviceStatus::UnknownParameter;
    return reply.Text(ModeText(engine.CurrentState(), device.pausedByCommand));
  }
  if (Is(item, "time")) {
    if (!Is(words.Next(), "format") || !words.AtEnd()) return DeviceStatus::UnknownParameter;
    return reply.Text(u"milliseconds");
  }
  return DeviceStatus::UnknownParameter;
}

DeviceStatus CommandDevice::SetAudio(Device& device, Words& words) {
  if (!Is(words.Next(), "volume") || !Is(words.Next(), "to")) return DeviceStatus::UnknownParameter;
  const QStringView number = words.Next();
  if (number.isEmpty()) return DeviceStatus::MissingParameter;
  if (!words.AtEnd()) return DeviceStatus::UnknownParameter;
  const std::optional<qint64> volume = ParseCount(number);
  if (!volume) return DeviceStatus::BadNumber;
  if (*volume > 1000) return DeviceStatus::OutOfRange;
  return device.engine->SetVolume(static_cast<int>(*volume)) ? DeviceStatus::Ok
                                                              : DeviceStatus::EngineFailed;
}

}  // namespace lyrova
