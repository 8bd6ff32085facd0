#include "player/dialogs/candidates.h"

#include "common/casematch.h"
#include "common/paths.h"
#include "player/dialogs/similarity.h"

#include <QDir>

#include <algorithm>

namespace lyrova {

bool CandidateList::AddCandidate(const QString& path, qint32 score) {
  const QString folded = path.toCaseFolded();
  for (auto it = byFoldedPath_.constFind(folded); it != byFoldedPath_.cend() && it.key() == folded; ++it)
    if (SameEntryIgnoringCase(it.value(), path)) return false;
  const auto pos = std::find_if(entries_.begin(), entries_.end(),
                                [score](const LinkCandidate& c) { return c.score < score; });
  entries_.insert(pos, LinkCandidate{path, score});
  byFoldedPath_.insert(folded, path);
  return true;
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
  if (!FileExists(songPath)) return;
  const QString songName = StripExtension(FileNamePart(songPath));
  ScanFolderForSimilar(DirectoryPart(songPath), songName);
  for (const QString& dir : searchDirs) ScanFolderForSimilar(dir, songName);
}

}  // namespace lyrova
