#include "player/chat/emoticons.h"

#include "common/paths.h"
#include "common/textlines.h"

#include <algorithm>

namespace lyrova {

QList<Emoticon> ParseEmoticons(const QStringList& lines) {
  QList<Emoticon> entries;
  for (const QString& line : lines) {
    const qsizetype equals = line.indexOf(u'=');
    if (equals <= 0 || equals == line.size() - 1) continue;
    const QString name = line.left(equals);
    if (TrimBlanks(name).isEmpty()) continue;
    entries.append(Emoticon{name, line.mid(equals + 1)});
  }
  return entries;
}

QList<Emoticon> ReadEmoticons(const QString& path) {
  const std::optional<QStringList> lines = ReadTextLines(path);
  return lines ? ParseEmoticons(*lines) : QList<Emoticon>{};
}

QString EmoticonFilePath(const QString& dataFolder, const QString& programFolder) {
  const QString inData = JoinPath(dataFolder, kEmoticonFileName);
  if (!dataFolder.isEmpty() && FileExists(inData)) return inData;
  const QString inProgram = JoinPath(programFolder, kEmoticonFileName);
  if (!programFolder.isEmpty() && FileExists(inProgram)) return inProgram;
  // Neither holds one yet: the user's own copy belongs in the data folder, which is writable.
  return dataFolder.isEmpty() ? inProgram : inData;
}

CaretEdit InsertAtCaret(const QString& text, int selectionStart, int selectionLength,
                        const QString& code) {
  const int size = int(text.size());
  const int start = std::clamp(selectionStart, 0, size);
  const int end = std::clamp(start + std::max(0, selectionLength), start, size);
  return CaretEdit{text.left(start) + code + text.mid(end), start + int(code.size())};
}

}  // namespace lyrova
