#pragma once

#include "lyrics/lyricsdocument.h"

#include <QString>
#include <QtGlobal>

#include <functional>

class QMenu;
class QWidget;

// The Player's calls into the parts that live outside its window: the link and
// search-directory dialogs and the programs it starts (CompanionHooks), and chat sending
// (ChatHooks). The window calls these at the moments its buttons, menus and playback ask for
// them; a program that lacks one of them leaves the default, which does nothing.
namespace lyrova {

class CompanionHooks {
 public:
  virtual ~CompanionHooks() = default;

  // Start-up found no search-directory list and the user agreed to a scan: true when the
  // Scanner was started (the Player then ends at once).
  virtual bool StartScanner() { return false; }
  // The link dialog for a song and its current lyrics path; returns when it has closed.
  virtual void ShowLinkDialog(QWidget* /*owner*/, const QString& /*song*/,
                              const QString& /*lyrics*/) {}
  // The search-directory dialog.
  virtual void ShowSearchDirDialog(QWidget* /*owner*/) {}
  // Edit the lyrics in the Editor (`withEditor`) or in a plain text editor.
  virtual void EditLyrics(QWidget* /*owner*/, bool /*withEditor*/, const QString& /*song*/,
                          const QString& /*lyrics*/) {}

  // Set by the window: called with the song whenever the Editor was started on it, from the
  // menu or from the link dialog.
  std::function<void(const QString& song)> editorStarted;
};

// How a line is put into the chat window's input control, in the order of the "发送方式"
// menu. The numbers are the ones the settings store.
enum class SendMethod : qint32 {
  Paste = 0,       // "粘贴发送": through the clipboard and the paste message
  Keystrokes = 1,  // "模拟击键": one character message per character
  SetText = 2,     // "快速发送": the control's text replaced in one message
};
inline constexpr int kSendMethodCount = 3;

// The menu choices of the Player that decide how lines are sent. The window keeps them (it
// owns the menus and writes the settings) and hands them over at start and on every change.
struct ChatSendOptions {
  SendMethod sendType = SendMethod::Paste;
  bool skipUrl = false;
  bool chatTest = true;
  friend bool operator==(const ChatSendOptions&, const ChatSendOptions&) = default;
};

class ChatHooks {
 public:
  virtual ~ChatHooks() = default;

  // Start-up, before the settings are read into the window: sending starts off.
  virtual void StartChatDiscovery() {}
  virtual bool Sending() const { return false; }
  // Switches sending off without a word (the end of a song).
  virtual void StopSending() {}
  // Button 5.
  virtual void ToggleSending(QWidget* /*owner*/) {}
  // The target menu is about to show: fill `menu` from a fresh scan; its items select targets.
  virtual void ChooseTarget(QMenu* /*menu*/) {}
  // Button 8.
  virtual void ShowDecorationDialog(QWidget* /*owner*/) {}
  // A lyric line became current during normal playback.
  virtual void SendLyricLine(const LyricLine& /*line*/) {}
  virtual void SetSendOptions(const ChatSendOptions& /*options*/) {}
  // Enter in the chat strip holding `text`; true when the text went out and the strip is to
  // be emptied.
  virtual bool ChatBoxEnter(const QString& /*text*/) { return false; }

  // Set by the window: called with the new state whenever sending is switched on or off, and
  // whenever a command asks for the state to be shown again.
  std::function<void(bool)> showSendState;
};

}  // namespace lyrova
