#pragma once

#include "media/commanddevice.h"

#include <QString>
#include <QStringView>
#include <QtGlobal>

#include <functional>

namespace lyrova {

// The one media device of a program, under the alias "WAV": the Player and the Editor play
// their song through it with fixed command strings and read its state from here. The
// Player's copy controls the volume; the Editor's has none. Each program formats the length
// with its own clock (the Player lyrova::FormatClock, the Editor lyrova::FormatEditorClock).
//
// No operation reports errors: a failed command leaves an empty reply, which reads as 0 for
// a status and as failure for an open; callers test IsOpen() after OpenMedia. Called from the
// user-interface thread only.
class MediaControl {
 public:
  using ClockFormatter = std::function<QString(qint32 ms)>;
  enum class VolumeControl { Present, Absent };

  // The device must outlive this object.
  MediaControl(CommandDevice& device, ClockFormatter formatClock,
               VolumeControl volume = VolumeControl::Present);

  bool IsOpen() const { return isOpen_; }
  bool IsPlaying() const { return isPlaying_; }
  qint32 MediaLength() const { return mediaLength_; }
  const QString& MediaLengthText() const { return mediaLengthText_; }
  const QString& MediaFile() const { return mediaFile_; }
  bool HasVolumeControl() const { return volumeControl_ == VolumeControl::Present; }

  // Sends one command with a reply buffer of 255 characters; the reply up to its NUL, ""
  // when it filled the buffer without one. The status of the command is not looked at.
  QString MciCommand(QStringView command);

  // Opens the file stopped at 0 unless a file is open already. Success means the device
  // answered the open with the number 1. The second form also applies the volume (clamped
  // in the caller's variable) where this copy has volume control.
  void OpenMedia(const QString& path);
  void OpenMedia(const QString& path, qint32& volume);

  // Plays from the current position; a file standing at its end starts again from 0.
  void PlayMedia();
  // Pauses a playing file, resumes a paused or stopped one.
  void TogglePause();
  // Closes the device (the command is sent even when nothing is open) and resets the state.
  void CloseMedia();
  // Seeks to the position (clamped to the length) or, for a negative one, to the end, and
  // keeps playing when it was playing; returns the position the device reports after the seek.
  qint32 SeekMedia(qint32 positionMs);
  // The length or the current position in milliseconds; 0 when the device has no answer.
  qint32 GetMediaStatus(bool wantLength);
  // Clamps the caller's volume to 0..1000 and applies it; false when nothing is open, the
  // copy has no volume control, or the device refused.
  bool SetVolume(qint32& volume);

 private:
  static constexpr qsizetype kReplySize = 255;
  using ReplyBuffer = char16_t[kReplySize];

  QStringView Query(QStringView command, ReplyBuffer& buffer);
  void Open(const QString& path, qint32* volume);

  CommandDevice& device_;
  ClockFormatter formatClock_;
  VolumeControl volumeControl_;
  bool isOpen_ = false;
  bool isPlaying_ = false;
  qint32 mediaLength_ = 0;
  QString mediaLengthText_;
  QString mediaFile_;
  bool rewinding_ = false;  // PlayMedia is inside its own rewind to 0
};

}  // namespace lyrova
