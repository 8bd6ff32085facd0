#include "player/chat/chattargets.h"

namespace lyrova {
namespace {

constexpr qsizetype kClassNameLimit = 255;
constexpr qsizetype kTitleLimit = 32767;

QString UpToNul(const QString& text, qsizetype limit) {
  const qsizetype nul = text.indexOf(QChar(0));
  return text.left(std::min(nul < 0 ? text.size() : nul, limit));
}

}  // namespace

const std::array<TargetKind, kTargetKindCount>& targetKinds() {
  static const std::array<TargetKind, kTargetKindCount> kinds = {{
      {QStringLiteral("娱乐大厅"), 1, 4, QStringLiteral("TPluginForm")},
      {QStringLiteral("聊天大厅"), 1, 4, QStringLiteral("TChatRoomHallForm")},
      {QString(), -1, 0, QStringLiteral("TtextChatForm")},
      {QString(), -1, 0, QStringLiteral("TCommunityForm")},
  }};
  return kinds;
}

QString WindowClassName(const WindowNode& window) {
  return UpToNul(window.className, kClassNameLimit);
}

QString WindowTitle(const WindowNode& window) { return UpToNul(window.title, kTitleLimit); }

WindowHandle FindEditor(const WindowNode& window) {
  // An explicit stack rather than recursion: the tree comes from another process and its
  // depth is not ours to trust.
  std::vector<const WindowNode*> pending;
  for (auto it = window.children.rbegin(); it != window.children.rend(); ++it)
    pending.push_back(&*it);
  while (!pending.empty()) {
    const WindowNode* node = pending.back();
    pending.pop_back();
    if (WindowClassName(*node) == kEditorClass) return node->handle;
    for (auto it = node->children.rbegin(); it != node->children.rend(); ++it)
      pending.push_back(&*it);
  }
  return 0;
}

bool MatchesKind(ChatKind kind, const QString& className, const QString& title) {
  const int index = int(kind);
  if (index < 0 || index >= kTargetKindCount) return false;
  const TargetKind& row = targetKinds()[size_t(index)];
  if (row.windowClass != className) return false;
  if (row.prefixStart < 1) return true;
  return title.mid(row.prefixStart - 1, row.prefixLength) == row.titlePrefix;
}

QList<ChatTarget> ScanChatWindows(const WindowSnapshot& snapshot) {
  QList<ChatTarget> targets;
  for (const WindowNode& window : snapshot.topLevel) {
    const QString cls = WindowClassName(window);
    const QString title = WindowTitle(window);
    for (int index = 0; index < kTargetKindCount; ++index) {
      const ChatKind kind{index};
      if (!MatchesKind(kind, cls, title)) continue;
      const WindowHandle editor = FindEditor(window);
      if (!title.isEmpty() && editor != 0) {
        InsertTarget(targets, ChatTarget{window.handle, editor, kind, title, window.processId});
        break;
      }
    }
  }
  return targets;
}

void InsertTarget(QList<ChatTarget>& targets, const ChatTarget& target) {
  qsizetype pos = targets.size();
  qsizetype j = 0;
  while (j < targets.size() && targets[j].kind < target.kind) ++j;
  for (; j < targets.size(); ++j) {
    if (targets[j].kind != target.kind || target.chatTitle < targets[j].chatTitle) {
      pos = j;
      break;
    }
  }
  targets.insert(pos, target);
}

std::optional<ChatTarget> FindTargetByTitle(const QList<ChatTarget>& targets,
                                            const QString& title) {
  if (title.isEmpty()) return std::nullopt;
  for (const ChatTarget& target : targets) {
    if (target.chatTitle == title) return target;
  }
  return std::nullopt;
}

QList<TargetMenuItem> TargetMenuItems(const QList<ChatTarget>& targets,
                                      const QString& selectedTitle) {
  if (targets.isEmpty()) return {TargetMenuItem{kNoTargetCaption, false, false}};
  QList<TargetMenuItem> items;
  ChatKind prevKind = targets.first().kind;
  for (const ChatTarget& target : targets) {
    if (target.kind != prevKind) {
      items.append(TargetMenuItem{kSeparatorCaption, true, false});
      prevKind = target.kind;
    }
    items.append(TargetMenuItem{target.chatTitle, false, target.chatTitle == selectedTitle});
  }
  return items;
}

std::optional<int> TargetIndexForItem(const QList<TargetMenuItem>& items, int itemIndex,
                                      int targetCount) {
  if (itemIndex < 0 || itemIndex >= items.size() || items[itemIndex].separator) return std::nullopt;
  int separators = 0;
  for (int i = 0; i <= itemIndex; ++i) {
    if (items[i].separator) ++separators;
  }
  const int t = itemIndex - separators;
  if (t < 0 || t >= targetCount) return std::nullopt;
  return t;
}

}  // namespace lyrova
