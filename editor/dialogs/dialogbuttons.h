#pragma once

#include <QString>

class QDialog;
class QPushButton;

// Buttons of the Editor's dialogs. Enter anywhere in a dialog must act as its OK button, so
// only OK is a default button; no other button takes Enter when it has the focus.
namespace lyrova {

inline const QString kOkCaption = QStringLiteral("确 定");
inline const QString kCancelCaption = QStringLiteral("取 消");

// A push button that never becomes the default, named `objectName`.
QPushButton* MakeDialogButton(const QString& caption, const QString& objectName, QDialog* dialog);
// The dialog's OK button: the default button, so Enter presses it from any control.
QPushButton* MakeOkButton(const QString& objectName, QDialog* dialog);

// A dialog of fixed size that fits its contents, with no help button in the caption.
void FitDialog(QDialog* dialog);

}  // namespace lyrova
