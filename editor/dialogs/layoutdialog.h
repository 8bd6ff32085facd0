#pragma once

#include "editor/core/editordialogs.h"

#include <QDialog>
#include <QList>

class QGroupBox;
class QPushButton;
class QRadioButton;

namespace lyrova {

// The save and text layout dialog: expanded or compressed, OK / Cancel.
class LayoutDialog : public QDialog {
  Q_OBJECT

 public:
  // Opens on the current layout.
  explicit LayoutDialog(bool compressed, QWidget* parent = nullptr);

  // Cancelled unless closed by OK; a cancelled result carries the layout it was opened on.
  LayoutResult Result() const;
  // The working copy: true while the compressed option is selected.
  bool LayoutChoice() const { return layoutChoice_; }

  QGroupBox* Frame1() const { return frame1_; }
  QRadioButton* Option1(int index) const { return option1_.value(index); }
  QPushButton* Command1(int index) const { return command1_.value(index); }

 private:
  bool initial_ = false;
  bool layoutChoice_ = false;
  QGroupBox* frame1_ = nullptr;
  QList<QRadioButton*> option1_;  // 0 expanded, 1 compressed
  QList<QPushButton*> command1_;  // 0 OK, 1 Cancel
};

}  // namespace lyrova
