#pragma once

#include "common/textcodec.h"

#include <QString>
#include <QStringList>

// Keeps "LrcDir.ini" in step with a directory list that grows during a scan, writing in
// proportion to what was found: the first flush of a scan replaces the file with the whole list
// (atomically: the old file stays until the new one is complete); later flushes append only the
// new folders, each flush one write of whole lines, so a reader never sees half a line. An
// append that fails is undone and the whole file rewritten instead.
namespace lyrova {

class SearchDirFile {
 public:
  explicit SearchDirFile(const QString& path);

  const QString& Path() const { return path_; }
  // A scan starts: the next flush rewrites the whole file.
  void Restart();
  // `directory` was just appended to the list; it reaches the file at the next Flush.
  void Append(const QString& directory);
  bool HasPending() const { return !pending_.isEmpty(); }
  // Writes what is pending; `all` is the whole list, whose last entries are the pending
  // ones. Nothing is written when nothing is pending. False when the file could not be
  // brought up to date (the entries stay pending for the next try, and LastError() says why).
  bool Flush(const QStringList& all);
  const QString& LastError() const { return error_; }

  // Bytes written to the file so far (both kinds of write), for the benchmark and tests.
  qint64 BytesWritten() const { return bytesWritten_; }

 private:
  bool Rewrite(const QStringList& all);
  bool AppendPending();

  QString path_;
  QStringList pending_;
  bool synced_ = false;  // the file holds the list up to the pending entries
  TextEncoding encoding_ = TextEncoding::Ansi;
  QString error_;
  qint64 bytesWritten_ = 0;
};

}  // namespace lyrova
