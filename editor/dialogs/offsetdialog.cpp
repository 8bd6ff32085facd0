#include "editor/dialogs/offsetdialog.h"

#include "common/numbertext.h"
#include "common/prompts/prompts.h"
#include "editor/dialogs/dialogbuttons.h"

#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QValidator>
#include <QVBoxLayout>

namespace lyrova {

namespace {

const QString kMessageTitle = QStringLiteral("Versel");

// Only the digits 0 to 9 get into the box, typed or pasted; a paste holding anything else is
// refused as a whole rather than stripped, so "1.5" never turns into 15. Editing keys
// (Backspace, Delete, arrows) are not characters and keep working.
class DigitsValidator : public QValidator {
 public:
  using QValidator::QValidator;

  State validate(QString& input, int& /*pos*/) const override {
    for (const QChar c : input) {
      if (c < u'0' || c > u'9') return Invalid;
    }
    return Acceptable;
  }
};

QGroupBox* MakeOptionFrame(const QString& title, const QString& first, const QString& second,
                           const QString& namePrefix, QList<QRadioButton*>& options, QWidget* parent) {
  auto* frame = new QGroupBox(title, parent);
  auto* column = new QVBoxLayout(frame);
  for (const QString& caption : {first, second}) {
    auto* option = new QRadioButton(caption, frame);
    option->setObjectName(namePrefix + QString::number(options.size()));
    column->addWidget(option);
    options << option;
  }
  options.at(0)->setChecked(true);
  return frame;
}

}  // namespace

OffsetReading ReadOffsetText(QStringView text) {
  const std::optional<double> number = ParseNumber(text);
  if (!number) return {std::nullopt, QStringLiteral("输入错误")};
  const std::optional<qint32> rounded = RoundToInt32(*number);
  if (*number < 0 || !rounded || *rounded > kMaxOffsetMs) return {std::nullopt, QStringLiteral("输入的值超出范围")};
  return {*rounded, QString()};
}

OffsetDialog::OffsetDialog(Prompts& prompts, QWidget* parent) : QDialog(parent), prompts_(prompts) {
  setWindowTitle(QStringLiteral("延迟或提前时间标签的时间值"));

  frames_ << MakeOptionFrame(QStringLiteral("如何操作"), QStringLiteral("延迟"), QStringLiteral("提前"),
                             QStringLiteral("Option2_"), option2_, this)
          << MakeOptionFrame(QStringLiteral("执行的对象"), QStringLiteral("全部时间标签"),
                             QStringLiteral("当前选择的时间标签"), QStringLiteral("Option1_"), option1_, this);
  frames_.at(0)->setObjectName(QStringLiteral("Frame1"));
  frames_.at(1)->setObjectName(QStringLiteral("Frame2"));

  combo1_ = new QComboBox(this);
  combo1_->setObjectName(QStringLiteral("Combo1"));
  combo1_->setEditable(true);
  // Enter must take the typed text as it stands: no item is added to the list and no inline
  // completion turns a typed "15" into "1500".
  combo1_->setInsertPolicy(QComboBox::NoInsert);
  combo1_->setCompleter(nullptr);
  combo1_->setValidator(new DigitsValidator(combo1_));
  for (int i = 0; i < kOffsetItemCount; ++i) combo1_->addItem(QString::number(i * kOffsetItemStepMs));
  combo1_->setCurrentIndex(0);
  combo1_->setMaxVisibleItems(12);
  // Wide enough for the largest value taken, 5999999, with room to spare.
  combo1_->setMinimumContentsLength(9);
  combo1_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);

  auto* label1 = new QLabel(QStringLiteral("偏移值："), this);
  label1->setBuddy(combo1_);
  auto* label2 = new QLabel(QStringLiteral("毫秒"), this);
  okButton_ = MakeOkButton(QStringLiteral("Command1"), this);
  connect(okButton_, &QPushButton::clicked, this, &OffsetDialog::TryAccept);

  auto* frameRow = new QHBoxLayout;
  frameRow->addWidget(frames_.at(0));
  frameRow->addWidget(frames_.at(1));
  auto* valueRow = new QHBoxLayout;
  valueRow->addWidget(label1);
  valueRow->addWidget(combo1_, 1);
  valueRow->addWidget(label2);
  valueRow->addSpacing(12);
  valueRow->addWidget(okButton_);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(frameRow);
  layout->addLayout(valueRow);
  FitDialog(this);
  combo1_->setFocus();
}

void OffsetDialog::TryAccept() {
  const OffsetReading reading = ReadOffsetText(combo1_->currentText());
  if (!reading.valueMs) {
    prompts_.Message(reading.error, kMessageTitle, MessageIcon::Critical);
    combo1_->setFocus();
    return;
  }
  const bool advance = option2_.at(1)->isChecked();
  result_ = OffsetResult{option1_.at(0)->isChecked(), advance ? -*reading.valueMs : *reading.valueMs};
  accept();
}

}  // namespace lyrova
