#include "lyrics/timetext.h"

#include "common/numbertext.h"
#include "common/paths.h"
#include "lyrics/lrctags.h"

#include <limits>

namespace lyrova {
namespace {

constexpr qint32 kTagLimitMs = 6000000;

void AppendTwoDigits(QString& text, qint32 value) {
  text += QChar(u'0' + value / 10);
  text += QChar(u'0' + value % 10);
}

}  // namespace

QString FormatTimeTag(qint32 ms, bool showTime, bool noSign) {
  if (!showTime || ms <= -kTagLimitMs || ms >= kTagLimitMs)
    return QString(noSign ? 8 : 9, u' ');
  QString text;
  text.reserve(9);
  if (!noSign) text += ms < 0 ? u'-' : u' ';
  const qint32 hundredths = (ms < 0 ? -ms : ms) / 10;
  const qint32 rest = hundredths % 6000;
  AppendTwoDigits(text, hundredths / 6000);
  text += u':';
  AppendTwoDigits(text, rest / 100);
  text += u'.';
  AppendTwoDigits(text, rest % 100);
  return text;
}

std::optional<qint32> ParseTimeText(QStringView text) {
  const QStringView trimmed = TrimBlanksView(text);
  const bool negative = trimmed.startsWith(u'-');
  const QStringView body = trimmed.sliced(negative ? 1 : 0);
  const qsizetype colon = body.indexOf(u':');
  if (colon < 0) {
    // Plain seconds; the number carries its own sign.
    const std::optional<double> seconds = ParseNumber(trimmed);
    if (!seconds) return std::nullopt;
    return RoundToInt32(*seconds * 1000.0);
  }
  const std::optional<qint32> minutes = ParseRoundedInt32(body.first(colon));
  if (!minutes || *minutes > 99) return std::nullopt;
  const QStringView rest = body.sliced(colon + 1);
  const qsizetype dot = rest.indexOf(u'.');
  const std::optional<qint32> seconds = ParseRoundedInt32(dot < 0 ? rest : rest.first(dot));
  if (!seconds || *seconds > 59) return std::nullopt;
  qint64 ms = qint64(*minutes) * 60000 + qint64(*seconds) * 1000;
  if (dot >= 0) {
    // The same fraction as in a time tag, so a typed time means what it would mean in a file.
    const std::optional<qint32> fraction = ParseFractionMs(rest.sliced(dot + 1));
    if (!fraction) return std::nullopt;
    ms += *fraction;
  }
  if (negative) ms = -ms;
  if (ms < std::numeric_limits<qint32>::min() || ms > std::numeric_limits<qint32>::max())
    return std::nullopt;
  return qint32(ms);
}

}  // namespace lyrova
