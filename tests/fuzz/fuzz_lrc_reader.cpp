// The LRC reader in both modes over arbitrary bytes. Besides not crashing, every result must keep
// the document's promises: lines in time order, times within the documented range, and the
// Player's first line at 0 ms. The input read as one tag must be no time or one of 0..5,999,999
// ms, and every time the reader made, written as the writer writes its tag, must read back as
// that time cut down to its hundredth. Word timing must stay within its line.
#include "common/paths.h"
#include "lyrics/lrcreader.h"
#include "lyrics/lrctags.h"
#include "lyrics/timetext.h"

#include <QString>

#include <cstdint>
#include <cstdlib>

namespace {

// The latest tag, 99:59.999, and the lowest offset, -300,000 ms, which makes lines later.
constexpr qint32 kLatestTagMs = 5'999'999;
constexpr qint32 kLatestLineMs = kLatestTagMs + 300'000;

void Check(bool condition) {
  if (!condition) std::abort();
}

void CheckTagRoundTrip(qint32 time) {
  if (time < 0 || time > kLatestTagMs) return;
  Check(lyrova::ParseTimeTag(lyrova::FormatTimeTag(time, true, true)) == time / 10 * 10);
}

// Word timing is the Player's alone: every word list covers its line's text from the start, with
// starts and times that never go back.
void VerifyWords(const lyrova::LyricsDocument& doc, lyrova::ReaderMode mode) {
  if (mode == lyrova::ReaderMode::Editor) Check(doc.words.isEmpty());
  for (const lyrova::LyricLine& line : doc.lines) {
    if (line.words < 0) continue;
    Check(line.words < doc.words.size());
    const QList<lyrova::LyricWord>& words = doc.words[line.words];
    Check(!words.isEmpty() && words[0].start == 0 && words[0].time >= 0);
    for (qsizetype w = 1; w < words.size(); ++w)
      Check(words[w - 1].time <= words[w].time && words[w - 1].start <= words[w].start &&
            words[w].start <= line.text.size());
  }
}

void Verify(const lyrova::LyricsDocument& doc, lyrova::ReaderMode mode) {
  for (qsizetype i = 0; i < doc.count(); ++i) {
    const qint32 time = doc.lines[i].time;
    Check(time <= kLatestLineMs);
    if (i > 0) Check(doc.lines[i - 1].time <= time);
    if (mode == lyrova::ReaderMode::Player) {
      Check(time >= 0);
      Check(lyrova::TrimBlanks(doc.lines[i].text) == doc.lines[i].text);
    } else {
      Check(time >= -5'999'999);
      if (doc.lines[i].timed) CheckTagRoundTrip(time);
    }
  }
  if (mode == lyrova::ReaderMode::Player && doc.count() > 0) Check(doc.lines[0].time == 0);
  VerifyWords(doc, mode);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QByteArrayView bytes(reinterpret_cast<const char*>(data), qsizetype(size));
  for (const auto mode : {lyrova::ReaderMode::Editor, lyrova::ReaderMode::Player}) {
    lyrova::LyricsDocument doc;
    if (lyrova::ReadLrcBytes(doc, bytes, mode)) Verify(doc, mode);
  }
  if (size <= 64) {
    const qint32 tag = lyrova::ParseTimeTag(QString::fromUtf8(bytes));
    Check(tag == -1 || (tag >= 0 && tag <= kLatestTagMs));
    CheckTagRoundTrip(tag);
  }
  return 0;
}
