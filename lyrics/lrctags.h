#pragma once

#include "lyrics/lyricsdocument.h"

#include <QStringView>
#include <QtGlobal>

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

// Recognises "ti", "ar", "al", "by" and "offset" (tried in that order, case-sensitive at the
// start of the tag, then optional blanks and ":"). Text values keep the blanks after the colon.
// An offset must be numeric and at most 10 characters; it is rounded (halves to even) and never
// stored below -300,000 ms.
InfoTagResult ParseInfoTag(LyricsDocument& doc, QStringView tag);

// A time tag "minutes:seconds" or "minutes:seconds.hundredths" in hundredths of a second, or -1.
// Every field is a number (rounded, halves to even); minutes 0..99, seconds up to 59, and the
// fraction is a count of hundredths up to 99 (".5" is 5 hundredths, ".500" is rejected). A field
// outside the 32-bit range, or a result below 0, also gives -1.
qint32 ParseTimeTag(QStringView tag);

}  // namespace lyrova
