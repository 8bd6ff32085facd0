#include "player/window/bars.h"

#include "player/window/colors.h"

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <cstdlib>

namespace lyrova {

// Both bars paint every pixel of themselves, so nothing behind them is painted first.
ProgressBar::ProgressBar(QWidget* parent) : QWidget(parent) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  setToolTip(QStringLiteral("播放进度"));
  setMouseTracking(false);
}

namespace {

// The columns from x to x2, both included (the marker's pixel stands on one of them).
QRect Columns(int x, int x2, int height) {
  return QRect(std::min(x, x2), 0, std::abs(x2 - x) + 1, height);
}

}  // namespace

// Only the columns whose colour changes are painted again: between the old and the new played
// end, and between the old and the new end of the next line's span. The bar moves a pixel at a
// time while a song plays, and the window around it need not be composed anew for that.
void ProgressBar::SetPicture(const ProgressPicture& picture) {
  if (picture.playedX == picture_.playedX && picture.nextX == picture_.nextX &&
      picture.showSpan == picture_.showSpan)
    return;
  QRegion changed = Columns(picture_.playedX, picture.playedX, height());
  if (picture.showSpan != picture_.showSpan) {
    changed = rect();
  } else if (picture.showSpan) {
    changed += Columns(picture_.nextX, picture.nextX, height());
  }
  picture_ = picture;
  update(changed);
}

void ProgressBar::paintEvent(QPaintEvent*) {
  QPainter p(this);
  const int h = height();
  p.fillRect(0, 0, picture_.playedX, h, colors::kPlayed);
  p.fillRect(picture_.playedX, 0, width() - picture_.playedX, h, colors::kUnplayed);
  if (picture_.showSpan) {
    p.fillRect(picture_.playedX, 0, picture_.nextX - picture_.playedX, h, colors::kNextSpan);
    p.setPen(colors::kMarker);
    p.drawLine(picture_.playedX, 0, picture_.playedX, h);
  }
}

void ProgressBar::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) emit Pressed(event->position().toPoint().x());
}

void ProgressBar::mouseMoveEvent(QMouseEvent* event) {
  if (event->buttons() & Qt::LeftButton) emit Dragged(event->position().toPoint().x());
}

void ProgressBar::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) emit ReleasedAt(event->position().toPoint().x());
}

VolumeBar::VolumeBar(QWidget* parent) : QWidget(parent) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  setToolTip(QStringLiteral("音量"));
  setMouseTracking(true);
}

void VolumeBar::SetFillWidth(int width) {
  if (fill_ == width) return;
  fill_ = width;
  update();
}

void VolumeBar::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(0, 0, fill_, height(), colors::kVolumeFill);
  p.fillRect(fill_, 0, width() - fill_, height(), colors::kPanel);
}

void VolumeBar::mousePressEvent(QMouseEvent* event) { emit VolumeAt(event->position().toPoint().x()); }

void VolumeBar::mouseMoveEvent(QMouseEvent* event) {
  if (event->buttons() & Qt::LeftButton) {
    emit VolumeAt(event->position().toPoint().x());
  } else if (event->buttons() == Qt::NoButton) {
    emit PointerAt(rect().contains(event->position().toPoint()));
  }
}

void VolumeBar::mouseReleaseEvent(QMouseEvent* event) {
  emit PointerAt(rect().contains(event->position().toPoint()));
}

}  // namespace lyrova
