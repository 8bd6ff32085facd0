#pragma once

#include "player/chat/chattargets.h"
#include "player/chat/windowsystem.h"
#include "player/core/playerhooks.h"

#include <QList>
#include <QString>

#include <functional>

namespace lyrova {

class DecorationDialog;
class Launcher;
class Prompts;
class SettingsStore;

// Chat sending for the Player: the target list and the chosen target, the sending switch, the
// per-line sending step with its filters, the three deliveries with their submit keys, the
// chat strip and the decoration put around each lyric line. It owns only plain values; window
// handles are borrowed from the window system and tested for life before every use.
class ChatController : public ChatHooks {
 public:
  struct Services {
    WindowSystem* windows = nullptr;
    Prompts* prompts = nullptr;
    const SettingsStore* settings = nullptr;  // the Player's store: "DressHome", "DressEnd"
    Launcher* launcher = nullptr;
    QString emoticonFile;  // full path of "emotions.ini"
  };

  // Every pointer must outlive the controller.
  explicit ChatController(const Services& services);

  // ChatHooks.
  void StartChatDiscovery() override;
  bool Sending() const override { return sending_; }
  void StopSending() override;
  void ToggleSending(QWidget* owner) override;
  void ChooseTarget(QMenu* menu) override;
  void ShowDecorationDialog(QWidget* owner) override;
  void SendLyricLine(const LyricLine& line) override;
  void SetSendOptions(const ChatSendOptions& options) override { options_ = options; }
  bool ChatBoxEnter(const QString& text) override;

  // Rebuilds the target list from one snapshot of the window tree.
  void ScanChatWindows();
  // Rescans and returns the first target titled `title`; none for an empty title (no scan).
  std::optional<ChatTarget> FindTargetByTitle(const QString& title);
  // Rescans and returns the items of the target menu; SelectTarget refers to them.
  QList<TargetMenuItem> ShowTargetMenu();
  // The user clicked item `itemIndex` of the menu last built.
  void SelectTarget(int itemIndex);

  // Puts `text` into `editor` by `method` and submits it with the key of `kind`.
  void DeliverText(QString text, WindowHandle editor, ChatKind kind, SendMethod method);
  void PressEnter(WindowHandle editor);
  void PressCtrlEnter(WindowHandle editor);
  // Whether the user works in a window of the target's client other than one of the
  // target's own class (a user-information window always counts).
  bool TypingElsewhere(quint32 processId, ChatKind kind);

  // The decoration: put before and after every lyric line sent.
  QString DressHome() const { return dressHome_; }
  QString DressEnd() const { return dressEnd_; }
  // A confirmed decoration: kept and written to the settings at once.
  void SetDecoration(const QString& home, const QString& end);

  const QList<ChatTarget>& Targets() const { return targets_; }
  const SendSelection& Selection() const { return selection_; }
  ChatSendOptions Options() const { return options_; }
  QString LastSentText() const { return lastSentText_; }
  int LastEmoticonIndex() const { return lastEmoticonIndex_; }

  // Runs the decoration dialog; tests replace it to act on the dialog instead of showing it.
  std::function<void(DecorationDialog&)> runDialog;

 private:
  void ShowSendState(bool on);
  void Inform(const QString& text);
  void Adopt(const ChatTarget& target);
  // Writes what a title search found (zeros when nothing) into the selection's handles.
  void TakeFound(const std::optional<ChatTarget>& found);
  void StartEmoticonEditor();

  Services services_;
  QList<ChatTarget> targets_;
  QList<TargetMenuItem> menuItems_;
  SendSelection selection_;
  bool sending_ = false;
  ChatSendOptions options_;
  QString dressHome_;
  QString dressEnd_;
  QString lastSentText_;
  int lastEmoticonIndex_ = 0;
};

// Whether `text` holds a web address as the filter sees one: "www.", "http://" or "email:",
// in exactly these letters.
bool ContainsWebAddress(const QString& text);

}  // namespace lyrova
