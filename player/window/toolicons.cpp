#include "player/window/toolicons.h"

#include <QPainter>
#include <QPainterPath>

#include <cmath>

namespace lyrova {

QPixmap ToolIcon(PlayerButton button, int variant) {
  QPixmap pixmap(kPlayerIconSide, kPlayerIconSide);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  const QColor ink(40, 40, 90);
  const QColor accent = variant ? QColor(200, 30, 30) : QColor(120, 120, 120);
  p.setPen(QPen(ink, 1.4));
  p.setBrush(ink);
  switch (button) {
    case PlayerButton::Open: {  // open: a folder
      p.setBrush(QColor(235, 190, 60));
      p.drawRect(QRectF(1.5, 4.5, 11, 7.5));
      p.drawRect(QRectF(1.5, 2.5, 5, 2));
      break;
    }
    case PlayerButton::Play: {  // play
      QPainterPath path;
      path.moveTo(3.5, 2);
      path.lineTo(12, 7);
      path.lineTo(3.5, 12);
      path.closeSubpath();
      p.setBrush(QColor(30, 140, 30));
      p.drawPath(path);
      break;
    }
    case PlayerButton::Pause:  // pause
      p.drawRect(QRectF(3.5, 2.5, 2, 9));
      p.drawRect(QRectF(8.5, 2.5, 2, 9));
      break;
    case PlayerButton::Stop:  // stop
      p.setBrush(QColor(170, 30, 30));
      p.drawRect(QRectF(3, 3, 8, 8));
      break;
    case PlayerButton::KeepOnTop: {  // keep on top: a pin, red when on
      p.setPen(QPen(accent, 1.6));
      p.setBrush(accent);
      p.drawEllipse(QPointF(7, 4.5), 3, 3);
      p.drawLine(QPointF(7, 7.5), QPointF(7, 13));
      break;
    }
    case PlayerButton::SendLyrics: {  // sending: a speech bubble, red when on
      p.setPen(QPen(accent, 1.4));
      p.setBrush(variant ? accent : Qt::transparent);
      p.drawRoundedRect(QRectF(1.5, 2, 11, 7.5), 2, 2);
      p.drawLine(QPointF(4, 9.5), QPointF(3, 12.5));
      break;
    }
    case PlayerButton::SendTarget:  // send target: cross hairs
      p.setBrush(Qt::NoBrush);
      p.drawEllipse(QPointF(7, 7), 4.5, 4.5);
      p.drawLine(QPointF(7, 0.5), QPointF(7, 13.5));
      p.drawLine(QPointF(0.5, 7), QPointF(13.5, 7));
      break;
    case PlayerButton::ShiftTiming: {  // lyric shift: up and down arrows
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
      break;
    }
    case PlayerButton::Decoration: {  // decoration: a star
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
      break;
    }
    case PlayerButton::ChatStrip:  // chat strip: a text box with a caret
      p.setBrush(Qt::NoBrush);
      p.drawRect(QRectF(1.5, 4, 11, 6));
      p.drawLine(QPointF(4, 5.5), QPointF(4, 8.5));
      break;
    case PlayerButton::Settings: {  // settings: a gear
      p.setBrush(Qt::NoBrush);
      p.setPen(QPen(ink, 2));
      for (int i = 0; i < 8; ++i) {
        const double a = i * M_PI / 4;
        p.drawLine(QPointF(7 + 4 * std::cos(a), 7 + 4 * std::sin(a)),
                   QPointF(7 + 6 * std::cos(a), 7 + 6 * std::sin(a)));
      }
      p.setPen(QPen(ink, 1.6));
      p.drawEllipse(QPointF(7, 7), 3.6, 3.6);
      break;
    }
    case PlayerButton::Help: {  // help: a question mark
      QFont font = p.font();
      font.setBold(true);
      font.setPixelSize(12);
      p.setFont(font);
      p.drawText(QRectF(0, 0, kPlayerIconSide, kPlayerIconSide), Qt::AlignCenter, QStringLiteral("?"));
      break;
    }
    case PlayerButton::Exit:  // exit: a cross
      p.setPen(QPen(QColor(170, 30, 30), 2));
      p.drawLine(QPointF(3, 3), QPointF(11, 11));
      p.drawLine(QPointF(11, 3), QPointF(3, 11));
      break;
  }
  return pixmap;
}

}  // namespace lyrova
