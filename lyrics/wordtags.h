#pragma once

#include "lyrics/lyricsdocument.h"

#include <QList>
#include <QString>
#include <QStringView>

// Word timing inside a line's text: "<mm:ss.xx>" (or any form a time tag takes, made of digits,
// ":" and ".") before a word gives the time the word starts.
namespace lyrova {

// Takes the valid word tags out of `text` and gives the words they start. Text before the first
// tag is a word at the line's time; a tag after the last word gives an empty word, the end of the
// one before. Word times are made relative to `lineTime` and never go back: a word tagged before
// the line, or before the word in front of it, starts with it. The text left is trimmed of
// blanks like any text the Player shows. Anything that is not a valid tag ("<3", "<02:83.375>",
// an unclosed "<") stays in the text as typed. Returns false, and leaves both untouched, when
// the text holds no valid word tag. Linear in the length of the text.
bool TakeWordTags(QString& text, qint32 lineTime, QList<LyricWord>* words);

// The text of word `index` of a line whose words are `words`.
QStringView WordText(const QString& text, const QList<LyricWord>& words, qsizetype index);

}  // namespace lyrova
