#pragma once

#include "player/lookup/filestamp.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

// One list file ("LrcDir.ini" or "LrcLink.ini") read once and again only when it changed.
// Refresh costs one stat while the file stays as it was; the file is read again when its
// identity, size or times differ from the last reading, or when that reading came so soon after
// a change that a second change could hide behind the same times (then the bytes are compared).
// Lines are split as ReadTextLines splits them; a missing or unreadable file has no lines.
// Not thread-safe: each user keeps its own, or guards it.
namespace lyrova {

class ListFileCache {
 public:
  explicit ListFileCache(const QString& path) : path_(path) {}

  // Brings Lines() up to date with the file; true when they changed with this call (the first
  // call always counts as a change).
  bool Refresh();

  const QString& Path() const { return path_; }
  const QStringList& Lines() const { return lines_; }
  // A digest of the bytes the lines came from; equal digests mean equal lines.
  const QByteArray& Digest() const { return digest_; }

 private:
  QString path_;
  FileStamp stamp_;
  bool loaded_ = false;
  bool settled_ = false;
  QByteArray digest_;
  QStringList lines_;
};

}  // namespace lyrova
