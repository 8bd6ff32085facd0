#include "player/window/toolicons.h"

#include <QPainter>
#include <QPainterPath>

#include <cmath>

namespace lyrova {

namespace {

// Each picture is drawn on a 14-pixel square whose pen and brush start as the ink.

void DrawFolder(QPainter& p) {
  p.setBrush(QColor(235, 190, 60));
  p.drawRect(QRectF(1.5, 4.5, 11, 7.5));
  p.drawRect(QRectF(1.5, 2.5, 5, 2));
}

void DrawPlay(QPainter& p) {
  QPainterPath path;
  path.moveTo(3.5, 2);
  path.lineTo(12, 7);
  path.lineTo(3.5, 12);
  path.closeSubpath();
  p.setBrush(QColor(30, 140, 30));
  p.drawPath(path);
}

void DrawPause(QPainter& p) {
  p.drawRect(QRectF(3.5, 2.5, 2, 9));
  p.drawRect(QRectF(8.5, 2.5, 2, 9));
}

void DrawStop(QPainter& p) {
  p.setBrush(QColor(170, 30, 30));
  p.drawRect(QRectF(3, 3, 8, 8));
}

// The two switches: grey when off, red when on.
QColor SwitchColor(bool on) { return on ? QColor(200, 30, 30) : QColor(120, 120, 120); }

void DrawPin(QPainter& p, bool on) {
  const QColor accent = SwitchColor(on);
  p.setPen(QPen(accent, 1.6));
  p.setBrush(accent);
  p.drawEllipse(QPointF(7, 4.5), 3, 3);
  p.drawLine(QPointF(7, 7.5), QPointF(7, 13));
}

void DrawSpeechBubble(QPainter& p, bool on) {
  const QColor accent = SwitchColor(on);
  p.setPen(QPen(accent, 1.4));
  p.setBrush(on ? accent : Qt::transparent);
  p.drawRoundedRect(QRectF(1.5, 2, 11, 7.5), 2, 2);
  p.drawLine(QPointF(4, 9.5), QPointF(3, 12.5));
}

void DrawCrossHairs(QPainter& p) {
  p.setBrush(Qt::NoBrush);
  p.drawEllipse(QPointF(7, 7), 4.5, 4.5);
  p.drawLine(QPointF(7, 0.5), QPointF(7, 13.5));
  p.drawLine(QPointF(0.5, 7), QPointF(13.5, 7));
}

void DrawUpAndDownArrows(QPainter& p) {
  QPainterPath up;
  up.moveTo(4, 1);
  up.lineTo(7, 5);
  up.lineTo(1, 5);
  up.closeSubpath();
  QPainterPath down;
  down.moveTo(10, 13);
  down.lineTo(13, 9);
  down.lineTo(7, 9);
  down.closeSubpath();
  p.drawPath(up);
  p.drawPath(down);
  p.drawLine(QPointF(4, 5), QPointF(4, 12));
  p.drawLine(QPointF(10, 2), QPointF(10, 9));
}

void DrawStar(QPainter& p) {
  QPainterPath star;
  for (int i = 0; i < 10; ++i) {
    const double r = i % 2 ? 2.6 : 6.2;
    const double a = -M_PI / 2 + i * M_PI / 5;
    const QPointF pt(7 + r * std::cos(a), 7.3 + r * std::sin(a));
    i ? star.lineTo(pt) : star.moveTo(pt);
  }
  star.closeSubpath();
  p.setBrush(QColor(240, 170, 0));
  p.setPen(QPen(QColor(150, 90, 0), 1));
  p.drawPath(star);
}

void DrawTextBox(QPainter& p) {
  p.setBrush(Qt::NoBrush);
  p.drawRect(QRectF(1.5, 4, 11, 6));
  p.drawLine(QPointF(4, 5.5), QPointF(4, 8.5));
}

void DrawGear(QPainter& p, const QColor& ink) {
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(ink, 2));
  for (int i = 0; i < 8; ++i) {
    const double a = i * M_PI / 4;
    p.drawLine(QPointF(7 + 4 * std::cos(a), 7 + 4 * std::sin(a)),
               QPointF(7 + 6 * std::cos(a), 7 + 6 * std::sin(a)));
  }
  p.setPen(QPen(ink, 1.6));
  p.drawEllipse(QPointF(7, 7), 3.6, 3.6);
}

void DrawQuestionMark(QPainter& p) {
  QFont font = p.font();
  font.setBold(true);
  font.setPixelSize(12);
  p.setFont(font);
  p.drawText(QRectF(0, 0, kPlayerIconSide, kPlayerIconSide), Qt::AlignCenter, QStringLiteral("?"));
}

void DrawCross(QPainter& p) {
  p.setPen(QPen(QColor(170, 30, 30), 2));
  p.drawLine(QPointF(3, 3), QPointF(11, 11));
  p.drawLine(QPointF(11, 3), QPointF(3, 11));
}

}  // namespace

QPixmap ToolIcon(PlayerButton button, int variant) {
  QPixmap pixmap(kPlayerIconSide, kPlayerIconSide);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  const QColor ink(40, 40, 90);
  p.setPen(QPen(ink, 1.4));
  p.setBrush(ink);
  const bool on = variant != 0;
  switch (button) {
    case PlayerButton::Open: DrawFolder(p); break;
    case PlayerButton::Play: DrawPlay(p); break;
    case PlayerButton::Pause: DrawPause(p); break;
    case PlayerButton::Stop: DrawStop(p); break;
    case PlayerButton::KeepOnTop: DrawPin(p, on); break;
    case PlayerButton::SendLyrics: DrawSpeechBubble(p, on); break;
    case PlayerButton::SendTarget: DrawCrossHairs(p); break;
    case PlayerButton::ShiftTiming: DrawUpAndDownArrows(p); break;
    case PlayerButton::Decoration: DrawStar(p); break;
    case PlayerButton::ChatStrip: DrawTextBox(p); break;
    case PlayerButton::Settings: DrawGear(p, ink); break;
    case PlayerButton::Help: DrawQuestionMark(p); break;
    case PlayerButton::Exit: DrawCross(p); break;
  }
  return pixmap;
}

}  // namespace lyrova
