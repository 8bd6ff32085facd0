#include "common/displaytext.h"

namespace lyrova {

QString DisplayText(const QString& text, qsizetype maxChars) {
  maxChars = qMax<qsizetype>(maxChars, 1);
  if (text.size() <= maxChars) return text;
  qsizetype keep = maxChars - 1;  // room for the ellipsis
  if (keep > 0 && text.at(keep - 1).isHighSurrogate() && text.at(keep).isLowSurrogate()) --keep;
  QString shown;
  shown.reserve(keep + 1);
  shown.append(QStringView(text).first(keep));
  shown.append(QChar(0x2026));
  return shown;
}

}  // namespace lyrova
