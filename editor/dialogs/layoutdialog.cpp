#include "editor/dialogs/layoutdialog.h"

#include "editor/dialogs/dialogbuttons.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace lyrova {

LayoutDialog::LayoutDialog(bool compressed, QWidget* parent)
    : QDialog(parent), initial_(compressed), layoutChoice_(compressed) {
  setWindowTitle(QStringLiteral("保存和文本编辑格式选择"));

  frame1_ = new QGroupBox(QStringLiteral("选项"), this);
  frame1_->setObjectName(QStringLiteral("Frame1"));
  auto* column = new QVBoxLayout(frame1_);
  const QString captions[2] = {QStringLiteral("展开格式，歌词每行只有一个时间标签"),
                               QStringLiteral("压缩格式，把几行相同的歌词压缩成一行，一行内可能有多个时间标签")};
  for (int i = 0; i < 2; ++i) {
    auto* option = new QRadioButton(captions[i], frame1_);
    option->setObjectName(QStringLiteral("Option1_%1").arg(i));
    column->addWidget(option);
    option1_ << option;
  }
  option1_.at(compressed ? 1 : 0)->setChecked(true);
  for (int i = 0; i < 2; ++i) {
    connect(option1_.at(i), &QRadioButton::toggled, this, [this, i](bool on) {
      if (on) layoutChoice_ = (i == 1);
    });
  }

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
  option1_.at(compressed ? 1 : 0)->setFocus();
}

LayoutResult LayoutDialog::Result() const {
  if (result() != QDialog::Accepted) return LayoutResult{true, initial_};
  return LayoutResult{false, layoutChoice_};
}

}  // namespace lyrova
