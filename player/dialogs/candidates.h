#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

// The lyrics files proposed for a song: every "*.lrc" file of the song's folder and of the search
// directories whose name resembles the song's name, best first.
namespace lyrova {

// A proposed lyrics file and its similarity score (more than kMinCandidateScore).
struct LinkCandidate {
  QString path;
  qint32 score = 0;

  friend bool operator==(const LinkCandidate&, const LinkCandidate&) = default;
};

// A name must score more than this to be proposed: one common character (1 point) is not
// enough, two in a row (4 points) are.
inline constexpr qint32 kMinCandidateScore = 3;

// The candidates in descending score; equal scores keep the order in which they were added.
// No path is listed twice: a path equal to a listed one ignoring letter case counts as the
// same file unless both exist and are distinct files (see SameEntryIgnoringCase).
class CandidateList {
 public:
  const QList<LinkCandidate>& Entries() const;
  qsizetype Count() const { return entries_.size(); }
  bool IsEmpty() const { return entries_.isEmpty(); }
  void Clear() {
    entries_.clear();
    byFoldedPath_.clear();
    sorted_ = true;
  }

  // Inserts before the first entry with a lower score; false (and nothing changes) when the
  // path is already listed.
  bool AddCandidate(const QString& path, qint32 score);

  // Adds every "*.lrc" file of `folder` (the extension in any letter case, hidden files too)
  // whose name without extension scores more than kMinCandidateScore against `songName`.
  // Files are taken in name order ignoring case, the order a user sees them in a file browser.
  // A missing or unreadable folder adds nothing.
  void ScanFolderForSimilar(const QString& folder, const QString& songName);

  // Empties the list, then, when `songPath` names an existing file, scans the song's folder
  // and each of `searchDirs` in order for names like the song's own name.
  void BuildCandidates(const QString& songPath, const QStringList& searchDirs);

 private:
  // In the order added until Entries() sorts them: a sort at the end costs n log n where keeping
  // the order at every insertion cost n squared (a search list of 100,000 similar names).
  mutable QList<LinkCandidate> entries_;
  mutable bool sorted_ = true;
  // The listed paths by their case-folded form, so the duplicate test looks only at paths that
  // can match instead of comparing with every entry (folders of thousands of lyrics files).
  QMultiHash<QString, QString> byFoldedPath_;
};

}  // namespace lyrova
