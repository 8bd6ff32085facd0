#pragma once

#include <QtGlobal>

class QWidget;

// The Editor's four small modal windows, behind one interface so that the main window's logic
// can be driven by tests with scripted answers. Each call shows its dialog modally and returns
// what the user chose; closing a window by its close box counts as cancel.
namespace lyrova {

struct ChooserResult {
  bool cancelled = true;
  int choice = 0;  // 0 new document, 1 clear all lyrics, 2 clear all time tags,
                   // 3 automatic tags by characters, 4 automatic tags by lines
};

struct OffsetResult {
  bool allTags = true;  // false: only the selected line's tag
  qint32 valueMs = 0;   // positive delays (later), negative advances (earlier)
};

struct LayoutResult {
  bool cancelled = true;
  bool compressed = false;
};

class EditorDialogs {
 public:
  virtual ~EditorDialogs() = default;

  // The new-or-clear chooser; `lastChoice` is preselected (the last choice of this run).
  virtual ChooserResult ChooseNewOrClear(QWidget* owner, int lastChoice) = 0;
  // The time-offset dialog.
  virtual OffsetResult AskOffset(QWidget* owner) = 0;
  // The save and text layout dialog, opened on the current layout.
  virtual LayoutResult ChooseLayout(QWidget* owner, bool compressed) = 0;
  // The About box.
  virtual void ShowAbout(QWidget* owner) = 0;
};

}  // namespace lyrova
