#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

// The Scanner's directory list: the folders of "LrcDir.ini" in file order, each normalised and
// distinct ignoring letter case (two spellings that name two different existing folders stay
// two entries, as the Player's reader keeps them).
namespace lyrova {

class DirList {
 public:
  void ClearDirs();
  // Normalises `directory` and appends it unless the list holds it already. False for a
  // duplicate, and for a text that cannot be a list line (empty, or holding a line break).
  bool AddDir(const QString& directory);
  // Replaces the list with the existing folders named in the file, in file order. A missing
  // or unreadable file gives an empty list.
  void LoadDirs(const QString& file);
  // Replaces the file with the list, one folder a line, atomically. False when writing failed;
  // the Scanner does not report that.
  bool SaveDirs(const QString& file) const;

  const QStringList& Dirs() const { return dirs_; }
  qsizetype Count() const { return dirs_.size(); }

 private:
  QStringList dirs_;
  // Case-folded entry -> indexes of the entries with that folding, so AddDir stays constant
  // time however many folders a scan finds.
  QHash<QString, QList<qsizetype>> byFolded_;
};

}  // namespace lyrova
