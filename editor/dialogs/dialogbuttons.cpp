#include "editor/dialogs/dialogbuttons.h"

#include <QDialog>
#include <QLayout>
#include <QPushButton>

namespace lyrova {

QPushButton* MakeDialogButton(const QString& caption, const QString& objectName, QDialog* dialog) {
  auto* button = new QPushButton(caption, dialog);
  button->setObjectName(objectName);
  button->setAutoDefault(false);
  return button;
}

QPushButton* MakeOkButton(const QString& objectName, QDialog* dialog) {
  QPushButton* button = MakeDialogButton(kOkCaption, objectName, dialog);
  button->setDefault(true);
  return button;
}

void FitDialog(QDialog* dialog) {
  dialog->setWindowFlag(Qt::WindowContextHelpButtonHint, false);
  if (dialog->layout() != nullptr) dialog->layout()->setSizeConstraint(QLayout::SetFixedSize);
}

}  // namespace lyrova
