#include "player/dialogs/candidates.h"

#include "common/casematch.h"
#include "common/paths.h"
#include "player/dialogs/similarity.h"
#include "player/lookup/lyricslookup.h"

#include <QDir>

#include <algorithm>

namespace lyrova {

bool CandidateList::AddCandidate(const QString& path, qint32 score) {
  const QString folded = path.toCaseFolded();
  for (auto it = byFoldedPath_.constFind(folded); it != byFoldedPath_.cend() && it.key() == folded; ++it)
    if (SameEntryIgnoringCase(it.value(), path)) return false;
  // Sorted stably by score, an entry stands after every one added before it with the same or a
  // higher score: before the first with a lower score.
  if (!entries_.isEmpty() && entries_.last().score < score) sorted_ = false;
  entries_.append(LinkCandidate{path, score});
  byFoldedPath_.insert(folded, path);
  return true;
}

const QList<LinkCandidate>& CandidateList::Entries() const {
  if (!sorted_) {
    std::stable_sort(entries_.begin(), entries_.end(),
                     [](const LinkCandidate& a, const LinkCandidate& b) { return a.score > b.score; });
    sorted_ = true;
  }
  return entries_;
}

void CandidateList::ScanFolderForSimilar(const QString& folder, const QString& songName) {
  if (folder.isEmpty() || !DirExists(folder)) return;
  const QDir dir(folder);
  const QStringList names =
      dir.entryList({QStringLiteral("*.lrc")}, QDir::Files | QDir::Hidden | QDir::System,
                    QDir::Name | QDir::IgnoreCase);
  for (const QString& name : names) {
    const qint32 score = SimilarityScore(songName, StripExtension(name));
    if (score > kMinCandidateScore) AddCandidate(JoinPath(folder, name), score);
  }
}

void CandidateList::BuildCandidates(const QString& songPath, const QStringList& searchDirs) {
  Clear();
  // A track name (a track another player plays without a file) has no folder of its own and
  // no extension: only the search folders are looked through, for the whole name.
  if (IsTrackName(songPath)) {
    for (const QString& dir : searchDirs) ScanFolderForSimilar(dir, TrimBlanks(songPath));
    return;
  }
  if (!FileExists(songPath)) return;
  const QString songName = StripExtension(FileNamePart(songPath));
  ScanFolderForSimilar(DirectoryPart(songPath), songName);
  for (const QString& dir : searchDirs) ScanFolderForSimilar(dir, songName);
}

}  // namespace lyrova
