// Typed times and time tags. Any text either fails or gives a time whose tag text, as the writer
// formats it, parses back to that time cut down to its hundredth. A text that is a valid time tag
// and carries no leading sign means the same typed as read from a file. And a time built from
// the input's bytes, minutes, seconds and a fraction of one to four digits, must parse to the
// value computed here, or fail for four digits.
#include "common/paths.h"
#include "lyrics/lrctags.h"
#include "lyrics/timetext.h"

#include <QString>

#include <cstdint>
#include <cstdlib>

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

void CheckBuiltTime(const uint8_t* data, size_t size) {
  if (size < 7) return;
  const int minutes = data[0] % 100;
  const int seconds = data[1] % 60;
  const int digits = 1 + data[2] % 4;
  QString text = QString::number(minutes) + u':' + QString::number(seconds).rightJustified(2, u'0');
  text += u'.';
  int fractionMs = 0;
  for (int i = 0; i < 3; ++i) {
    const int digit = i < digits ? data[3 + i] % 10 : 0;  // missing places count as zeros
    fractionMs = fractionMs * 10 + digit;
  }
  for (int i = 0; i < digits; ++i) text += QChar(char16_t(u'0' + data[3 + i] % 10));
  const auto typed = lyrova::ParseTimeText(text);
  const qint32 tag = lyrova::ParseTimeTag(text);
  if (digits == 4) {
    Check(!typed && tag == -1);
    return;
  }
  const qint32 expected = minutes * 60000 + seconds * 1000 + fractionMs;
  Check(typed && *typed == expected && tag == expected);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  CheckBuiltTime(data, size);
  const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
  const auto ms = lyrova::ParseTimeText(text);
  if (ms && *ms > -6'000'000 && *ms < 6'000'000) {
    const auto again = lyrova::ParseTimeText(lyrova::FormatTimeTag(*ms, true, false));
    Check(again && *again == *ms / 10 * 10);
  }
  const qint32 tag = lyrova::ParseTimeTag(text);
  Check(tag >= -1 && tag <= 5'999'999);
  if (tag >= 0 && !lyrova::TrimBlanksView(text).startsWith(u'-')) Check(ms && *ms == tag);
  return 0;
}
