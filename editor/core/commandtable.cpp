#include "editor/core/commandtable.h"

#include <array>

namespace lyrova {

namespace {

const std::array<QString, kEditorCommandCount>& Tooltips() {
  static const std::array<QString, kEditorCommandCount> tips = {
      QStringLiteral("打开音频文件，点此按钮可以打开你所编辑歌词对应的歌曲文件。"),
      QStringLiteral("打开歌词文件，点此按钮可以打开你要编辑歌词。"),
      QStringLiteral("保存歌词文件，用于保存你编辑好的歌词。"),
      QStringLiteral("歌词另存为，把你编辑好的歌词另存一个文件名。"),
      QStringLiteral("新建歌词、清除歌词或清除时间标签。"),
      QStringLiteral("选择保存和文本编辑的格式是展开还是压缩。"),
      QStringLiteral("切换到文本编辑模式。"),
      QStringLiteral("新建一行歌词。"),
      QStringLiteral("把当前选择的歌词复制一行。"),
      QStringLiteral("删除当前选择的歌词。"),
      QStringLiteral("歌词向前移动一行。"),
      QStringLiteral("歌词向后移动一行。"),
      QStringLiteral("歌词按时间标签的大小进行排序。"),
      QStringLiteral("用播放所处时间值加入或修改标签。"),
      QStringLiteral("把当前选择的歌词标签的时间值减去 0.5 秒。"),
      QStringLiteral("把当前选择的歌词标签的时间值增加 0.5 秒。"),
      QStringLiteral("把所有歌词标签的时间值减去 0.5 秒。"),
      QStringLiteral("把所有歌词标签的时间值增加 0.5 秒。"),
      QStringLiteral("选择某句歌词，播放到此句歌词时按下此按钮可快速的修正歌词提前或落后的现象。"),
      QStringLiteral("对时间标签进行输入调整。"),
      QStringLiteral("删除当前选择的歌词的时间标签。"),
      QStringLiteral("播放打开的音频。"),
      QStringLiteral("从当前选择的歌词时间处开始播放。"),
      QStringLiteral("暂停当前的播放。"),
      QStringLiteral("从播放位置倒退 5 秒。"),
      QStringLiteral("从播放位置快进 5 秒。"),
      QStringLiteral("停止当前的播放。"),
  };
  return tips;
}

struct ShortcutRow {
  const char16_t* key;
  int command;
  int button;
  const char16_t* what;     // for the summary
  const char16_t* tipNote;  // before the key in the button's tooltip, when the key runs only part of it
};

constexpr std::array<ShortcutRow, kCommandShortcutCount> kShortcuts = {{
    {u"Ctrl+N", kCmdNewDocument, kCmdNewOrClear, u"新建歌词文件", u"新建 "},
    {u"Ctrl+O", kCmdOpenLyrics, kCmdOpenLyrics, u"打开歌词文件", u""},
    {u"Ctrl+S", kCmdSave, kCmdSave, u"保存歌词文件", u""},
    {u"Ctrl+Shift+S", kCmdSaveAs, kCmdSaveAs, u"歌词另存为", u""},
    {u"F2", kCmdStamp, kCmdStamp, u"给选择的歌词打上播放时间", u""},
    {u"F3", kCmdLineEarlier, kCmdLineEarlier, u"选择的歌词标签提前 0.5 秒", u""},
    {u"F4", kCmdLineLater, kCmdLineLater, u"选择的歌词标签延后 0.5 秒", u""},
    {u"F5", kCmdPlay, kCmdPlay, u"播放", u""},
    {u"F6", kCmdPause, kCmdPause, u"暂停或继续", u""},
    {u"F7", kCmdBack5s, kCmdBack5s, u"倒退 5 秒", u""},
    {u"F8", kCmdForward5s, kCmdForward5s, u"快进 5 秒", u""},
}};

}  // namespace

QString CommandTooltip(int index) {
  if (index < 0 || index >= kEditorCommandCount) return {};
  return Tooltips()[static_cast<size_t>(index)];
}

CommandGroup CommandGroupAt(int group) {
  switch (group) {
    case 0: return {QStringLiteral("文件"), 0, 5};
    case 1: return {QStringLiteral("编辑控制"), 6, 12};
    case 2: return {QStringLiteral("标签控制"), 13, 20};
    case 3: return {QStringLiteral("播放控制"), 21, 26};
    default: return {QString(), 0, -1};
  }
}

CommandShortcut CommandShortcutAt(int index) {
  if (index < 0 || index >= kCommandShortcutCount) return {QString(), -1, -1};
  const ShortcutRow& row = kShortcuts[static_cast<size_t>(index)];
  return {QString::fromUtf16(row.key), row.command, row.button};
}

QString ButtonTooltip(int button) {
  QString tip = CommandTooltip(button);
  for (const ShortcutRow& row : kShortcuts)
    if (row.button == button)
      tip += QStringLiteral("（") + QString::fromUtf16(row.tipNote) + QString::fromUtf16(row.key) + QStringLiteral("）");
  return tip;
}

QString ShortcutSummary() {
  QString text = QStringLiteral("快捷键（在输入框中也可使用）：\n");
  for (const ShortcutRow& row : kShortcuts)
    text += QString::fromUtf16(row.key) + u"  " + QString::fromUtf16(row.what) + u'\n';
  return text;
}

}  // namespace lyrova
