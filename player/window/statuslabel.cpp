#include "player/window/statuslabel.h"

#include <QFontInfo>
#include <QFontMetrics>

namespace lyrova {
namespace {

constexpr double kPointStep = 0.5;

}  // namespace

StatusLabel::StatusLabel(QWidget* parent) : QLabel(parent), normal_(font()) {}

void StatusLabel::SetStatus(const QString& text, Fit fit) {
  // The clock is set on every 10 ms tick but changes once a second: measuring is for changes.
  if (text == full_ && fit == fit_) return;
  full_ = text;
  fit_ = fit;
  Refit();
}

void StatusLabel::resizeEvent(QResizeEvent* event) {
  QLabel::resizeEvent(event);
  Refit();
}

void StatusLabel::Refit() {
  const int room = contentsRect().width();
  QFont shown = normal_;
  if (fit_ == Fit::Whole) {
    // A font given in pixels has no point size to step; it is converted once.
    if (shown.pointSizeF() <= 0) shown.setPointSizeF(QFontInfo(shown).pointSizeF());
    while (QFontMetrics(shown).horizontalAdvance(full_) > room &&
           shown.pointSizeF() - kPointStep >= kSmallestPoints)
      shown.setPointSizeF(shown.pointSizeF() - kPointStep);
  }
  if (font() != shown) setFont(shown);
  setText(fit_ == Fit::Whole ? full_
                             : QFontMetrics(shown).elidedText(full_, Qt::ElideRight, room));
}

}  // namespace lyrova
