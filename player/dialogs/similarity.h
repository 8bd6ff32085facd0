#pragma once

#include <QString>

// How much a lyrics file's name resembles a song's name, for proposing lyrics files to link.
namespace lyrova {

// The form both names are compared in: blanks (U+0020) trimmed from both ends, letters
// upper-cased, and every run of blanks and ideographic spaces (U+3000) made one blank.
QString NormalizeForSimilarity(const QString& name);

// The similarity of two names (file names without folder and extension). Every character of the
// song name is tried against each of its occurrences in the lyrics name, and each common run of
// m characters that follows adds 1 + 2 + ... + m. Identical names of n distinct characters thus
// score n(n + 1)(n + 2)/6: 1 for one character, 4 for two, 10 for three. The walk compares
// UTF-16 code units exactly (after normalisation), so the figures match character for character
// on Chinese names too. The score saturates at the largest 32-bit value.
qint32 SimilarityScore(const QString& songName, const QString& lyricsName);

}  // namespace lyrova
