#include "player/chat/fakewindowsystem.h"

#include "common/textcodec.h"

namespace lyrova {

WindowHandle FakeWindowSystem::AddWindow(const QString& className, const QString& title,
                                         quint32 processId, WindowHandle parent) {
  const WindowHandle handle = nextHandle_;
  nextHandle_ += 4;
  Window window;
  window.parent = parent;
  window.className = className;
  window.title = title;
  window.processId = processId;
  if (parent != 0 && windows_.contains(parent)) {
    window.processId = windows_[parent].processId;
    windows_[parent].children.append(handle);
  } else {
    window.parent = 0;
    topLevel_.append(handle);
  }
  windows_.insert(handle, window);
  return handle;
}

void FakeWindowSystem::CloseWindow(WindowHandle window) {
  if (!windows_.contains(window)) return;
  const Window closing = windows_.take(window);
  for (const WindowHandle child : closing.children) CloseWindow(child);
  if (closing.parent != 0 && windows_.contains(closing.parent))
    windows_[closing.parent].children.removeAll(window);
  topLevel_.removeAll(window);
}

void FakeWindowSystem::SetTitle(WindowHandle window, const QString& title) {
  if (windows_.contains(window)) windows_[window].title = title;
}

void FakeWindowSystem::SetForeground(WindowHandle window, quint32 processId,
                                     const QString& className) {
  foreground_ = ForegroundWindow{window, processId, className};
}

void FakeWindowSystem::TypeText(WindowHandle editor, const QString& text) {
  if (windows_.contains(editor)) windows_[editor].text += LocalAnsiBytes(text);
}

WindowNode FakeWindowSystem::NodeOf(WindowHandle handle) const {
  const Window& window = windows_[handle];
  WindowNode node;
  node.handle = handle;
  node.className = window.className;
  node.title = window.title;
  node.processId = window.processId;
  for (const WindowHandle child : window.children) node.children.push_back(NodeOf(child));
  return node;
}

WindowSnapshot FakeWindowSystem::Snapshot() {
  ++snapshots_;
  WindowSnapshot snapshot;
  for (const WindowHandle handle : topLevel_) snapshot.topLevel.push_back(NodeOf(handle));
  return snapshot;
}

void FakeWindowSystem::Post(WindowHandle window, quint32 message, quint32 wParam,
                            quint32 lParam) {
  messages_.append(Message{Call::Posted, window, message, wParam, lParam, {}});
  if (!windows_.contains(window)) return;
  Window& target = windows_[window];
  if (message == winmsg::kChar) {
    target.text.append(char(wParam & 0xFF));
  } else if (message == winmsg::kKeyDown && wParam == vkey::kReturn) {
    submitted_[window].append(TextDecoder(TextEncoding::Ansi).Decode(target.text));
    target.text.clear();
  }
}

void FakeWindowSystem::PostCharacters(WindowHandle window, const QString& text) {
  for (const char byte : CharacterMessageBytes(LocalAnsiBytes(text)))
    Post(window, winmsg::kChar, quint32(quint8(byte)), 0);
}

void FakeWindowSystem::SendSetText(WindowHandle window, const QString& text) {
  QByteArray bytes = LocalAnsiBytes(text);
  bytes.append('\0');
  messages_.append(Message{Call::Sent, window, winmsg::kSetText, 0, 0, bytes});
  if (windows_.contains(window)) windows_[window].text = bytes.left(bytes.indexOf('\0'));
}

void FakeWindowSystem::SendPaste(WindowHandle window) {
  messages_.append(Message{Call::Sent, window, winmsg::kPaste, 0, 0, {}});
  if (windows_.contains(window)) windows_[window].text += LocalAnsiBytes(clipboard_);
}

void FakeWindowSystem::SetClipboardText(const QString& text) {
  clipboard_ = text;
  ++clipboardWrites_;
}

}  // namespace lyrova
