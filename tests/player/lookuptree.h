#pragma once

// A throw-away file tree for the lookup tests. Paths in the tables use "$" for the tree's root,
// so the tables read like real paths; "$/data" is the data folder of the LyricsLookup under test.

#include "common/textcodec.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>

// "a|b|c" as a list; "" is the empty list. Keeps the test tables one row a line.
inline QStringList L(const QString& items) {
  return items.isEmpty() ? QStringList() : items.split(u'|');
}

class LookupTree {
 public:
  LookupTree() { QDir().mkpath(DataFolder()); }

  bool IsValid() const { return dir_.isValid(); }
  QString Root() const { return dir_.path(); }
  QString DataFolder() const { return Root() + QStringLiteral("/data"); }

  // "$" replaced by the root.
  QString Expand(const QString& text) const {
    QString expanded = text;
    return expanded.replace(u'$', Root());
  }
  QStringList Expand(const QStringList& texts) const {
    QStringList expanded;
    for (const QString& text : texts) expanded.append(Expand(text));
    return expanded;
  }

  // Creates each entry: a folder when it ends in "/", else an empty file (folders made as
  // needed). "a -> b" makes a symbolic link a pointing at b.
  bool Make(const QStringList& entries) const {
    for (const QString& entry : entries) {
      const qsizetype arrow = entry.indexOf(QStringLiteral(" -> "));
      if (arrow >= 0) {
        if (!QFile::link(Expand(entry.mid(arrow + 4)), Expand(entry.left(arrow)))) return false;
        continue;
      }
      const QString path = Expand(entry);
      if (path.endsWith(u'/')) {
        if (!QDir().mkpath(path)) return false;
        continue;
      }
      if (!QDir().mkpath(QFileInfo(path).path())) return false;
      if (!WriteBytes(path, QByteArray())) return false;
    }
    return true;
  }

  // Writes the lines, "$" expanded, in the ANSI code page with CR LF.
  bool WriteLines(const QString& path, const QStringList& lines) const {
    QByteArray bytes;
    lyrova::TextEncoder encoder(lyrova::TextEncoding::Ansi);
    for (const QString& line : lines) bytes += encoder.Encode(Expand(line)) + "\r\n";
    return WriteBytes(path, bytes);
  }

  static bool WriteBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
  }

  static QByteArray ReadBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
  }

 private:
  QTemporaryDir dir_;
};
