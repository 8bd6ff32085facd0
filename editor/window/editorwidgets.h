#pragma once

#include "editor/core/editorsession.h"

#include <QAbstractListModel>
#include <QColor>
#include <QLabel>
#include <QPixmap>
#include <QWidget>

// The small widgets of the Editor's main window. They only draw and report; the session
// decides.
namespace lyrova {

// The side of a tool button (`Butt` item); its picture leaves a 2-pixel margin.
inline constexpr int kEditorButtonSide = 24;
// The tool-button pictures, drawn by the program: one per command.
QPixmap EditorToolIcon(int command, int side);
// The logo shown where the status line stands while no button is hovered.
QPixmap EditorLogo(QSize size);

// The playback progress bar `LocPut`: the played part and the rest, reporting left-button
// presses, drags and releases with the pointer's x and the bar's width.
class EditorProgressBar : public QWidget {
  Q_OBJECT

 public:
  explicit EditorProgressBar(QWidget* parent);
  void SetFraction(double fraction);
  double Fraction() const { return fraction_; }
  QSize sizeHint() const override { return {200, 14}; }

 signals:
  void SeekPressed(int x, int width);
  void SeekMoved(int x, int width);
  void SeekReleased(int x, int width);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  double fraction_ = 0.0;
  bool dragging_ = false;
};

// A picture label that reports clicks (the logo `Picture3`).
class ClickablePicture : public QLabel {
  Q_OBJECT

 public:
  using QLabel::QLabel;

 signals:
  void Clicked();

 protected:
  void mouseReleaseEvent(QMouseEvent* event) override;
};

// The rows of `List1`, read straight from the session's document, so a reload of 10,000 lines
// costs one model reset rather than 10,000 item insertions.
class LineListModel : public QAbstractListModel {
  Q_OBJECT

 public:
  LineListModel(const EditorSession& session, QObject* parent);
  int rowCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  void ResetRows();
  void RowChanged(int row);

 private:
  const EditorSession& session_;
};

// The save-changes question as a message box with Yes, No and (when allowed) Cancel.
class WidgetSaveQuestion : public SaveQuestion {
 public:
  SaveAnswer Ask(QWidget* owner, const QString& text, bool allowCancel) override;
};

// A 0xBBGGRR colour value as the window system's colour.
inline QColor FromBgr(quint32 bgr) {
  return QColor(int(bgr & 0xFF), int((bgr >> 8) & 0xFF), int((bgr >> 16) & 0xFF));
}

}  // namespace lyrova
