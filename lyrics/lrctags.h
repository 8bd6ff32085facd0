#pragma once

#include "lyrics/lyricsdocument.h"

#include <QStringView>
#include <QtGlobal>

#include <optional>

// The tags at the start of an LRC line: time tags such as [01:23.45] and information tags
// [ti:…], [ar:…], [al:…], [by:…], [offset:…]. Positions are 0-based.
namespace lyrova {

// The next tag at or after `start`: blanks are skipped, then a "[" must follow and a "]" after
// it. Returns the text between the brackets without surrounding blanks and sets `next` just after
// the "]". When there is no tag (another character, an unterminated "[", the end of the line)
// it returns an empty view and sets `next` to -1. An empty tag "[]" is a tag: check `next`.
QStringView NextTag(QStringView line, qsizetype start, qsizetype* next);

enum class InfoTagResult {
  NotInfo,         // not an information tag (it may still be a time tag)
  Stored,          // the value was stored in the document
  OffsetOverflow,  // an "offset" whose numeric value leaves the 32-bit range: the load fails
};

// Recognises "ti", "ar", "al", "by" and "offset" (tried in that order, in any ASCII letter case
// at the start of the tag, then optional blanks and ":"). Text values keep the blanks after the
// colon.
// An offset must be numeric and at most 10 characters; it is rounded (halves to even) and never
// stored below -300,000 ms.
InfoTagResult ParseInfoTag(LyricsDocument& doc, QStringView tag);

// A header tag "key:value" whose key is made of letters, "_" and "-" and is none of the keywords
// above (in any letter case): such tags carry data of other programs. Fills key and value.
bool ParseHeaderTag(QStringView tag, HeaderTag* header);

// The milliseconds of a time's fraction, the text after its ".": one to three ASCII digits, blanks
// around them ignored, read as a decimal fraction of a second (".5" and ".500" are 500 ms, ".05"
// 50 ms, ".045" 45 ms). nullopt for anything else: no digit, four or more, a sign, a second ".".
std::optional<qint32> ParseFractionMs(QStringView fraction);

// A time tag "minutes:seconds" or "minutes:seconds.fraction" in milliseconds, or -1. Minutes and
// seconds are numbers (rounded, halves to even), minutes 0..99 and seconds up to 59; the fraction
// is read by ParseFractionMs. A field outside the 32-bit range, or a result below 0, also gives
// -1, so a valid tag lies within 0..5,999,999 ms.
qint32 ParseTimeTag(QStringView tag);

}  // namespace lyrova
