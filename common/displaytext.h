#pragma once

#include <QString>
#include <QtGlobal>

// What a widget shows of a text that may be far longer than any screen: a lyric line read from
// a file can hold megabytes, and laying such a text out in a label, a list row or an edit box
// takes the window tens of seconds and gigabytes. The document keeps the whole text; only what
// is shown is cut.
namespace lyrova {

// About twice the characters of the widest screen in the smallest font.
inline constexpr qsizetype kDisplayTextChars = 4000;

// `text` itself when it has at most `maxChars` UTF-16 units (shared, not copied); otherwise its
// start followed by "…", `maxChars` units in all. The cut never splits a surrogate pair, so the
// result is one unit shorter when the pair would straddle it. `maxChars` below 1 counts as 1.
QString DisplayText(const QString& text, qsizetype maxChars = kDisplayTextChars);

// Whether DisplayText cuts `text`.
inline bool CutForDisplay(const QString& text, qsizetype maxChars = kDisplayTextChars) {
  return text.size() > qMax<qsizetype>(maxChars, 1);
}

}  // namespace lyrova
