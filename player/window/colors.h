#pragma once

#include <QColor>

// The Player's colours. The values are kept in the 0xBBGGRR form the stored designs use and
// turned into QColor here, so a value can be checked against the design table digit for digit.
namespace lyrova::colors {

inline QColor FromBgr(unsigned bgr) {
  return QColor::fromRgb(int(bgr & 0xFF), int((bgr >> 8) & 0xFF), int((bgr >> 16) & 0xFF));
}

inline const QColor kPlayed = FromBgr(0xFFFF80);
inline const QColor kUnplayed = FromBgr(0x807FFF);
inline const QColor kNextSpan = FromBgr(0xFFC0C0);
inline const QColor kMarker = FromBgr(0xC0C000);
inline const QColor kVolumeFill = FromBgr(0xC00000);
inline const QColor kButtonRest = FromBgr(0xFFFFFF);
inline const QColor kButtonHover = FromBgr(0x80FF80);
inline const QColor kButtonPressed = FromBgr(0xFF8080);
inline const QColor kBand = FromBgr(0xC00000);
inline const QColor kCurrentLine = FromBgr(0x00FF00);
inline const QColor kNextLine = FromBgr(0xFF00FF);
inline const QColor kHintText = FromBgr(0x80FFFF);
inline const QColor kPanel = FromBgr(0xCFEEFC);

}  // namespace lyrova::colors
