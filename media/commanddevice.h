#pragma once

#include "media/audioengine.h"

#include <QString>
#include <QStringView>

#include <functional>
#include <memory>
#include <vector>

namespace lyrova {

// Result of one device command. 0 is success; every other value is an error, and a command
// that fails changes nothing.
enum class DeviceStatus : quint32 {
  Ok = 0,
  UnknownCommand,    // the first word names no command of the device
  UnknownDevice,     // no open device goes by that alias
  MissingParameter,  // the command stops before a word it needs
  UnknownParameter,  // a word the command does not take
  BadNumber,         // a number that is not a whole decimal number
  OutOfRange,        // a seek past the end, a volume outside 0..1000
  AliasInUse,        // open under an alias that an open device already has
  CannotOpen,        // the file did not load; LastOpenError() says why
  EngineFailed,      // the engine refused the command
  ReplyTooLong,      // the reply did not fit the caller's buffer (the command took effect)
};

// The command-string media device of the programs: it takes the textual commands of the
// media wrapper, drives one AudioEngine per open device and answers in text, numbers as
// plain decimal, times in milliseconds. Command words and aliases are matched without regard
// to letter case; words are separated by blanks.
//
//   open "<path>" alias <name>        reply: the device number, the lowest one not in use
//   close <name> | close all
//   play <name>                       from the current position; resumes a paused device
//   pause <name>
//   seek <name> to <ms> | to start | to end     stops playback
//   set <name> time format ms | milliseconds
//   status <name> length | position | mode | volume | time format
//   setaudio <name> volume to <0..1000>
//
// The path of an open runs from the first to the last double quote of the command, so a
// path may hold blanks and quotes of its own; an unquoted path is one word.
// Errors reply with an empty text. Not thread-safe: one device per user-interface thread.
class CommandDevice {
 public:
  using EngineFactory = std::function<std::unique_ptr<AudioEngine>()>;
  using CommandLog = std::function<void(QStringView command)>;

  explicit CommandDevice(EngineFactory makeEngine);
  CommandDevice(const CommandDevice&) = delete;
  CommandDevice& operator=(const CommandDevice&) = delete;
  ~CommandDevice();

  // Carries out one command. The reply goes into `reply` (room for `replySize` characters,
  // the terminating NUL included) unless it is null; a reply that does not fit fills the
  // buffer without a NUL and the status is ReplyTooLong.
  DeviceStatus Send(QStringView command, char16_t* reply, qsizetype replySize);

  // Called with every command before it is carried out; an empty function logs nothing.
  void SetCommandLog(CommandLog log) { log_ = std::move(log); }

  int OpenCount() const { return static_cast<int>(devices_.size()); }
  // Why the last failed open failed; "" after an open that succeeded.
  QString LastOpenError() const { return lastOpenError_; }
  // The engine of the device under `alias`, or null.
  AudioEngine* EngineOf(QStringView alias) const;

 private:
  struct Device {
    int number = 0;
    QString alias;
    std::unique_ptr<AudioEngine> engine;
    bool pausedByCommand = false;  // "paused" rather than "stopped" while it stands still
  };
  class Reply;
  class Words;

  Device* Find(QStringView alias);
  DeviceStatus Open(Words& words, Reply& reply);
  DeviceStatus Close(Words& words);
  DeviceStatus Seek(Device& device, Words& words);
  DeviceStatus SetTimeFormat(Words& words);
  DeviceStatus Status(Device& device, Words& words, Reply& reply);
  DeviceStatus SetAudio(Device& device, Words& words);
  int FreeNumber() const;

  EngineFactory makeEngine_;
  CommandLog log_;
  std::vector<Device> devices_;
  QString lastOpenError_;
};

}  // namespace lyrova
