#pragma once

// Helpers for driving the Editor's dialogs without a screen: shown non-modally for direct
// checks, or found as the active modal window while exec() runs.
#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QPointer>
#include <QTest>
#include <QTimer>

#include <functional>

namespace lyrova::testing {

// Shows the dialog without a modal loop, so the test can click and type into it.
inline bool ShowForTest(QDialog& dialog) {
  dialog.show();
  return QTest::qWaitForWindowExposed(&dialog);
}

// The close box: a close event, as the window system sends it.
inline void ClickCloseBox(QDialog& dialog) { dialog.close(); }

// Runs `act` on the modal dialog once exec() has shown it. Should the dialog still be open two
// seconds later (the test's actions did not close it), it is rejected so that the test goes on
// and fails on its result instead of hanging.
inline void WhenModal(std::function<void(QDialog*)> act) {
  QTimer::singleShot(0, [act] {
    auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    if (dialog == nullptr) {
      QTest::qFail("no modal dialog is showing", __FILE__, __LINE__);
      return;
    }
    QPointer<QDialog> guard(dialog);
    act(dialog);
    QTimer::singleShot(2000, [guard] {
      if (guard && guard->isVisible()) guard->reject();
    });
  });
}

// A click on an option's indicator, where it takes clicks however wide the layout made it.
inline void ClickOption(QAbstractButton* option) {
  QTest::mouseClick(option, Qt::LeftButton, {}, QPoint(6, option->height() / 2));
}

inline void PressEnter(QWidget* widget) { QTest::keyClick(widget, Qt::Key_Return); }

}  // namespace lyrova::testing
