#include "player/shell/platformchoice.h"

namespace lyrova {

PlatformChoice ChoosePlatform(const std::function<QByteArray(const char*)>& variable) {
  // A platform the user named wins.
  if (!variable("QT_QPA_PLATFORM").isEmpty()) return {};
  const bool x11 = !variable("DISPLAY").isEmpty();
  const bool wayland = !variable("WAYLAND_DISPLAY").isEmpty();
  if (x11) return {wayland ? QByteArrayLiteral("xcb") : QByteArray(), false};
  if (wayland) return {};
  return {QByteArrayLiteral("offscreen"), true};
}

bool ShowsNothing(const QString& platformName) {
  return platformName == u"offscreen" || platformName == u"minimal";
}

QString EffectsNote(const QString& platformName) {
  if (!platformName.startsWith(u"wayland")) return {};
  return QStringLiteral("此桌面不支持置顶、透明和拖动窗口");
}

}  // namespace lyrova
