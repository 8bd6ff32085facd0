#pragma once

#include "lyrics/lyricsdocument.h"

#include <QFile>
#include <QMetaType>
#include <QString>
#include <QStringList>

Q_DECLARE_METATYPE(lyrova::LyricsDocument)

namespace lyricstest {

// The lines of a document in a compact, readable form: `1000 "text"` per line, joined by " | ";
// an untimed line is marked with "~" when `withTimed`.
inline QString Describe(const lyrova::LyricsDocument& doc, bool withTimed = true) {
  QStringList parts;
  for (const lyrova::LyricLine& line : doc.lines) {
    const QString mark = withTimed && !line.timed ? QStringLiteral("~") : QString();
    parts.append(mark + QString::number(line.time) + QStringLiteral(" \"") + line.text + u'"');
  }
  return parts.join(QStringLiteral(" | "));
}

// A document built from (time, text, timed) triples.
inline lyrova::LyricsDocument Doc(std::initializer_list<lyrova::LyricLine> lines) {
  lyrova::LyricsDocument doc;
  doc.lines = QList<lyrova::LyricLine>(lines);
  return doc;
}

inline bool WriteFile(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

inline QByteArray ReadFile(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace lyricstest
