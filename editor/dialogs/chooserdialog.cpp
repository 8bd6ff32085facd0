#include "editor/dialogs/chooserdialog.h"

#include "editor/dialogs/dialogbuttons.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace lyrova {

ChooserDialog::ChooserDialog(int lastChoice, QWidget* parent) : QDialog(parent), lastChoice_(lastChoice) {
  setWindowTitle(QStringLiteral("新建或清除歌词"));

  frame1_ = new QGroupBox(QStringLiteral("请选择你要执行的操作"), this);
  frame1_->setObjectName(QStringLiteral("Frame1"));
  auto* column = new QVBoxLayout(frame1_);
  const QString captions[kChooserOptionCount] = {
      QStringLiteral("新建歌词文件"), QStringLiteral("清除所有歌词"), QStringLiteral("清除所有时间标签"),
      QStringLiteral("按字数自动建立时间标签"), QStringLiteral("按行数自动建立时间标签")};
  for (int i = 0; i < kChooserOptionCount; ++i) {
    auto* option = new QRadioButton(captions[i], frame1_);
    option->setObjectName(QStringLiteral("Option1_%1").arg(i));
    column->addWidget(option);
    option1_ << option;
    connect(option, &QRadioButton::toggled, this, [this, i](bool on) {
      if (on) selection_ = i;
    });
  }
  // An out-of-range remembered choice would address no option; the first one stands then.
  const int preselected = lastChoice >= 0 && lastChoice < kChooserOptionCount ? lastChoice : 0;
  option1_.at(0)->setChecked(true);
  option1_.at(preselected)->setChecked(true);

  command1_ << MakeOkButton(QStringLiteral("Command1_0"), this)
            << MakeDialogButton(kCancelCaption, QStringLiteral("Command1_1"), this);
  connect(command1_.at(0), &QPushButton::clicked, this, &QDialog::accept);
  connect(command1_.at(1), &QPushButton::clicked, this, &QDialog::reject);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(command1_.at(0));
  buttons->addWidget(command1_.at(1));
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(frame1_);
  layout->addLayout(buttons);
  FitDialog(this);
  option1_.at(preselected)->setFocus();
}

ChooserResult ChooserDialog::Result() const {
  if (result() != QDialog::Accepted) return ChooserResult{true, lastChoice_};
  return ChooserResult{false, selection_};
}

}  // namespace lyrova
