#pragma once

#include "player/dialogs/searchdirlogic.h"

#include <QDialog>
#include <QList>

class QListWidget;
class QPushButton;

namespace lyrova {

// The modal dialog captioned "添加歌词的查找目录". It shows SearchDirLogic's list and forwards
// the six buttons and double-clicks to it; it stays above other windows.
class SearchDirDialog : public QDialog {
  Q_OBJECT

 public:
  SearchDirDialog(Prompts& prompts, const LyricsLookup& lookup,
                  std::function<bool(const QUrl&)> openUrl, QWidget* parent = nullptr);

  // Fills the list; call before showing the dialog.
  void Open();

  SearchDirLogic& Logic() { return logic_; }
  QListWidget* List1() const { return list1_; }
  QPushButton* Command1(int index) const { return command1_.value(index); }

 private:
  void Refresh();
  void Follow(DialogNext next);

  SearchDirLogic logic_;
  QListWidget* list1_ = nullptr;
  QList<QPushButton*> command1_;
  bool refreshing_ = false;
};

}  // namespace lyrova
