#include "media/mediacontrol.h"

#include "common/numbertext.h"

#include <algorithm>

namespace lyrova {
namespace {

constexpr QStringView kStatusLength = u"status WAV length";
constexpr QStringView kStatusPosition = u"status WAV position";

// "prefix" followed by the decimal number, built in `buffer` without allocating.
template <qsizetype N>
QStringView WithNumber(char16_t (&buffer)[N], QStringView prefix, qint64 value) {
  qsizetype n = std::min(prefix.size(), N - 24);
  std::copy_n(prefix.utf16(), n, buffer);
  char16_t digits[24];
  qsizetype count = 0;
  const bool negative = value < 0;
  quint64 magnitude = negative ? 0 - static_cast<quint64>(value) : static_cast<quint64>(value);
  do {
    digits[count++] = static_cast<char16_t>(u'0' + magnitude % 10);
    magnitude /= 10;
  } while (magnitude != 0);
  if (negative) buffer[n++] = u'-';
  while (count > 0) buffer[n++] = digits[--count];
  return QStringView(buffer, n);
}

}  // namespace

MediaControl::MediaControl(CommandDevice& device, ClockFormatter formatClock, VolumeControl volume)
    : device_(device), formatClock_(std::move(formatClock)), volumeControl_(volume) {
  mediaLengthText_ = formatClock_ ? formatClock_(0) : QString();
}

QStringView MediaControl::Query(QStringView command, ReplyBuffer& buffer) {
  buffer[0] = u'\0';
  device_.Send(command, buffer, kReplySize);
  const char16_t* end = std::find(buffer, buffer + kReplySize, u'\0');
  if (end == buffer + kReplySize) return {};  // no terminating NUL: the reply is lost
  return QStringView(buffer, end - buffer);
}

QString MediaControl::MciCommand(QStringView command) {
  ReplyBuffer buffer;
  return Query(command, buffer).toString();
}

qint32 MediaControl::GetMediaStatus(bool wantLength) {
  ReplyBuffer buffer;
  const QStringView reply = Query(wantLength ? kStatusLength : kStatusPosition, buffer);
  return RoundClampInt32(LeadingNumber(reply));
}

void MediaControl::OpenMedia(const QString& path) { Open(path, nullptr); }

void MediaControl::OpenMedia(const QString& path, qint32& volume) { Open(path, &volume); }

void MediaControl::Open(const QString& path, qint32* volume) {
  if (isOpen_) return;
  const QString command = QStringLiteral("Open \"") + path + QStringLiteral("\" alias WAV");
  ReplyBuffer buffer;
  const QStringView reply = Query(command, buffer);
  if (LeadingNumber(reply) != 1.0) {
    // Any other number means the device did open, as a second device of the process; it
    // must not stay open unseen under the alias, or every later open would fail.
    if (!reply.isEmpty()) MciCommand(u"Close WAV");
    return;
  }
  MciCommand(u"Set WAV time format ms");
  isPlaying_ = false;
  isOpen_ = true;
  mediaFile_ = path;
  mediaLength_ = GetMediaStatus(true);
  mediaLengthText_ = formatClock_ ? formatClock_(mediaLength_) : QString();
  if (volume != nullptr && HasVolumeControl()) SetVolume(*volume);
}

void MediaControl::PlayMedia() {
  if (!isOpen_) return;
  // A finished file starts again. Inside that rewind the check is not repeated, so a device
  // that cannot leave the end cannot make the two calls recurse without end.
  if (GetMediaStatus(false) == mediaLength_ && !rewinding_) {
    rewinding_ = true;
    SeekMedia(0);
    rewinding_ = false;
  }
  MciCommand(u"Play WAV ");
  isPlaying_ = true;
}

void MediaControl::TogglePause() {
  if (!isOpen_) return;
  MciCommand(isPlaying_ ? QStringView(u"Pause WAV") : QStringView(u"Play WAV"));
  isPlaying_ = !isPlaying_;
}

void MediaControl::CloseMedia() {
  MciCommand(u"Close WAV");
  mediaLength_ = 0;
  mediaLengthText_ = formatClock_ ? formatClock_(0) : QString();
  isPlaying_ = false;
  isOpen_ = false;
}

qint32 MediaControl::SeekMedia(qint32 positionMs) {
  const qint32 length = GetMediaStatus(true);
  qint32 target = positionMs;
  if (positionMs < 0) {
    MciCommand(u"Seek WAV to end");
  } else {
    target = std::min(positionMs, length);
    // The number goes in with a blank where a plus sign would be: two blanks after "to".
    char16_t command[64];
    MciCommand(WithNumber(command, u"Seek WAV to  ", target));
  }
  const qint32 result = GetMediaStatus(false);
  // The device stops on a seek; playback goes on unless the seek went to exactly the end.
  if (isPlaying_ && length != target) PlayMedia();
  return result;
}

bool MediaControl::SetVolume(qint32& volume) {
  if (!isOpen_ || !HasVolumeControl()) return false;
  volume = std::clamp(volume, 0, 1000);
  char16_t command[64];
  return device_.Send(WithNumber(command, u"setaudio WAV volume to ", volume), nullptr, 0) ==
         DeviceStatus::Ok;
}

}  // namespace lyrova
