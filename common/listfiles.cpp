#include "common/listfiles.h"

#include "common/paths.h"
#include "common/textcodec.h"
#include "common/textlines.h"

namespace lyrova {

QString NormalizeDir(const QString& text) {
  QString dir = TrimBlanks(text);
  if (dir.size() > 1 && dir.endsWith(u'/')) {
    dir.chop(1);
    dir = TrimBlanks(dir);
  }
  return dir;
}

QStringList ListFileLines(QByteArrayView bytes) {
  const TextEncoding encoding = DetectEncoding(bytes);
  return SplitTextLines(bytes.sliced(ByteOrderMarkLength(encoding)), encoding);
}

QStringList ParseSearchDirLines(const QStringList& lines) {
  QStringList dirs;
  for (const QString& line : lines) {
    const QString dir = NormalizeDir(line);
    if (!dir.isEmpty()) dirs.append(dir);
  }
  return dirs;
}

QList<SongLink> ParseLinkPairs(const QStringList& lines) {
  QList<SongLink> links;
  links.reserve(lines.size() / 2);
  for (qsizetype i = 0; i + 1 < lines.size(); i += 2)
    links.append({TrimBlanks(lines.at(i)), TrimBlanks(lines.at(i + 1))});
  return links;
}

QStringList LinkPairLines(const QList<SongLink>& links) {
  QStringList lines;
  lines.reserve(links.size() * 2);
  for (const SongLink& link : links) {
    lines.append(link.songPath);
    lines.append(link.lyricsPath);
  }
  return lines;
}

bool HoldsLineBreak(const QString& text) {
  return text.contains(u'\r') || text.contains(u'\n') || text.contains(QChar(u'\0'));
}

}  // namespace lyrova
