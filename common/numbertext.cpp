#include "common/numbertext.h"

#include "common/paths.h"

#include <QByteArray>

#include <cmath>
#include <cstdlib>
#include <limits>

namespace lyrova {
namespace {

bool IsDigit(QChar c) { return c >= u'0' && c <= u'9'; }

// Length of the number that starts at `from` (0 when none does).
qsizetype NumberLength(QStringView text, qsizetype from) {
  qsizetype i = from;
  const qsizetype n = text.size();
  if (i < n && (text[i] == u'+' || text[i] == u'-')) ++i;
  qsizetype digits = 0;
  while (i < n && IsDigit(text[i])) ++i, ++digits;
  if (i < n && text[i] == u'.') {
    ++i;
    while (i < n && IsDigit(text[i])) ++i, ++digits;
  }
  if (digits == 0) return 0;
  // An exponent counts only when digits follow it; otherwise the number ends before the "e".
  if (i < n && (text[i] == u'e' || text[i] == u'E')) {
    qsizetype j = i + 1;
    if (j < n && (text[j] == u'+' || text[j] == u'-')) ++j;
    qsizetype expDigits = 0;
    while (j < n && IsDigit(text[j])) ++j, ++expDigits;
    if (expDigits > 0) i = j;
  }
  return i - from;
}

double ToDouble(QStringView number) {
  // The text holds only ASCII digits, sign, "." and exponent here, so the C locale parse is exact.
  const QByteArray latin = number.toLatin1();
  return std::strtod(latin.constData(), nullptr);
}

}  // namespace

std::optional<double> ParseNumber(QStringView text) {
  const QStringView core = TrimBlanksView(text);
  if (core.isEmpty() || NumberLength(core, 0) != core.size()) return std::nullopt;
  return ToDouble(core);
}

double LeadingNumber(QStringView text) {
  qsizetype first = 0;
  while (first < text.size() && text[first] == u' ') ++first;
  const qsizetype length = NumberLength(text, first);
  return length == 0 ? 0.0 : ToDouble(text.mid(first, length));
}

std::optional<qint32> RoundToInt32(double value) {
  if (!std::isfinite(value)) return std::nullopt;
  double rounded = std::round(value);  // halves away from zero
  if (std::fabs(value - std::trunc(value)) == 0.5 && std::fmod(rounded, 2.0) != 0.0)
    rounded -= std::copysign(1.0, value);
  if (rounded < static_cast<double>(std::numeric_limits<qint32>::min()) ||
      rounded > static_cast<double>(std::numeric_limits<qint32>::max()))
    return std::nullopt;
  return static_cast<qint32>(rounded);
}

std::optional<qint32> ParseRoundedInt32(QStringView text) {
  const std::optional<double> number = ParseNumber(text);
  if (!number) return std::nullopt;
  return RoundToInt32(*number);
}

qint32 RoundClampInt32(double value) {
  if (std::isnan(value)) return 0;
  if (const auto exact = RoundToInt32(value)) return *exact;
  return value < 0 ? std::numeric_limits<qint32>::min() : std::numeric_limits<qint32>::max();
}

}  // namespace lyrova
