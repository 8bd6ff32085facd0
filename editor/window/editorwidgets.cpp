#include "editor/window/editorwidgets.h"

#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace lyrova {

EditorProgressBar::EditorProgressBar(QWidget* parent) : QWidget(parent) {
  setMinimumHeight(12);
  setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

void EditorProgressBar::SetFraction(double fraction) {
  fraction = std::clamp(fraction, 0.0, 1.0);
  if (fraction == fraction_) return;
  fraction_ = fraction;
  update();
}

void EditorProgressBar::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const int x = static_cast<int>(std::nearbyint(width() * fraction_));
  painter.fillRect(0, 0, x, height(), FromBgr(0xFFFF80));
  painter.fillRect(x, 0, width() - x, height(), FromBgr(0x808080));
  painter.setPen(QColor(64, 64, 64));
  painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

void EditorProgressBar::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  dragging_ = true;
  emit SeekPressed(event->position().toPoint().x(), width());
}

void EditorProgressBar::mouseMoveEvent(QMouseEvent* event) {
  if (dragging_) emit SeekMoved(event->position().toPoint().x(), width());
}

void EditorProgressBar::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton || !dragging_) return;
  dragging_ = false;
  emit SeekReleased(event->position().toPoint().x(), width());
}

void ClickablePicture::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) emit Clicked();
}

LineListModel::LineListModel(const EditorSession& session, QObject* parent)
    : QAbstractListModel(parent), session_(session) {}

int LineListModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(session_.Document().count());
}

QVariant LineListModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid()) return {};
  if (role == Qt::DisplayRole) return session_.RowText(index.row());
  if (role == Qt::ToolTipRole) {
    const QString tip = session_.RowTooltip(index.row());
    return tip.isEmpty() ? QVariant() : QVariant(tip);
  }
  return {};
}

void LineListModel::ResetRows() {
  beginResetModel();
  endResetModel();
}

void LineListModel::RowChanged(int row) {
  if (row < 0 || row >= rowCount()) return;
  const QModelIndex at = index(row);
  emit dataChanged(at, at, {Qt::DisplayRole, Qt::ToolTipRole});
}

SaveAnswer WidgetSaveQuestion::Ask(QWidget* owner, const QString& text, bool allowCancel) {
  QMessageBox box(QMessageBox::NoIcon, EditorSession::MessageTitle(), text,
                  allowCancel ? QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel
                              : QMessageBox::Yes | QMessageBox::No,
                  owner);
  box.setDefaultButton(QMessageBox::Yes);
  const int pressed = box.exec();
  if (pressed == QMessageBox::Yes) return SaveAnswer::Yes;
  if (pressed == QMessageBox::No) return SaveAnswer::No;
  return allowCancel ? SaveAnswer::Cancel : SaveAnswer::No;
}

}  // namespace lyrova
