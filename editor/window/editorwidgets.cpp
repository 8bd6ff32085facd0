#include "editor/window/editorwidgets.h"

#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOption>

#include <algorithm>
#include <cmath>

namespace lyrova {

EditorToolButton::EditorToolButton(int index, QWidget* parent)
    : QWidget(parent), index_(index), icon_(EditorToolIcon(index, kSide - 4)) {
  setFixedSize(kSide, kSide);
  setFocusPolicy(Qt::NoFocus);  // no tool button is a tab stop
  setAttribute(Qt::WA_Hover);
}

void EditorToolButton::SetLook(const QColor& background, Frame frame) {
  background_ = background;
  frame_ = frame;
  update();
}

void EditorToolButton::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), background_);
  const int shift = frame_ == Frame::Sunken ? 1 : 0;
  if (isEnabled()) {
    painter.drawPixmap(2 + shift, 2 + shift, icon_);
  } else {
    // The style's greyed picture, as on any disabled button, so it looks unusable at a glance.
    QStyleOption option;
    option.initFrom(this);
    painter.drawPixmap(2, 2, style()->generatedIconPixmap(QIcon::Disabled, icon_, &option));
  }
  if (frame_ == Frame::None) return;
  const QColor light(255, 255, 255);
  const QColor dark(96, 96, 96);
  const QColor topLeft = frame_ == Frame::Raised ? light : dark;
  const QColor bottomRight = frame_ == Frame::Raised ? dark : light;
  painter.setPen(topLeft);
  painter.drawLine(0, 0, width() - 1, 0);
  painter.drawLine(0, 0, 0, height() - 1);
  painter.setPen(bottomRight);
  painter.drawLine(width() - 1, 0, width() - 1, height() - 1);
  painter.drawLine(0, height() - 1, width() - 1, height() - 1);
}

void EditorToolButton::enterEvent(QEnterEvent*) { emit Entered(index_); }
void EditorToolButton::leaveEvent(QEvent*) { emit Left(index_); }

void EditorToolButton::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) emit Pressed(index_);
}

void EditorToolButton::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) emit Released(index_, rect().contains(event->position().toPoint()));
}

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
