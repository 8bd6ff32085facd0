#pragma once

#include "lyrics/lyricsdocument.h"

#include <QString>

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
};

class ChatHooks {
 public:
  virtual ~ChatHooks() = default;

  virtual void StartChatDiscovery() {}
  virtual bool Sending() const { return false; }
  virtual void StopSending() {}
  virtual void ToggleSending(QWidget* /*owner*/) {}
  virtual void ChooseTarget(QWidget* /*owner*/) {}
  virtual void ShowDecorationDialog(QWidget* /*owner*/) {}
  // A lyric line became current during normal playback.
  virtual void SendLyricLine(const LyricLine& /*line*/) {}
};

}  // namespace lyrova
