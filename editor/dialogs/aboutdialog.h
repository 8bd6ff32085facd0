#pragma once

#include <QDialog>
#include <QList>
#include <QString>
#include <QStringList>

class QLabel;
class QPushButton;

namespace lyrova {

inline constexpr int kEditorVersionMajor = 1;
inline constexpr int kEditorVersionMinor = 2;

// "Version 1.02 测试版": the minor version takes at least two digits.
QString EditorVersionLine(int major, int minor);

// The Editor's About box: the product name, the version line, the suite's version line and any
// extra lines the main window passes in (for example its keyboard shortcuts), stacked top to bottom, with OK below.
// The box is sized to fit its labels.
class AboutDialog : public QDialog {
  Q_OBJECT

 public:
  explicit AboutDialog(const QStringList& extraLines = {}, QWidget* parent = nullptr);

  // Product name, version line, suite version line, then the extra lines, top to bottom.
  const QList<QLabel*>& Labels() const { return labels_; }
  QPushButton* OkButton() const { return okButton_; }

 private:
  QList<QLabel*> labels_;
  QPushButton* okButton_ = nullptr;
};

}  // namespace lyrova
