#include "lyrics/lrctags.h"

#include "common/numbertext.h"
#include "common/paths.h"

#include <array>
#include <optional>

namespace lyrova {
namespace {

// A numeric field rounded to an integer; nullopt when it is not a number or leaves 32 bits.
// Plain digit strings, by far the most common form, skip the general number parser.
std::optional<qint32> RoundedField(QStringView field) {
  const qsizetype n = field.size();
  if (n > 0 && n <= 9) {
    qint32 value = 0;
    qsizetype i = 0;
    for (; i < n; ++i) {
      const char16_t c = field[i].unicode();
      if (c < u'0' || c > u'9') break;
      value = value * 10 + (c - u'0');
    }
    if (i == n) return value;
  }
  return ParseRoundedInt32(field);
}

constexpr qint32 kLowestOffset = -300000;

// The first `c` at or after `from`, or -1. Tags are a few characters long, so a plain loop beats
// the general search.
qsizetype Find(QStringView text, char16_t c, qsizetype from = 0) {
  for (qsizetype i = from; i < text.size(); ++i)
    if (text[i] == c) return i;
  return -1;
}

char16_t AsciiLower(char16_t c) {
  return c >= u'A' && c <= u'Z' ? char16_t(c + (u'a' - u'A')) : c;
}

// Whether `text` starts with the lower-case ASCII `keyword` in any letter case. Only ASCII letters
// are folded, so no other character (a dotless i, a Kelvin sign) can stand in for a keyword's.
bool StartsWithKeyword(QStringView text, QStringView keyword) {
  if (text.size() < keyword.size()) return false;
  for (qsizetype i = 0; i < keyword.size(); ++i)
    if (AsciiLower(text[i].unicode()) != keyword[i].unicode()) return false;
  return true;
}

}  // namespace

QStringView NextTag(QStringView line, qsizetype start, qsizetype* next) {
  *next = -1;
  const qsizetype n = line.size();
  qsizetype i = start < 0 ? 0 : start;
  while (i < n && line[i] == u' ') ++i;
  if (i >= n || line[i] != u'[') return {};
  const qsizetype close = Find(line, u']', i + 1);
  if (close < 0) return {};
  *next = close + 1;
  return TrimBlanksView(line.sliced(i + 1, close - i - 1));
}

namespace {

struct Keyword {
  QStringView name;
  QString LyricsDocument::*field;  // nullptr for "offset"
};
const std::array<Keyword, 5> kKeywords = {{
    {u"ti", &LyricsDocument::title},
    {u"ar", &LyricsDocument::artist},
    {u"al", &LyricsDocument::album},
    {u"by", &LyricsDocument::by},
    {u"offset", nullptr},
}};

}  // namespace

bool ParseHeaderTag(QStringView tag, HeaderTag* header) {
  const qsizetype colon = tag.indexOf(u':');
  if (colon <= 0) return false;
  const QStringView key = tag.first(colon);
  for (const QChar ch : key) {
    const char16_t c = ch.unicode();
    if (!((c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || c == u'_' || c == u'-')) return false;
  }
  for (const Keyword& keyword : kKeywords) {
    if (key.compare(keyword.name, Qt::CaseInsensitive) == 0) return false;
  }
  header->key = key.toString();
  header->value = tag.sliced(colon + 1).toString();
  return true;
}

InfoTagResult ParseInfoTag(LyricsDocument& doc, QStringView tag) {
  // Most tags are time tags, which start with a digit: no keyword can match them.
  if (tag.isEmpty()) return InfoTagResult::NotInfo;
  const char16_t first = AsciiLower(tag[0].unicode());
  if (first != u't' && first != u'a' && first != u'b' && first != u'o')
    return InfoTagResult::NotInfo;
  for (const Keyword& keyword : kKeywords) {
    if (!StartsWithKeyword(tag, keyword.name)) continue;
    const QStringView rest = TrimBlanksView(tag.sliced(keyword.name.size()));
    if (!rest.startsWith(u':')) continue;
    const QStringView value = rest.sliced(1);
    if (keyword.field) {
      doc.*keyword.field = value.toString();
      return InfoTagResult::Stored;
    }
    const QStringView number = TrimBlanksView(value);
    if (number.size() > 10) return InfoTagResult::NotInfo;
    const std::optional<double> parsed = ParseNumber(number);
    if (!parsed) return InfoTagResult::NotInfo;
    const std::optional<qint32> rounded = RoundToInt32(*parsed);
    if (!rounded) return InfoTagResult::OffsetOverflow;
    doc.offset = *rounded < kLowestOffset ? kLowestOffset : *rounded;
    return InfoTagResult::Stored;
  }
  return InfoTagResult::NotInfo;
}

std::optional<qint32> ParseFractionMs(QStringView fraction) {
  const QStringView digits = TrimBlanksView(fraction);
  if (digits.isEmpty() || digits.size() > 3) return std::nullopt;
  // Tenths, hundredths, thousandths; missing places are zeros, so ".5" is ".500".
  static constexpr qint32 kPlaceMs[] = {100, 10, 1};
  qint32 ms = 0;
  for (qsizetype i = 0; i < digits.size(); ++i) {
    const char16_t c = digits[i].unicode();
    if (c < u'0' || c > u'9') return std::nullopt;
    ms += (c - u'0') * kPlaceMs[i];
  }
  return ms;
}

qint32 ParseTimeTag(QStringView tag) {
  const qsizetype colon = Find(tag, u':');
  if (colon < 0) return -1;
  const std::optional<qint32> minutes = RoundedField(tag.first(colon));
  if (!minutes || *minutes > 99) return -1;
  const QStringView rest = tag.sliced(colon + 1);
  const qsizetype dot = Find(rest, u'.');
  const std::optional<qint32> seconds = RoundedField(dot < 0 ? rest : rest.first(dot));
  if (!seconds || *seconds > 59) return -1;
  // Fields may be negative; the sum is taken in 64 bits so that cannot overflow.
  qint64 ms = qint64(*minutes) * 60000 + qint64(*seconds) * 1000;
  if (dot >= 0) {
    const std::optional<qint32> fraction = ParseFractionMs(rest.sliced(dot + 1));
    if (!fraction) return -1;
    ms += *fraction;
  }
  return ms < 0 ? -1 : qint32(ms);
}

}  // namespace lyrova
