#pragma once

#include <QString>
#include <QtGlobal>

// Texts and menu states of the user's lyric shift: a positive shift shows lines earlier
// ("提前", advance), a negative one later ("延迟", delay).
namespace lyrova {

inline constexpr qint32 kShiftMenuItems = 30;  // 0.5 s to 15.0 s each way
inline constexpr qint32 kShiftStepMs = 500;
inline constexpr qint32 kShiftKeyLimitMs = 120'000;

// The caption of advance/delay item i (0-based): "0.5 秒" up to "15.0 秒".
QString ShiftItemCaption(qint32 index);

// The state of the advance/delay menu for a shift.
struct ShiftMenuState {
  bool noShiftChecked = false;
  QString advanceCaption;
  QString delayCaption;
  qint32 advanceChecked = -1;  // index into the advance items, -1 for none
  qint32 delayChecked = -1;
};
ShiftMenuState ShiftMenuFor(qint32 shiftMs);

// The shift after one held-arrow step, kept within +-120 s.
qint32 StepShift(qint32 shiftMs, qint32 stepMs);

// The status text while an arrow key steps the shift: "加快 05.5秒" or "减慢 02.0秒".
QString ShiftStepLabel(qint32 shiftMs);

}  // namespace lyrova
