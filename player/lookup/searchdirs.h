#pragma once

#include "player/lookup/filestamp.h"

#include <QString>
#include <QStringList>

#include <vector>

// The two pieces of the search through the search folders that the index and the unindexed
// lookup share: the search list itself, and what one folder holds that a lookup could find.
namespace lyrova {

// The search list as LyricsLookup::ReadSearchDirs gives it: `builtInDir` when it is a folder,
// then every line of `lines` (already normalised) that names an existing folder not already
// taken by SameEntryIgnoringCase, in order. Lines are grouped by CaseKey, so only lines that
// could be the same entry are compared: linear in the number of lines.
// `absent`, when given, receives `builtInDir` and the lines that named no folder in that same
// pass: asked again later, they tell whether the list has come to name another folder.
QStringList DistinctSearchDirs(const QString& builtInDir, const QStringList& lines,
                               QStringList* absent = nullptr);

// The names in one folder that a lookup could ask for, as CaseKey values, sorted and distinct.
struct FolderListing {
  bool listed = false;  // false: the folder could not be opened or read to its end
  FileStamp stamp;      // the folder as its path named it when the listing began
  bool settled = false; // the stamp came late enough after the folder's last change (Settled)
  std::vector<quint64> keys;
};

// Lists `dir`. Only names ending in ".lrc" in any letter case are kept: every name a lookup asks
// for ends so, and no other name can equal one of them ignoring case (no character but "L",
// "R" and "C" folds to "l", "r" and "c"). Entries of every kind are kept, as
// FindFileIgnoringCase considers them all before it asks whether one is a file.
FolderListing ListFolder(const QString& dir);

}  // namespace lyrova
