#pragma once

#include <QStringView>
#include <QtGlobal>

#include <optional>

// Decimal numbers as users and stored files write them. A numeric text is, after removing
// surrounding blanks, an optional sign, digits with at most one decimal point (at least one
// digit in all) and an optional exponent. Hexadecimal, "inf", "nan" and thousands separators
// are not numbers here.
namespace lyrova {

// The value of a text that is a number as a whole; nullopt for anything else.
std::optional<double> ParseNumber(QStringView text);

// The value of the longest number at the start of the text after leading blanks; 0 when the
// text does not start with one (so "", "abc" and "-" read as 0, "12ab" as 12).
double LeadingNumber(QStringView text);

// Rounds to the nearest integer, halves to even; nullopt when the result leaves the signed
// 32-bit range or the value is not finite.
std::optional<qint32> RoundToInt32(double value);

// ParseNumber rounded with RoundToInt32: nullopt for a text that is no number or leaves 32 bits.
std::optional<qint32> ParseRoundedInt32(QStringView text);

// RoundToInt32 with out-of-range values clamped to the nearest representable bound.
qint32 RoundClampInt32(double value);

}  // namespace lyrova
