#pragma once

#include "player/dialogs/linkdialoglogic.h"

#include <QDialog>
#include <QList>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace lyrova {

// The modal link dialog captioned "为当前歌曲指定歌词". It only shows LinkDialogLogic's state
// and forwards typing, clicks and double-clicks to it; it stays above other windows.
class LinkDialog : public QDialog {
  Q_OBJECT

 public:
  LinkDialog(Prompts& prompts, const LyricsLookup& lookup, LinkDialogActions actions,
             QWidget* parent = nullptr);

  // Fills the dialog for `song` with its current `lyrics`; call before showing it.
  void Open(const QString& song, const QString& lyrics);

  LinkDialogLogic& Logic() { return logic_; }
  QLineEdit* Text1() const { return text1_; }
  QLineEdit* Text2() const { return text2_; }
  QListWidget* List1() const { return list1_; }
  // The six file buttons and the three link buttons, by control index.
  QPushButton* Command1(int index) const { return command1_.value(index); }
  QPushButton* Command2(int index) const { return command2_.value(index); }

 private:
  void Refresh();
  void Follow(DialogNext next);

  LinkDialogLogic logic_;
  QLineEdit* text1_ = nullptr;
  QLineEdit* text2_ = nullptr;
  QListWidget* list1_ = nullptr;
  QList<QPushButton*> command1_;
  QList<QPushButton*> command2_;
  bool refreshing_ = false;
};

}  // namespace lyrova
