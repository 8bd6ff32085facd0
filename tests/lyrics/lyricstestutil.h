#pragma once

#include "lyrics/lrcreader.h"
#include "lyrics/lyricsdocument.h"

#include <QFile>
#include <QMetaType>
#include <QString>
#include <QStringList>
#include <QTest>

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

// What every document read in `mode` must hold, whatever the file: times within the range
// time tags and the offset floor allow, ascending; in the Player no `timed` flag and a first
// line at 0 ms. Fails the calling test (use QVERIFY(!QTest::currentTestFailed()) after it).
inline void CheckInvariants(const lyrova::LyricsDocument& doc, lyrova::ReaderMode mode) {
  const qint32 lowest = mode == lyrova::ReaderMode::Player ? 0 : -5999999;
  for (qsizetype i = 0; i < doc.count(); ++i) {
    const lyrova::LyricLine& line = doc.lines[i];
    // The latest tag, 99:59.999, made later by the lowest offset, -300,000 ms.
    QVERIFY2(line.time >= lowest && line.time <= 6299999, qPrintable(QString::number(line.time)));
    if (i > 0) QVERIFY(doc.lines[i - 1].time <= line.time);
    if (mode == lyrova::ReaderMode::Player) QVERIFY(!line.timed);
    // Word timing is the Player's alone; words start in order within the text, never going back.
    if (line.words < 0) continue;
    QVERIFY(mode == lyrova::ReaderMode::Player && line.words < doc.words.size());
    const QList<lyrova::LyricWord>& words = doc.words[line.words];
    QVERIFY(!words.isEmpty() && words.first().time >= 0);
    for (qsizetype w = 0; w < words.size(); ++w) {
      QVERIFY(words[w].start >= 0 && words[w].start <= line.text.size());
      if (w > 0) QVERIFY(words[w - 1].time <= words[w].time && words[w - 1].start <= words[w].start);
    }
  }
  if (mode == lyrova::ReaderMode::Player && doc.count() > 0) QCOMPARE(doc.lines.first().time, 0);
}

inline QByteArray ReadFile(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace lyricstest
