#include "common/ui/toolbutton.h"

#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOption>

namespace lyrova {

ToolButton::ToolButton(int index, int side, QWidget* parent) : QWidget(parent), index_(index) {
  setFixedSize(side, side);
  setFocusPolicy(Qt::NoFocus);  // no tool button is a tab stop
  setAttribute(Qt::WA_Hover);
}

void ToolButton::SetIcon(const QPixmap& icon) {
  icon_ = icon;
  update();
}

void ToolButton::SetBackground(const QColor& color) {
  if (background_ == color) return;
  background_ = color;
  update();
}

void ToolButton::SetFrame(Frame frame) {
  if (frame_ == frame) return;
  frame_ = frame;
  update();
}

void ToolButton::SetLook(const QColor& background, Frame frame) {
  SetBackground(background);
  SetFrame(frame);
}

void ToolButton::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), background_);
  if (!icon_.isNull()) {
    const QSize size = icon_.deviceIndependentSize().toSize();
    const int x = (width() - size.width()) / 2;
    const int y = (height() - size.height()) / 2;
    if (isEnabled()) {
      const int shift = frame_ == Frame::Sunken ? 1 : 0;
      painter.drawPixmap(x + shift, y + shift, icon_);
    } else {
      QStyleOption option;
      option.initFrom(this);
      painter.drawPixmap(x, y, style()->generatedIconPixmap(QIcon::Disabled, icon_, &option));
    }
  }
  PaintFrame(painter);
}

void ToolButton::PaintFrame(QPainter& painter) const {
  switch (frame_) {
    case Frame::None:
      return;
    case Frame::Outline:
      painter.setPen(QColor(150, 150, 150));
      painter.drawRect(rect().adjusted(0, 0, -1, -1));
      return;
    case Frame::Raised:
    case Frame::Sunken:
      break;
  }
  const QColor light(255, 255, 255);
  const QColor dark(96, 96, 96);
  const bool raised = frame_ == Frame::Raised;
  painter.setPen(raised ? light : dark);
  painter.drawLine(0, 0, width() - 1, 0);
  painter.drawLine(0, 0, 0, height() - 1);
  painter.setPen(raised ? dark : light);
  painter.drawLine(width() - 1, 0, width() - 1, height() - 1);
  painter.drawLine(0, height() - 1, width() - 1, height() - 1);
}

void ToolButton::enterEvent(QEnterEvent*) { emit Entered(index_); }
void ToolButton::leaveEvent(QEvent*) { emit Left(index_); }

void ToolButton::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) emit Pressed(index_);
}

void ToolButton::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) emit Released(index_, rect().contains(event->position().toPoint()));
}

}  // namespace lyrova
