#pragma once

// Works the real modal windows (message boxes, file dialogs) that the code under test opens
// offscreen, as a user would: one scripted step per window.

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QMessageBox>
#include <QTimer>
#include <QWidget>
#include <QtDebug>

#include <functional>

namespace lyrova::testing {

// Answers the modal windows the code under test opens, one step per window, from a timer
// (the code under test is inside exec() meanwhile). A step gets the active modal widget and
// returns true once it has handled it. If a step waits too long every modal window is
// rejected, so a wrong expectation fails the test instead of hanging it.
class ModalScript : public QObject {
 public:
  using Step = std::function<bool(QWidget*)>;
  explicit ModalScript(QList<Step> steps) : steps_(std::move(steps)) {
    connect(&timer_, &QTimer::timeout, this, [this] { Poll(); });
    timer_.start(20);
    clock_.start();
  }
  bool Finished() const { return steps_.isEmpty() && !timedOut_; }
  bool TimedOut() const { return timedOut_; }

 private:
  void Poll() {
    QWidget* modal = QApplication::activeModalWidget();
    if (!steps_.isEmpty() && modal && modal->isVisible()) {
      // Taken off the list before it runs: its action may open a nested modal window, which
      // the next step answers from inside this call.
      const Step step = steps_.takeFirst();
      if (step(modal)) {
        clock_.restart();
        return;
      }
      steps_.prepend(step);
    }
    if (!modal || !modal->isVisible()) {
      clock_.restart();
      return;
    }
    // A window nobody expected, or one the current step cannot handle, is closed after a while.
    if (clock_.elapsed() > 5000) {
      timedOut_ = true;
      steps_.clear();
      auto* box = qobject_cast<QMessageBox*>(modal);
      qWarning() << "ModalScript: closing unexpected modal window" << modal << (box ? box->text() : QString());
      while (QWidget* w = QApplication::activeModalWidget()) {
        if (auto* dialog = qobject_cast<QDialog*>(w))
          dialog->reject();
        else
          w->close();
        QCoreApplication::processEvents();
      }
    }
  }

  QList<Step> steps_;
  QTimer timer_;
  QElapsedTimer clock_;
  bool timedOut_ = false;
};

inline QStringList ButtonTexts(QMessageBox* box) {
  QStringList texts;
  for (QAbstractButton* button : box->buttons()) texts << button->text();
  texts.sort();
  return texts;
}

// Puts a name into the dialog's name box. QFileDialog::selectFile leaves a focused name box
// alone (the user may be typing there), so the focus is taken away first.
inline void SelectFile(QFileDialog* dialog, const QString& path) {
  if (QWidget* focused = dialog->focusWidget()) focused->clearFocus();
  dialog->selectFile(path);
}

}  // namespace lyrova::testing
