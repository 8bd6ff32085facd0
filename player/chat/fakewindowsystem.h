#pragma once

#include "player/chat/windowsystem.h"

#include <QHash>
#include <QList>
#include <QStringList>

// An in-memory window system for tests: windows are added and closed by the test, every
// message is recorded in order, and each input control keeps the text the messages would
// leave in it, so a test can read what the client would have received.
namespace lyrova {

class FakeWindowSystem : public WindowSystem {
 public:
  enum class Call { Posted, Sent };

  struct Message {
    Call call = Call::Posted;
    WindowHandle window = 0;
    quint32 message = 0;
    quint32 wParam = 0;
    quint32 lParam = 0;
    QByteArray bytes;  // set-text only: the bytes handed over, NUL included
    friend bool operator==(const Message&, const Message&) = default;
  };

  // Adds a window below its existing siblings in Z order (a top-level one when `parent` is
  // 0). Children inherit the owner process of their parent. Returns its handle.
  WindowHandle AddWindow(const QString& className, const QString& title, quint32 processId = 0,
                         WindowHandle parent = 0);
  // Closes a window and everything inside it; its handle is never handed out again.
  void CloseWindow(WindowHandle window);
  void SetTitle(WindowHandle window, const QString& title);
  void SetForeground(WindowHandle window, quint32 processId, const QString& className);
  // Types into an input control as the user would (not recorded as a message).
  void TypeText(WindowHandle editor, const QString& text);

  const QList<Message>& Messages() const { return messages_; }
  void ClearMessages() { messages_.clear(); }
  QString Clipboard() const { return clipboard_; }
  int ClipboardWrites() const { return clipboardWrites_; }
  int SnapshotCount() const { return snapshots_; }
  // What Enter submitted from an input control so far.
  QStringList Submitted(WindowHandle editor) const { return submitted_.value(editor); }

  WindowSnapshot Snapshot() override;
  bool IsWindow(WindowHandle window) override { return windows_.contains(window); }
  ForegroundWindow Foreground() override { return foreground_; }
  void Post(WindowHandle window, quint32 message, quint32 wParam, quint32 lParam) override;
  void PostCharacters(WindowHandle window, const QString& text) override;
  void SendSetText(WindowHandle window, const QString& text) override;
  void SendPaste(WindowHandle window) override;
  void SetClipboardText(const QString& text) override;

 private:
  struct Window {
    WindowHandle parent = 0;
    QString className;
    QString title;
    quint32 processId = 0;
    QList<WindowHandle> children;
    QByteArray text;  // ANSI bytes, as a control of the client would hold them
  };

  WindowNode NodeOf(WindowHandle handle) const;

  QHash<WindowHandle, Window> windows_;
  QList<WindowHandle> topLevel_;
  WindowHandle nextHandle_ = 0x10010;
  ForegroundWindow foreground_;
  QList<Message> messages_;
  QHash<WindowHandle, QStringList> submitted_;
  QString clipboard_;
  int clipboardWrites_ = 0;
  int snapshots_ = 0;
};

}  // namespace lyrova
