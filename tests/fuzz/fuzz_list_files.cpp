// The Player's list files ("LrcDir.ini", "LrcLink.ini") from arbitrary bytes: every input must
// parse, directories come out non-empty and on one line, and links written back read as the same
// links.
#include "common/listfiles.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QByteArrayView bytes(reinterpret_cast<const char*>(data), qsizetype(size));
  const QStringList lines = lyrova::ListFileLines(bytes);
  for (const QString& dir : lyrova::ParseSearchDirLines(lines)) {
    if (dir.isEmpty() || lyrova::HoldsLineBreak(dir)) std::abort();
  }
  const QList<lyrova::SongLink> links = lyrova::ParseLinkPairs(lines);
  if (links.size() != lines.size() / 2) std::abort();
  if (lyrova::ParseLinkPairs(lyrova::LinkPairLines(links)) != links) std::abort();
  return 0;
}
