// The LRC reader in both modes over arbitrary bytes. Besides not crashing, every result must keep
// the document's promises: lines in time order, times within the documented range, and the
// Player's first line at 0 ms.
#include "common/paths.h"
#include "lyrics/lrcreader.h"

#include <cstdint>
#include <cstdlib>

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

void Verify(const lyrova::LyricsDocument& doc, lyrova::ReaderMode mode) {
  for (qsizetype i = 0; i < doc.count(); ++i) {
    const qint32 time = doc.lines[i].time;
    if (i > 0) Check(doc.lines[i - 1].time <= time);
    if (mode == lyrova::ReaderMode::Player) {
      Check(time >= 0);
      Check(lyrova::TrimBlanks(doc.lines[i].text) == doc.lines[i].text);
    } else {
      Check(time >= -5'999'999);
    }
  }
  if (mode == lyrova::ReaderMode::Player && doc.count() > 0) Check(doc.lines[0].time == 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QByteArrayView bytes(reinterpret_cast<const char*>(data), qsizetype(size));
  for (const auto mode : {lyrova::ReaderMode::Editor, lyrova::ReaderMode::Player}) {
    lyrova::LyricsDocument doc;
    if (lyrova::ReadLrcBytes(doc, bytes, mode)) Verify(doc, mode);
  }
  return 0;
}
