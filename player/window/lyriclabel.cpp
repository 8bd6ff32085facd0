#include "player/window/lyriclabel.h"

#include <QEvent>
#include <QFontMetricsF>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace lyrova {

LyricLabel::LyricLabel(Overflow overflow, QWidget* parent) : QLabel(parent), overflow_(overflow) {
  setTextFormat(Qt::PlainText);
}

const QTextLayout& LyricLabel::Layout() const {
  if (!layout_ || layoutText_ != text()) {
    layoutText_ = text();
    layout_ = std::make_unique<QTextLayout>(layoutText_, font());
    layout_->beginLayout();
    QTextLine line = layout_->createLine();
    if (line.isValid()) line.setNumColumns(int(layoutText_.size()));
    layout_->endLayout();
  }
  return *layout_;
}

void LyricLabel::changeEvent(QEvent* event) {
  if (event->type() == QEvent::FontChange) layout_.reset();
  QLabel::changeEvent(event);
}

double LyricLabel::TextWidth() const {
  const QTextLayout& layout = Layout();
  return layout.lineCount() > 0 ? layout.lineAt(0).naturalTextWidth() : 0;
}

double LyricLabel::SungX() const {
  if (progress_.sungChars < 0) return -1;
  const QTextLayout& layout = Layout();
  if (layout.lineCount() == 0) return 0;
  const QTextLine line = layout.lineAt(0);
  const int size = int(layoutText_.size());
  const int from = std::clamp(progress_.sungChars, 0, size);
  const int to = std::clamp(progress_.sungChars + progress_.wordChars, from, size);
  const double start = line.cursorToX(from);
  return start + (line.cursorToX(to) - start) * progress_.wordFraction;
}

double LyricLabel::ScrollOffset() const {
  if (overflow_ != Overflow::Scroll) return 0;
  return ScrollOffsetFor(TextWidth(), width(), progress_, SungX());
}

void LyricLabel::SetProgress(const LineProgress& progress) {
  const double oldOffset = ScrollOffset();
  const double oldX = SungX();
  progress_ = progress;
  const double offset = ScrollOffset();
  const double x = SungX();
  if (offset != oldOffset || oldX < 0 || x < 0) {
    update();
    return;
  }
  const double left = std::min(oldX, x) - offset;
  const double right = std::max(oldX, x) - offset;
  update(QRect(int(std::floor(left)) - 1, 0, int(std::ceil(right - left)) + 3, height()));
}

void LyricLabel::paintEvent(QPaintEvent* event) {
  const double textWidth = TextWidth();
  const bool fits = textWidth <= width();
  if (progress_.sungChars < 0 && fits) {
    QLabel::paintEvent(event);
    return;
  }
  QPainter painter(this);
  painter.setClipRect(event->rect());
  const QColor normal = palette().color(QPalette::WindowText);
  if (overflow_ == Overflow::Elide && !fits) {
    painter.setPen(normal);
    painter.drawText(rect(), Qt::AlignLeft | Qt::AlignVCenter,
                     fontMetrics().elidedText(text(), Qt::ElideRight, width()));
    return;
  }
  const QTextLayout& layout = Layout();
  const double top = (height() - QFontMetricsF(font()).height()) / 2;
  const QPointF at(-ScrollOffset(), top);
  const double sungX = SungX();
  const double split = sungX < 0 ? 0 : sungX + at.x();
  // The sung part left of the split, the rest right of it: each painted only where it shows.
  const QRectF whole(event->rect());
  const QRectF sung = whole.intersected(QRectF(0, 0, split, height()));
  const QRectF unsung = whole.intersected(QRectF(split, 0, width() - split, height()));
  painter.setPen(normal);
  if (!unsung.isEmpty()) {
    painter.save();
    painter.setClipRect(unsung);
    layout.draw(&painter, at);
    painter.restore();
  }
  if (!sung.isEmpty()) {
    painter.setPen(sungColor_);
    painter.setClipRect(sung);
    layout.draw(&painter, at);
  }
}

}  // namespace lyrova
