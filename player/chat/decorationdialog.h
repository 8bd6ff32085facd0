#pragma once

#include "player/chat/emoticons.h"

#include <QDialog>
#include <QList>

#include <functional>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;

namespace lyrova {

// The dialog behind the Player's decoration button: the prefix and suffix put around each lyric
// line sent, with a picker of preset emoticon codes that the add buttons insert at the caret of
// the prefix box, the suffix box or both. It keeps on top and hands its result out through
// Cancelled() and the two results; only a confirm clears the cancelled flag.
class DecorationDialog : public QDialog {
  Q_OBJECT

 public:
  DecorationDialog(QWidget* owner, const QList<Emoticon>& emoticons, int lastEmoticonIndex,
                   const QString& home, const QString& end);

  // Controls, named as the design names them.
  QLineEdit* Text1(int index) const { return text1_.value(index); }
  QLabel* Label2(int index) const { return label2_.value(index); }
  QComboBox* Combo1() const { return combo1_; }
  QToolButton* Command3(int index) const { return command3_.value(index); }
  QPushButton* Command1() const { return command1_; }
  QPushButton* Command2() const { return command2_; }
  QPushButton* Command4() const { return command4_; }
  QLabel* Label1() const { return label1_; }

  // Add button `item`: 0 prefix, 1 suffix, 2 both (prefix first).
  void AddEmoticon(int item);
  void Confirm();

  bool Cancelled() const { return cancelled_; }
  QString ResultHome() const { return resultHome_; }
  QString ResultEnd() const { return resultEnd_; }
  // The picker entry chosen last, kept for the next opening.
  int LastEmoticonIndex() const { return lastEmoticonIndex_; }

  // "编辑预制表情代码": called before the dialog closes as cancelled.
  std::function<void()> editPresets;

  void done(int result) override;
  // Showing the dialog hands the prefix box the focus as a Tab would, which selects its whole
  // text; the dialog opens instead with each caret at the end of its text and nothing selected.
  void setVisible(bool visible) override;

 protected:
  void focusInEvent(QFocusEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  void AddTextBoxes();
  void AddEmoticonControls();
  void AddButtons();
  void LayOut();

  QList<Emoticon> emoticons_;
  int lastEmoticonIndex_ = 0;
  bool confirmed_ = false;
  bool cancelled_ = true;
  QString resultHome_;
  QString resultEnd_;

  QList<QLineEdit*> text1_;
  QList<QLabel*> label2_;
  QComboBox* combo1_ = nullptr;
  QList<QToolButton*> command3_;
  QPushButton* command4_ = nullptr;
  QPushButton* command1_ = nullptr;
  QPushButton* command2_ = nullptr;
  QLabel* label1_ = nullptr;
};

}  // namespace lyrova
