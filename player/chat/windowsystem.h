#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QtGlobal>

#include <vector>

// The window queries and messages that chat sending needs of the outside chat client. The chat
// logic reads one snapshot of the whole window tree per scan and sends its messages through
// this interface; a backend stands between it and the client's real windows. The message
// numbers, keys and parameters below are the client's window-message values and must reach it
// unchanged.
namespace lyrova {

// A window of the client's window system: a 32-bit handle, 0 for none.
using WindowHandle = quint32;

namespace winmsg {
inline constexpr quint32 kSetText = 0x000C;        // replace a control's text
inline constexpr quint32 kGetText = 0x000D;        // read a window's text (backends only)
inline constexpr quint32 kGetTextLength = 0x000E;  // length of a window's text (backends only)
inline constexpr quint32 kKeyDown = 0x0100;
inline constexpr quint32 kKeyUp = 0x0101;
inline constexpr quint32 kChar = 0x0102;
inline constexpr quint32 kPaste = 0x0302;
}  // namespace winmsg

namespace vkey {
inline constexpr quint32 kReturn = 0x0D;
inline constexpr quint32 kControl = 0x11;
}  // namespace vkey

// One window of the snapshot with its children, topmost child first.
struct WindowNode {
  WindowHandle handle = 0;
  QString className;  // as the window system reported it; may hold a NUL and what follows
  QString title;      // decoded from the client's code page by the backend
  quint32 processId = 0;
  std::vector<WindowNode> children;
};

// The desktop's top-level windows in Z order, topmost first, each with its whole subtree.
struct WindowSnapshot {
  std::vector<WindowNode> topLevel;
};

// The window that has the keyboard, its owner process and its class name.
struct ForegroundWindow {
  WindowHandle handle = 0;
  quint32 processId = 0;
  QString className;
};

// Delivery calls return nothing on purpose: the client gives no answer worth acting on, and a
// window that vanished meanwhile simply ignores the message. Text handed to PostCharacters and
// SendSetText is converted by the backend to the client's ANSI code page, so a backend running
// beside the client uses the client's own code page.
class WindowSystem {
 public:
  virtual ~WindowSystem() = default;

  // The whole window tree in one query.
  virtual WindowSnapshot Snapshot() = 0;
  // Whether `window` is still a live window.
  virtual bool IsWindow(WindowHandle window) = 0;
  virtual ForegroundWindow Foreground() = 0;

  // Queues one message to the thread of `window` (key messages).
  virtual void Post(WindowHandle window, quint32 message, quint32 wParam, quint32 lParam) = 0;
  // Queues one character message (kChar, byte, 0) for every byte of `text` in the ANSI code
  // page, in order, leaving out the bytes 13 and 10.
  virtual void PostCharacters(WindowHandle window, const QString& text) = 0;
  // Sends kSetText with wParam 0 and the NUL-terminated ANSI bytes of `text`; returns when the
  // client has handled it.
  virtual void SendSetText(WindowHandle window, const QString& text) = 0;
  // Sends kPaste with both parameters 0; returns when the client has handled it.
  virtual void SendPaste(WindowHandle window) = 0;
  // Empties the clipboard and puts `text` on it as plain text.
  virtual void SetClipboardText(const QString& text) = 0;
};

// The bytes of `text` in the ANSI code page of this side (see common/textcodec.h), as the
// character and set-text deliveries of a local backend send them.
QByteArray LocalAnsiBytes(const QString& text);

// The character-message bytes of `ansi`: every byte except 13 and 10, in order.
QByteArray CharacterMessageBytes(const QByteArray& ansi);

// A window system without any windows: where no backend reaches a chat client, scans find
// nothing, every handle is dead and messages go nowhere.
class NoWindowSystem : public WindowSystem {
 public:
  WindowSnapshot Snapshot() override { return {}; }
  bool IsWindow(WindowHandle) override { return false; }
  ForegroundWindow Foreground() override { return {}; }
  void Post(WindowHandle, quint32, quint32, quint32) override {}
  void PostCharacters(WindowHandle, const QString&) override {}
  void SendSetText(WindowHandle, const QString&) override {}
  void SendPaste(WindowHandle) override {}
  void SetClipboardText(const QString&) override {}
};

}  // namespace lyrova
