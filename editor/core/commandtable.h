#pragma once

#include <QString>

// The Editor's 27 tool-button commands: their numbers, tooltips and groups; the one command
// reached by a key only; and the keys of the file commands and of the ones pressed over and over
// while tagging.
namespace lyrova {

inline constexpr int kEditorCommandCount = 27;  // the tool buttons, commands 0..26

enum EditorCommand : int {
  kCmdOpenAudio = 0,
  kCmdOpenLyrics = 1,
  kCmdSave = 2,
  kCmdSaveAs = 3,
  kCmdNewOrClear = 4,
  kCmdLayout = 5,
  kCmdTextMode = 6,
  kCmdNewLine = 7,
  kCmdDuplicateLine = 8,
  kCmdDeleteLine = 9,
  kCmdMoveUp = 10,
  kCmdMoveDown = 11,
  kCmdSort = 12,
  kCmdStamp = 13,
  kCmdLineEarlier = 14,
  kCmdLineLater = 15,
  kCmdAllEarlier = 16,
  kCmdAllLater = 17,
  kCmdSyncCorrection = 18,
  kCmdOffset = 19,
  kCmdRemoveTag = 20,
  kCmdPlay = 21,
  kCmdPlayFromLine = 22,
  kCmdPause = 23,
  kCmdBack5s = 24,
  kCmdForward5s = 25,
  kCmdStop = 26,
  // Not on the tool bar: the new-or-clear chooser's first choice, run without the chooser.
  kCmdNewDocument = 27,
};
inline constexpr int kEditorCommandLimit = 28;  // every command index is below this

// The tooltip of a command, shown in the status line on hover; "" outside 0..26.
QString CommandTooltip(int index);

// The four groups of the tool bar: caption and first and last command.
struct CommandGroup {
  QString caption;
  int first;
  int last;
};
inline constexpr int kCommandGroupCount = 4;
CommandGroup CommandGroupAt(int group);

// A key that runs a command. Only function keys and the usual file keys (Ctrl+N, Ctrl+O, Ctrl+S,
// Ctrl+Shift+S) are used, so that no key a user types into the time, text or info boxes
// (letters, digits, arrows, Home/End, Ctrl editing keys) is taken.
struct CommandShortcut {
  QString key;  // in QKeySequence's portable text form, e.g. "F2", "Ctrl+Shift+S"
  int command;
  int button;   // the tool button whose tooltip names the key
};
inline constexpr int kCommandShortcutCount = 11;
CommandShortcut CommandShortcutAt(int index);
// The tooltip of a tool button with the key that runs it or part of it ("...（Ctrl+S）").
QString ButtonTooltip(int button);

// One line per key ("F2  给选择的歌词打上播放时间"), for the About box, the help and tooltips.
QString ShortcutSummary();

}  // namespace lyrova
