#pragma once

#include "common/programcontract.h"

#include <QList>
#include <QString>
#include <QStringList>

// The preset emoticon list "emotions.ini": lines of the form name=code in the ANSI code page
// (UTF-8 files are read as well). A line counts when it holds an "=" that is neither its first
// nor its last character and the part before that first "=" is not only blanks; name and code
// keep their blanks, and later "=" characters belong to the code. Everything else is skipped.
namespace lyrova {

struct Emoticon {
  QString name;
  QString code;
  friend bool operator==(const Emoticon&, const Emoticon&) = default;
};

// The entries among `lines`, in order.
QList<Emoticon> ParseEmoticons(const QStringList& lines);

// The entries of the file at `path`; none when it is missing or unreadable.
QList<Emoticon> ReadEmoticons(const QString& path);

// Where the list is read from: the data folder when it holds one, else the program folder when
// that does; with neither, the data folder (where the user may create it).
QString EmoticonFilePath(const QString& dataFolder, const QString& programFolder);

// A text box after an insertion at its caret.
struct CaretEdit {
  QString text;
  int caret = 0;
  friend bool operator==(const CaretEdit&, const CaretEdit&) = default;
};

// `code` put in place of the selection that starts at `selectionStart` and is
// `selectionLength` characters long (an empty selection is the caret); the caret then stands
// right after the code. Positions outside the text are brought into it.
CaretEdit InsertAtCaret(const QString& text, int selectionStart, int selectionLength,
                        const QString& code);

}  // namespace lyrova
