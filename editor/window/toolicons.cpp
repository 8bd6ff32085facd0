// The Editor's tool-button pictures and logo, drawn with simple shapes so that no image files
// have to ship with the program. Colours follow the groups: file blue, edit green, tags
// orange, playback purple.
#include "editor/core/commandtable.h"
#include "editor/window/editorwidgets.h"

#include <QPainter>
#include <QPainterPath>

namespace lyrova {

namespace {

QColor GroupColor(int command) {
  if (command <= kCmdLayout) return QColor(30, 90, 170);
  if (command <= kCmdSort) return QColor(30, 130, 60);
  if (command <= kCmdRemoveTag) return QColor(200, 100, 0);
  return QColor(110, 50, 150);
}

void Triangle(QPainter& p, QPointF a, QPointF b, QPointF c) {
  QPainterPath path(a);
  path.lineTo(b);
  path.lineTo(c);
  path.closeSubpath();
  p.fillPath(path, p.pen().color());
}

void Text(QPainter& p, const QRectF& r, const QString& text, qreal pixelSize) {
  QFont font = p.font();
  font.setPixelSize(int(pixelSize));
  font.setBold(true);
  p.setFont(font);
  p.drawText(r, Qt::AlignCenter, text);
}

// A page with text lines: the lyrics document.
void Page(QPainter& p, qreal s) {
  p.drawRect(QRectF(s * 0.2, s * 0.1, s * 0.55, s * 0.8));
  for (int i = 0; i < 3; ++i) p.drawLine(QPointF(s * 0.3, s * (0.3 + 0.17 * i)), QPointF(s * 0.65, s * (0.3 + 0.17 * i)));
}

// A clock face: the time tag.
void Clock(QPainter& p, QRectF r) {
  p.drawEllipse(r);
  const QPointF c = r.center();
  p.drawLine(c, QPointF(c.x(), r.top() + r.height() * 0.2));
  p.drawLine(c, QPointF(r.right() - r.width() * 0.25, c.y()));
}

void Arrow(QPainter& p, qreal s, bool up) {
  const qreal tip = up ? s * 0.12 : s * 0.88;
  const qreal base = up ? s * 0.5 : s * 0.5;
  Triangle(p, {s * 0.5, tip}, {s * 0.18, base}, {s * 0.82, base});
  p.drawLine(QPointF(s * 0.5, s * 0.45), QPointF(s * 0.5, up ? s * 0.9 : s * 0.1));
}

// The file commands: open, save, new and layout.
void DrawFileIcon(QPainter& p, int command, qreal s) {
  switch (command) {
    case kCmdOpenAudio:  // a note
      p.setBrush(p.pen().color());
      p.drawEllipse(QRectF(s * 0.15, s * 0.62, s * 0.3, s * 0.24));
      p.drawEllipse(QRectF(s * 0.55, s * 0.52, s * 0.3, s * 0.24));
      p.drawLine(QPointF(s * 0.43, s * 0.72), QPointF(s * 0.43, s * 0.15));
      p.drawLine(QPointF(s * 0.83, s * 0.62), QPointF(s * 0.83, s * 0.08));
      p.drawLine(QPointF(s * 0.43, s * 0.15), QPointF(s * 0.83, s * 0.08));
      break;
    case kCmdOpenLyrics:  // a folder
      p.drawRect(QRectF(s * 0.1, s * 0.3, s * 0.8, s * 0.55));
      p.drawLine(QPointF(s * 0.1, s * 0.3), QPointF(s * 0.2, s * 0.18));
      p.drawLine(QPointF(s * 0.2, s * 0.18), QPointF(s * 0.45, s * 0.18));
      p.drawLine(QPointF(s * 0.45, s * 0.18), QPointF(s * 0.52, s * 0.3));
      break;
    case kCmdSave:  // a disk
    case kCmdSaveAs:
      p.drawRect(QRectF(s * 0.12, s * 0.12, s * 0.76, s * 0.76));
      p.fillRect(QRectF(s * 0.3, s * 0.12, s * 0.4, s * 0.28), p.pen().color());
      p.drawRect(QRectF(s * 0.25, s * 0.55, s * 0.5, s * 0.33));
      if (command == kCmdSaveAs) Text(p, QRectF(s * 0.25, s * 0.52, s * 0.5, s * 0.4), QStringLiteral("+"), s * 0.4);
      break;
    case kCmdNewOrClear:  // a page with a star
      Page(p, s);
      Text(p, QRectF(s * 0.45, s * 0.45, s * 0.55, s * 0.55), QStringLiteral("*"), s * 0.6);
      break;
    case kCmdLayout:  // lines folded into one
      for (int i = 0; i < 3; ++i) p.drawLine(QPointF(s * 0.1, s * (0.25 + 0.25 * i)), QPointF(s * 0.45, s * (0.25 + 0.25 * i)));
      Triangle(p, {s * 0.9, s * 0.5}, {s * 0.55, s * 0.28}, {s * 0.55, s * 0.72});
      break;
    default: break;
  }
}

// The line-editing commands and text mode.
void DrawEditIcon(QPainter& p, int command, qreal s) {
  switch (command) {
    case kCmdTextMode:  // "T"
      Text(p, QRectF(0, 0, s, s), QStringLiteral("T"), s * 0.85);
      break;
    case kCmdNewLine:
      Page(p, s);
      Text(p, QRectF(s * 0.4, s * 0.4, s * 0.6, s * 0.6), QStringLiteral("+"), s * 0.7);
      break;
    case kCmdDuplicateLine:
      p.drawRect(QRectF(s * 0.1, s * 0.1, s * 0.5, s * 0.55));
      p.drawRect(QRectF(s * 0.38, s * 0.35, s * 0.5, s * 0.55));
      break;
    case kCmdDeleteLine:
      p.drawLine(QPointF(s * 0.2, s * 0.2), QPointF(s * 0.8, s * 0.8));
      p.drawLine(QPointF(s * 0.8, s * 0.2), QPointF(s * 0.2, s * 0.8));
      break;
    case kCmdMoveUp: Arrow(p, s, true); break;
    case kCmdMoveDown: Arrow(p, s, false); break;
    case kCmdSort:
      for (int i = 0; i < 3; ++i) p.drawLine(QPointF(s * 0.1, s * (0.25 + 0.25 * i)), QPointF(s * (0.25 + 0.15 * i), s * (0.25 + 0.25 * i)));
      Triangle(p, {s * 0.75, s * 0.9}, {s * 0.55, s * 0.6}, {s * 0.95, s * 0.6});
      p.drawLine(QPointF(s * 0.75, s * 0.1), QPointF(s * 0.75, s * 0.65));
      break;
    default: break;
  }
}

// The time-tag commands.
void DrawTagIcon(QPainter& p, int command, qreal s) {
  switch (command) {
    case kCmdStamp:  // a clock with a check
      Clock(p, QRectF(s * 0.1, s * 0.1, s * 0.8, s * 0.8));
      p.setBrush(p.pen().color());
      p.drawEllipse(QRectF(s * 0.44, s * 0.44, s * 0.12, s * 0.12));
      break;
    case kCmdLineEarlier: Text(p, QRectF(0, 0, s, s), QStringLiteral("-½"), s * 0.55); break;
    case kCmdLineLater: Text(p, QRectF(0, 0, s, s), QStringLiteral("+½"), s * 0.55); break;
    case kCmdAllEarlier:
      Text(p, QRectF(0, s * 0.1, s, s * 0.9), QStringLiteral("-½"), s * 0.5);
      p.drawLine(QPointF(s * 0.1, s * 0.15), QPointF(s * 0.9, s * 0.15));
      break;
    case kCmdAllLater:
      Text(p, QRectF(0, s * 0.1, s, s * 0.9), QStringLiteral("+½"), s * 0.5);
      p.drawLine(QPointF(s * 0.1, s * 0.15), QPointF(s * 0.9, s * 0.15));
      break;
    case kCmdSyncCorrection:  // two clocks lined up
      Clock(p, QRectF(s * 0.05, s * 0.3, s * 0.45, s * 0.45));
      Clock(p, QRectF(s * 0.5, s * 0.3, s * 0.45, s * 0.45));
      break;
    case kCmdOffset: Text(p, QRectF(0, 0, s, s), QStringLiteral("±"), s * 0.85); break;
    case kCmdRemoveTag:
      Clock(p, QRectF(s * 0.1, s * 0.1, s * 0.8, s * 0.8));
      p.drawLine(QPointF(s * 0.1, s * 0.9), QPointF(s * 0.9, s * 0.1));
      break;
    default: break;
  }
}

// The playback commands.
void DrawPlaybackIcon(QPainter& p, int command, qreal s) {
  switch (command) {
    case kCmdPlay: Triangle(p, {s * 0.25, s * 0.15}, {s * 0.85, s * 0.5}, {s * 0.25, s * 0.85}); break;
    case kCmdPlayFromLine:
      p.drawLine(QPointF(s * 0.15, s * 0.15), QPointF(s * 0.15, s * 0.85));
      Triangle(p, {s * 0.35, s * 0.15}, {s * 0.9, s * 0.5}, {s * 0.35, s * 0.85});
      break;
    case kCmdPause:
      p.fillRect(QRectF(s * 0.22, s * 0.15, s * 0.2, s * 0.7), p.pen().color());
      p.fillRect(QRectF(s * 0.58, s * 0.15, s * 0.2, s * 0.7), p.pen().color());
      break;
    case kCmdBack5s:
      Triangle(p, {s * 0.05, s * 0.5}, {s * 0.48, s * 0.2}, {s * 0.48, s * 0.8});
      Triangle(p, {s * 0.48, s * 0.5}, {s * 0.92, s * 0.2}, {s * 0.92, s * 0.8});
      break;
    case kCmdForward5s:
      Triangle(p, {s * 0.08, s * 0.2}, {s * 0.52, s * 0.5}, {s * 0.08, s * 0.8});
      Triangle(p, {s * 0.52, s * 0.2}, {s * 0.95, s * 0.5}, {s * 0.52, s * 0.8});
      break;
    case kCmdStop: p.fillRect(QRectF(s * 0.2, s * 0.2, s * 0.6, s * 0.6), p.pen().color()); break;
    default: break;
  }
}

}  // namespace

QPixmap EditorToolIcon(int command, int side) {
  QPixmap pixmap(side, side);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  const qreal s = side;
  p.setPen(QPen(GroupColor(command), qMax(1.5, s / 12)));
  p.setBrush(Qt::NoBrush);
  if (command <= kCmdLayout)
    DrawFileIcon(p, command, s);
  else if (command <= kCmdSort)
    DrawEditIcon(p, command, s);
  else if (command <= kCmdRemoveTag)
    DrawTagIcon(p, command, s);
  else
    DrawPlaybackIcon(p, command, s);
  return pixmap;
}

QPixmap EditorLogo(QSize size) {
  QPixmap pixmap(size);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  const qreal h = size.height();
  p.setPen(QPen(QColor(110, 50, 150), qMax(1.5, h / 10)));
  Clock(p, QRectF(2, 2, h - 4, h - 4));
  QFont font = p.font();
  font.setPixelSize(int(h * 0.6));
  font.setBold(true);
  p.setFont(font);
  p.setPen(QColor(30, 90, 170));
  p.drawText(QRectF(h + 2, 0, size.width() - h - 2, h), Qt::AlignVCenter | Qt::AlignLeft, QStringLiteral("Versel"));
  return pixmap;
}

}  // namespace lyrova
