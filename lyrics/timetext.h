#pragma once

#include <QString>
#include <QStringView>
#include <QtGlobal>

#include <optional>

// Time tags as text ("mm:ss.xx") and the times the Editor's user types.
namespace lyrova {

// "mm:ss.xx" for `ms` (minutes 00..99, sub-hundredths truncated: 1,239 ms is 00:01.23). Without
// `noSign` a sign place comes first: "-" for negative times, else a blank. When `showTime` is
// false or |ms| is 6,000,000 or more, the result is 8 blanks (noSign) or 9 blanks.
QString FormatTimeTag(qint32 ms, bool showTime, bool noSign);

// A typed time in milliseconds, or nullopt for invalid input. Accepted forms (blanks around
// the text ignored): a number of seconds ("90", "-2.5"); "m:ss" and "m:ss.f" with an optional
// leading "-", where minutes are at most 99, seconds at most 59 and the fraction is one to three
// digits of a decimal fraction as in a time tag ("1:02.5" is 62,500 ms, "1:02.045" 62,045 ms).
// Results outside the 32-bit range are invalid.
std::optional<qint32> ParseTimeText(QStringView text);

}  // namespace lyrova
