#include "player/shell/windoweffects.h"

#include <QGuiApplication>

#include <algorithm>

namespace lyrova {

int AlphaForStep(int step) {
  const int s = std::clamp(step, 0, kTransparencySteps - 1);
  if (s == 0) return 255;
  // (10 - 0.5 s) / 10 * 255 = (20 - s) * 255 / 20, divided exactly with halves to even.
  const int numerator = (20 - s) * 255;
  const int quotient = numerator / 20;
  const int twiceRemainder = 2 * (numerator % 20);
  if (twiceRemainder > 20 || (twiceRemainder == 20 && quotient % 2 != 0)) return quotient + 1;
  return quotient;
}

double OpacityForStep(int step) { return AlphaForStep(step) / 255.0; }

QString TransparencyItemCaption(int step) {
  if (step == 0) return QStringLiteral("不透明");
  return QString::number(5 * step) + u'%';
}

QString TransparencyMenuCaption(int step) {
  return QStringLiteral("透明度: ") + QString::number(5 * step) + u'%';
}

bool LayeredAvailableOn(const QString& platformName) {
  const QString name = platformName.toLower();
  return name == u"xcb" || name == u"windows";
}

bool LayeredAvailable() {
  if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) == nullptr) return false;
  return LayeredAvailableOn(QGuiApplication::platformName());
}

}  // namespace lyrova
