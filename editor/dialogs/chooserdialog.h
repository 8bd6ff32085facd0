#pragma once

#include "editor/core/editordialogs.h"

#include <QDialog>
#include <QList>

class QGroupBox;
class QPushButton;
class QRadioButton;

namespace lyrova {

inline constexpr int kChooserOptionCount = 5;

// The new-or-clear chooser: five options in one column and OK / Cancel. Only collects the
// choice; the main window acts on it after the dialog has closed.
class ChooserDialog : public QDialog {
  Q_OBJECT

 public:
  // `lastChoice` is preselected; a value outside 0..4 preselects option 0.
  explicit ChooserDialog(int lastChoice, QWidget* parent = nullptr);

  // Cancelled unless closed by OK. A cancelled result carries the lastChoice given, so the
  // caller may store the choice either way.
  ChooserResult Result() const;
  int Selection() const { return selection_; }

  QGroupBox* Frame1() const { return frame1_; }
  QRadioButton* Option1(int index) const { return option1_.value(index); }
  QPushButton* Command1(int index) const { return command1_.value(index); }

 private:
  int lastChoice_ = 0;
  int selection_ = 0;
  QGroupBox* frame1_ = nullptr;
  QList<QRadioButton*> option1_;
  QList<QPushButton*> command1_;  // 0 OK, 1 Cancel
};

}  // namespace lyrova
