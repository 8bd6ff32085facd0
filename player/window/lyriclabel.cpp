#include "player/window/lyriclabel.h"

#include <QEvent>
#include <QFontMetricsF>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace lyrova {

// The label paints its own background (the strip's colour), so a repaint of a few pixels of a
// sung word does not repaint the strip beneath it as well.
LyricLabel::LyricLabel(Overflow overflow, QWidget* parent) : QLabel(parent), overflow_(overflow) {
  setTextFormat(Qt::PlainText);
  setAttribute(Qt::WA_OpaquePaintEvent);
}

const QTextLayout& LyricLabel::Layout() const {
  if (!layout_ || layoutText_ != text()) {
    layoutText_ = text();
    layout_ = std::make_unique<QTextLayout>(layoutText_, font());
    layout_->beginLayout();
    QTextLine line = layout_->createLine();
    if (line.isValid()) line.setNumColumns(int(layoutText_.size()));
    layout_->endLayout();
    cursorX_.clear();
  }
  return *layout_;
}

double LyricLabel::CursorX(int position) const {
  const QTextLayout& layout = Layout();
  if (const auto known = cursorX_.constFind(position); known != cursorX_.cend()) return *known;
  const double x = layout.lineCount() > 0 ? layout.lineAt(0).cursorToX(position) : 0;
  cursorX_.insert(position, x);
  return x;
}

void LyricLabel::changeEvent(QEvent* event) {
  if (event->type() == QEvent::FontChange) {
    layout_.reset();
    cursorX_.clear();
  }
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
  const int size = int(layoutText_.size());
  const int from = std::clamp(progress_.sungChars, 0, size);
  const int to = std::clamp(progress_.sungChars + progress_.wordChars, from, size);
  const double start = CursorX(from);
  return start + (CursorX(to) - start) * progress_.wordFraction;
}

double LyricLabel::ScrollOffset() const {
  if (overflow_ != Overflow::Scroll) return 0;
  return ScrollOffsetFor(TextWidth(), width(), progress_, SungX());
}

void LyricLabel::SetProgress(const LineProgress& progress) {
  if (progress == progress_) return;
  const double oldOffset = ScrollOffset();
  const double oldX = SungX();
  progress_ = progress;
  const double offset = ScrollOffset();
  const double x = SungX();
  if (offset != oldOffset || oldX < 0 || x < 0) {
    update();
    return;
  }
  if (x == oldX) return;
  const double left = std::min(oldX, x) - offset;
  const double right = std::max(oldX, x) - offset;
  update(QRect(int(std::floor(left)) - 1, 0, int(std::ceil(right - left)) + 3, height()));
}

bool LyricLabel::UpdatePicture(const QColor& normal, const QColor& background) {
  // Wider than this the pictures would cost more memory than drawing the glyphs costs time.
  constexpr int kWidestPicture = 8192;
  const int pictureWidth = int(std::ceil(TextWidth())) + 2;
  if (pictureWidth > kWidestPicture) return false;
  const qreal scale = devicePixelRatioF();
  if (picture_.text == layoutText_ && picture_.font == font() && picture_.normal == normal &&
      picture_.sung == sungColor_ && picture_.background == background &&
      picture_.height == height() && picture_.scale == scale && !picture_.normalPixmap.isNull())
    return true;
  picture_ = Picture{layoutText_, font(), normal, sungColor_, background, height(), scale, {}, {}};
  const double top = (height() - QFontMetricsF(font()).height()) / 2;
  for (auto [pixmap, color] : {std::pair{&picture_.normalPixmap, normal}, {&picture_.sungPixmap, sungColor_}}) {
    *pixmap = QPixmap(QSize(pictureWidth, height()) * scale);
    pixmap->setDevicePixelRatio(scale);
    pixmap->fill(background);
    QPainter painter(pixmap);
    painter.setPen(color);
    Layout().draw(&painter, QPointF(0, top));
  }
  return true;
}

void LyricLabel::paintEvent(QPaintEvent* event) {
  const QWidget* strip = parentWidget();
  const QColor background = strip != nullptr ? strip->palette().color(strip->backgroundRole())
                                             : palette().color(backgroundRole());
  const double textWidth = TextWidth();
  const bool fits = textWidth <= width();
  if (progress_.sungChars < 0 && fits) {
    QPainter(this).fillRect(event->rect(), background);
    QLabel::paintEvent(event);
    return;
  }
  QPainter painter(this);
  painter.fillRect(event->rect(), background);
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
  if (UpdatePicture(normal, background)) {
    const QPointF origin(std::round(at.x()), 0);
    for (const auto& [area, pixmap] : {std::pair{unsung, &picture_.normalPixmap}, {sung, &picture_.sungPixmap}}) {
      if (area.isEmpty()) continue;
      painter.setClipRect(area);
      painter.drawPixmap(origin, *pixmap);
    }
    return;
  }
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
