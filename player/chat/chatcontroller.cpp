#include "player/chat/chatcontroller.h"

#include "common/launcher.h"
#include "common/prompts/prompts.h"
#include "common/settings.h"
#include "player/chat/decorationdialog.h"
#include "player/chat/emoticons.h"
#include "player/core/playersettings.h"

#include <QAction>
#include <QMenu>

namespace lyrova {
namespace {

const QString kTitle = QStringLiteral("Lyrova");

QString Quoted(const QString& text) { return u'"' + text + u'"'; }

// The halls submit with Enter and see a repeated text as a repeat.
bool IsHallKind(ChatKind kind) { return kind == ChatKind::EntertainmentHall || kind == ChatKind::ChatHall; }

}  // namespace

bool ContainsWebAddress(const QString& text) {
  return text.contains(u"www.") || text.contains(u"http://") || text.contains(u"email:");
}

ChatController::ChatController(const Services& services) : services_(services) {
  runDialog = [](DecorationDialog& dialog) { dialog.exec(); };
}

void ChatController::StartChatDiscovery() {
  targets_.clear();
  menuItems_.clear();
  selection_ = SendSelection{};
  sending_ = false;
  lastSentText_.clear();
  dressHome_ = services_.settings->ReadSetting(playerkeys::kDressHome, QString());
  dressEnd_ = services_.settings->ReadSetting(playerkeys::kDressEnd, QString());
  ShowSendState(false);
}

void ChatController::ShowSendState(bool on) {
  if (showSendState) showSendState(on);
}

void ChatController::Inform(const QString& text) {
  services_.prompts->Message(text, kTitle, MessageIcon::Information);
}

void ChatController::StopSending() {
  sending_ = false;
  ShowSendState(false);
}

// --- Discovery and the target menu ---

void ChatController::ScanChatWindows() {
  targets_ = lyrova::ScanChatWindows(services_.windows->Snapshot());
}

std::optional<ChatTarget> ChatController::FindTargetByTitle(const QString& title) {
  if (title.isEmpty()) return std::nullopt;
  ScanChatWindows();
  return lyrova::FindTargetByTitle(targets_, title);
}

QList<TargetMenuItem> ChatController::ShowTargetMenu() {
  ScanChatWindows();
  menuItems_ = TargetMenuItems(targets_, selection_.selectedTitle);
  return menuItems_;
}

void ChatController::ChooseTarget(QMenu* menu) {
  const QList<TargetMenuItem> items = ShowTargetMenu();
  // Item 0 is the menu's own and stays; the items after it are made afresh every time.
  QList<QAction*> actions = menu->actions();
  for (qsizetype i = actions.size() - 1; i >= 1; --i) {
    menu->removeAction(actions[i]);
    delete actions[i];
  }
  QAction* first = actions.isEmpty() ? menu->addAction(QString()) : actions.first();
  QObject::disconnect(first, &QAction::triggered, nullptr, nullptr);
  // Only a target can be chosen, so only targets carry a check box; "未找到任何发送目标" is a
  // plain line. The first item is never a separator: a group boundary needs a target before it.
  const bool choosable = !targets_.isEmpty();
  for (int m = 0; m < items.size(); ++m) {
    if (items[m].separator && m > 0) {
      // A separator with a caption is drawn as a titled section in some styles.
      menu->addSeparator();
      continue;
    }
    QAction* action = m == 0 ? first : menu->addAction(QString());
    // "&" marks a shortcut letter in a menu caption; a title shows it as typed.
    action->setText(QString(items[m].caption).replace(u'&', QStringLiteral("&&")));
    action->setCheckable(choosable);
    action->setChecked(choosable && items[m].checked);
    action->setVisible(true);
    QObject::connect(action, &QAction::triggered, action, [this, m] { SelectTarget(m); });
  }
}

void ChatController::SelectTarget(int itemIndex) {
  if (targets_.isEmpty()) return;
  const std::optional<int> t = TargetIndexForItem(menuItems_, itemIndex, int(targets_.size()));
  if (!t) return;
  const ChatTarget target = targets_[*t];
  if (services_.windows->IsWindow(target.window)) {
    Adopt(target);
  } else {
    Inform(QStringLiteral("发送目标 ") + Quoted(target.chatTitle) + QStringLiteral(" 已关闭"));
    sending_ = false;
    selection_.selectedWindow = 0;
    selection_.selectedTitle.clear();
    selection_.selectedProcessId = 0;
    selection_.selectedEditor = 0;
  }
  ShowSendState(sending_);
}

void ChatController::Adopt(const ChatTarget& target) {
  selection_.selectedWindow = target.window;
  selection_.selectedEditor = target.editor;
  selection_.selectedTitle = target.chatTitle;
  selection_.selectedProcessId = target.processId;
  selection_.selectedKind = target.kind;
  selection_.rememberedTitle = target.chatTitle;
}

void ChatController::TakeFound(const std::optional<ChatTarget>& found) {
  selection_.selectedWindow = found ? found->window : 0;
  selection_.selectedEditor = found ? found->editor : 0;
  selection_.selectedProcessId = found ? found->processId : 0;
}

// --- The switch and the sending step ---

void ChatController::ToggleSending(QWidget* /*owner*/) {
  if (sending_) {
    StopSending();
    return;
  }
  if (!selection_.selectedTitle.isEmpty()) {
    const std::optional<ChatTarget> found = FindTargetByTitle(selection_.selectedTitle);
    TakeFound(found);
    if (found) {
      selection_.rememberedTitle = selection_.selectedTitle;
    } else if (targets_.isEmpty()) {
      Inform(kNoTargetCaption);
      return;
    } else if (targets_.size() == 1) {
      Adopt(targets_.first());
    } else {
      Inform(QStringLiteral("请先选择要发送的目标"));
      return;
    }
    sending_ = true;
    ShowSendState(true);
    return;
  }
  bool on = false;
  if (!selection_.rememberedTitle.isEmpty()) {
    const std::optional<ChatTarget> found = FindTargetByTitle(selection_.rememberedTitle);
    TakeFound(found);
    if (found) {
      on = true;
    } else {
      Inform(QStringLiteral("目标 ") + Quoted(selection_.rememberedTitle) +
             QStringLiteral("已关闭,请重新选择发送目标。"));
      selection_.rememberedTitle.clear();
    }
  } else {
    ScanChatWindows();
    if (targets_.size() == 1) {
      Adopt(targets_.first());
      on = true;
    } else {
      Inform(QStringLiteral("请先选择要发送的目标"));
    }
  }
  sending_ = on;
  ShowSendState(on);
}

bool ChatController::TypingElsewhere(quint32 processId, ChatKind kind) {
  const ForegroundWindow foreground = services_.windows->Foreground();
  if (foreground.processId != processId) return false;
  const int index = int(kind);
  if (index < 0 || index >= kTargetKindCount) return true;
  const QString cls = foreground.className;
  return cls != targetKinds()[size_t(index)].windowClass || cls == kUserInfoClass;
}

void ChatController::SendLyricLine(const LyricLine& line) {
  if (!sending_) return;
  if (!services_.windows->IsWindow(selection_.selectedWindow)) {
    StopSending();
    return;
  }
  if (options_.chatTest && TypingElsewhere(selection_.selectedProcessId, selection_.selectedKind))
    return;
  if (line.text.isEmpty()) return;
  if (options_.skipUrl && ContainsWebAddress(line.text)) return;
  DeliverText(dressHome_ + line.text + dressEnd_, selection_.selectedEditor,
              selection_.selectedKind, options_.sendType);
}

void ChatController::DeliverText(QString text, WindowHandle editor, ChatKind kind, SendMethod method) {
  if (text.isEmpty()) return;
  if (text == lastSentText_ && IsHallKind(kind)) text += u' ';
  lastSentText_ = text;
  WindowSystem& windows = *services_.windows;
  switch (method) {
    case SendMethod::Paste:
      windows.SetClipboardText(text);
      windows.SendPaste(editor);
      break;
    case SendMethod::Keystrokes:
      windows.PostCharacters(editor, text);
      break;
    case SendMethod::SetText:
      windows.SendSetText(editor, text);
      break;
  }
  if (IsHallKind(kind))
    PressEnter(editor);
  else
    PressCtrlEnter(editor);
}

void ChatController::PressEnter(WindowHandle editor) {
  services_.windows->Post(editor, winmsg::kKeyDown, vkey::kReturn, 0x00020002);
}

void ChatController::PressCtrlEnter(WindowHandle editor) {
  WindowSystem& windows = *services_.windows;
  windows.Post(editor, winmsg::kKeyDown, vkey::kControl, 0x401D0001);
  windows.Post(editor, winmsg::kKeyDown, vkey::kReturn, 0x0002C001);
  windows.Post(editor, winmsg::kKeyUp, vkey::kReturn, 0x0C02C001);
  windows.Post(editor, winmsg::kKeyUp, vkey::kControl, 0xC01D0001);
}

bool ChatController::ChatBoxEnter(const QString& text) {
  if (text.isEmpty()) return false;
  WindowSystem& windows = *services_.windows;
  if (!windows.IsWindow(selection_.selectedWindow) && !selection_.rememberedTitle.isEmpty()) {
    const std::optional<ChatTarget> found = FindTargetByTitle(selection_.rememberedTitle);
    TakeFound(found);
    if (!found) {
      Inform(QStringLiteral("目标 ") + Quoted(selection_.rememberedTitle) +
             QStringLiteral("已关闭"));
      sending_ = false;
      ShowSendState(false);
      return false;
    }
  }
  if (windows.IsWindow(selection_.selectedWindow)) {
    DeliverText(text, selection_.selectedEditor, selection_.selectedKind, options_.sendType);
    return true;
  }
  Inform(QStringLiteral("请选择发送目标"));
  return false;
}

// --- Decoration ---

void ChatController::SetDecoration(const QString& home, const QString& end) {
  dressHome_ = home;
  dressEnd_ = end;
  services_.settings->WriteSetting(playerkeys::kDressHome, home);
  services_.settings->WriteSetting(playerkeys::kDressEnd, end);
}

void ChatController::ShowDecorationDialog(QWidget* owner) {
  DecorationDialog dialog(owner, ReadEmoticons(services_.emoticonFile), lastEmoticonIndex_,
                          dressHome_, dressEnd_);
  dialog.editPresets = [this] { StartEmoticonEditor(); };
  runDialog(dialog);
  lastEmoticonIndex_ = dialog.LastEmoticonIndex();
  if (!dialog.Cancelled()) SetDecoration(dialog.ResultHome(), dialog.ResultEnd());
}

void ChatController::StartEmoticonEditor() {
  QString error;
  // The same editor the lyrics are edited with, chosen when it is needed.
  if (!StartChosenTextEditor(*services_.launcher, *services_.settings, services_.emoticonFile,
                             &error))
    services_.prompts->Message(QStringLiteral("无法启动文本编辑器,") + error, kTitle,
                               MessageIcon::Critical);
}

}  // namespace lyrova
