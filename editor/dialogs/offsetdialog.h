#pragma once

#include "editor/core/editordialogs.h"

#include <QDialog>
#include <QList>
#include <QString>
#include <QStringView>

#include <optional>

class QComboBox;
class QGroupBox;
class QPushButton;
class QRadioButton;

namespace lyrova {

class Prompts;

inline constexpr qint32 kMaxOffsetMs = 5999999;
inline constexpr int kOffsetItemCount = 121;  // "0", "500", ... "60000"
inline constexpr int kOffsetItemStepMs = 500;

// The offset typed into the dialog: the value in ms (not yet signed by the direction), or the
// message that tells the user why it cannot be taken.
struct OffsetReading {
  std::optional<qint32> valueMs;
  QString error;
};

// A number (empty is none: "输入错误"), 0..5999999 after rounding halves to even
// ("输入的值超出范围" otherwise).
OffsetReading ReadOffsetText(QStringView text);

// The time-offset dialog: direction (delay / advance), target (all tags / the selected
// line's tag) and the offset in ms in an editable combo box that takes digits only. OK checks
// the text and reports a bad one through the Prompts given, staying open. There is no cancel
// button; the close box (or Escape) leaves the result at all tags, 0 ms.
class OffsetDialog : public QDialog {
  Q_OBJECT

 public:
  explicit OffsetDialog(Prompts& prompts, QWidget* parent = nullptr);

  OffsetResult Result() const { return result_; }

  QComboBox* Combo1() const { return combo1_; }
  QGroupBox* Frame(int index) const { return frames_.value(index); }  // 0 direction, 1 target
  QRadioButton* Option2(int index) const { return option2_.value(index); }  // 0 delay, 1 advance
  QRadioButton* Option1(int index) const { return option1_.value(index); }  // 0 all, 1 selected
  QPushButton* OkButton() const { return okButton_; }

 private:
  void TryAccept();

  Prompts& prompts_;
  OffsetResult result_;
  QComboBox* combo1_ = nullptr;
  QList<QGroupBox*> frames_;
  QList<QRadioButton*> option2_;
  QList<QRadioButton*> option1_;
  QPushButton* okButton_ = nullptr;
};

}  // namespace lyrova
