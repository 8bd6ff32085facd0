#include "editor/dialogs/aboutdialog.h"

#include "common/programinfo.h"
#include "editor/dialogs/dialogbuttons.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace lyrova {

QString EditorVersionLine(int major, int minor) {
  return QStringLiteral("Version ") + QString::number(major) + u'.' + QStringLiteral("%1").arg(minor, 2, 10, QChar(u'0')) +
         QStringLiteral(" 测试版");
}

AboutDialog::AboutDialog(const QStringList& extraLines, QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("关于Versel"));

  auto* layout = new QVBoxLayout(this);
  auto addLabel = [this, layout](const QString& text) {
    auto* label = new QLabel(text, this);
    // Shortcut texts may hold "&"; they are shown as written, never as mnemonics or markup.
    label->setTextFormat(Qt::PlainText);
    label->setObjectName(QStringLiteral("Label%1").arg(labels_.size() + 1));
    layout->addWidget(label);
    labels_ << label;
    return label;
  };

  QLabel* product = addLabel(QStringLiteral("Versel"));
  QFont productFont = product->font();
  productFont.setBold(true);
  productFont.setPointSizeF(productFont.pointSizeF() * 1.5);
  product->setFont(productFont);
  addLabel(EditorVersionLine(kEditorVersionMajor, kEditorVersionMinor));
  addLabel(SuiteVersionLine());
  if (!extraLines.isEmpty()) layout->addSpacing(8);
  for (const QString& line : extraLines) addLabel(line);

  okButton_ = MakeOkButton(QStringLiteral("Command1"), this);
  connect(okButton_, &QPushButton::clicked, this, &QDialog::accept);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(okButton_);
  layout->addSpacing(8);
  layout->addLayout(buttons);
  FitDialog(this);
  okButton_->setFocus();
}

}  // namespace lyrova
