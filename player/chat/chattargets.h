#pragma once

#include "player/chat/windowsystem.h"

#include <QList>
#include <QString>

#include <array>
#include <optional>

// Finding the client's chat windows in a snapshot of the window tree, the ordered target list
// and the target menu built from it. Everything here is plain logic over values; handles are
// only borrowed and may be dead by the time they are used.
namespace lyrova {

// One kind of chat window the client opens. A title is tested only when `prefixStart` is 1 or
// more: the `prefixLength` characters from that 1-based position must equal `titlePrefix`.
struct TargetKind {
  QString titlePrefix;
  qint32 prefixStart = -1;
  qint32 prefixLength = 0;
  QString windowClass;
};

// The kinds of chat window, in the order targets are listed; the value indexes targetKinds().
// The two halls submit with Enter and get a blank added to a repeated text; the text chat and
// the community window submit with Ctrl+Enter.
enum class ChatKind : qint32 {
  EntertainmentHall = 0,  // "娱乐大厅"
  ChatHall = 1,           // "聊天大厅"
  TextChat = 2,
  Community = 3,
};
inline constexpr int kTargetKindCount = 4;
const std::array<TargetKind, kTargetKindCount>& targetKinds();

// The class of the client's message input control, and of its user-information window.
inline const QString kEditorClass = QStringLiteral("TRichEdit2");
inline const QString kUserInfoClass = QStringLiteral("TUserInfoForm");

struct ChatTarget {
  WindowHandle window = 0;
  WindowHandle editor = 0;
  ChatKind kind = ChatKind::EntertainmentHall;
  QString chatTitle;  // never empty
  quint32 processId = 0;
  friend bool operator==(const ChatTarget&, const ChatTarget&) = default;
};

// The chosen target; all empty at start and never saved.
struct SendSelection {
  WindowHandle selectedWindow = 0;
  WindowHandle selectedEditor = 0;
  QString selectedTitle;
  quint32 selectedProcessId = 0;
  ChatKind selectedKind = ChatKind::EntertainmentHall;
  // The title last chosen or confirmed, to find the target again after its window was
  // re-created.
  QString rememberedTitle;
};

// A window's class name and title as the window system reported them, cut at the first NUL
// and limited to 255 and 32767 characters as the client's own buffers would.
QString WindowClassName(const WindowNode& window);
QString WindowTitle(const WindowNode& window);

// The first input control inside `window` in pre-order (a child before its own children,
// higher siblings first); 0 when there is none.
WindowHandle FindEditor(const WindowNode& window);

// Whether a top-level window of class `className` titled `title` is of kind `kind`.
bool MatchesKind(ChatKind kind, const QString& className, const QString& title);

// The targets of a snapshot: every top-level window of a kind that has a title and an input
// control, ordered by kind, then by title in code-unit order, equal titles in Z order.
QList<ChatTarget> ScanChatWindows(const WindowSnapshot& snapshot);

// Puts `target` into the ordered list: after every entry of a lower kind and after the
// entries of its own kind whose titles are not greater than its own.
void InsertTarget(QList<ChatTarget>& targets, const ChatTarget& target);

// The first target titled exactly `title`; none for an empty title.
std::optional<ChatTarget> FindTargetByTitle(const QList<ChatTarget>& targets,
                                            const QString& title);

inline const QString kNoTargetCaption = QStringLiteral("未找到任何发送目标");
inline const QString kSeparatorCaption = QStringLiteral("-");

// One item of the target menu.
struct TargetMenuItem {
  QString caption;
  bool separator = false;
  bool checked = false;
  friend bool operator==(const TargetMenuItem&, const TargetMenuItem&) = default;
};

// The menu for `targets`: one item per target in list order, a separator between groups of
// different kinds, a check mark at the titles equal to `selectedTitle`. With no targets, the
// single item "未找到任何发送目标".
QList<TargetMenuItem> TargetMenuItems(const QList<ChatTarget>& targets,
                                      const QString& selectedTitle);

// The target behind menu item `itemIndex`: the index less the separators up to it. None for a
// separator, for an index outside the menu, or when the result is no target.
std::optional<int> TargetIndexForItem(const QList<TargetMenuItem>& items, int itemIndex,
                                      int targetCount);

}  // namespace lyrova
