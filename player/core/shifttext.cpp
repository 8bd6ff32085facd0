#include "player/core/shifttext.h"

#include <algorithm>
#include <cstdlib>

namespace lyrova {
namespace {

// Seconds in the shortest decimal form: 1.5 gives "1.5", 15 gives "15".
QString GeneralSeconds(qint32 ms) { return QString::number(ms / 1000.0, 'g', 10); }

}  // namespace

QString ShiftItemCaption(qint32 index) {
  return QString::number((index + 1) * 0.5, 'f', 1) + QStringLiteral(" 秒");
}

ShiftMenuState ShiftMenuFor(qint32 shiftMs) {
  ShiftMenuState state;
  state.noShiftChecked = shiftMs == 0;
  state.advanceCaption = QStringLiteral("歌词提前↑");
  state.delayCaption = QStringLiteral("歌词延迟↓");
  if (shiftMs > 0)
    state.advanceCaption += QStringLiteral(": ") + GeneralSeconds(shiftMs) + QStringLiteral(" 秒");
  if (shiftMs < 0)
    state.delayCaption += QStringLiteral(": ") + GeneralSeconds(-shiftMs) + QStringLiteral(" 秒");
  // Only whole half-second steps within the menu's range have an item to check.
  const qint32 steps = shiftMs / kShiftStepMs;
  if (shiftMs % kShiftStepMs == 0 && std::abs(steps) <= kShiftMenuItems) {
    if (steps > 0) state.advanceChecked = steps - 1;
    if (steps < 0) state.delayChecked = -steps - 1;
  }
  return state;
}

qint32 StepShift(qint32 shiftMs, qint32 stepMs) {
  return std::clamp(shiftMs + stepMs, -kShiftKeyLimitMs, kShiftKeyLimitMs);
}

QString ShiftStepLabel(qint32 shiftMs) {
  const QString prefix = shiftMs < 0 ? QStringLiteral("减慢 ") : QStringLiteral("加快 ");
  const QString seconds = QString::number(std::abs(shiftMs) / 1000.0, 'f', 1).rightJustified(4, u'0');
  return prefix + seconds + QStringLiteral("秒");
}

}  // namespace lyrova
