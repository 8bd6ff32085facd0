// Typed times: any text either fails or gives a time that formats back to a tag which parses to
// the same hundredth.
#include "lyrics/timetext.h"

#include <QString>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
  const auto ms = lyrova::ParseTimeText(text);
  if (!ms || *ms <= -6'000'000 || *ms >= 6'000'000) return 0;
  const QString tag = lyrova::FormatTimeTag(*ms, true, false);
  const auto again = lyrova::ParseTimeText(tag);
  if (!again || *again / 10 != *ms / 10) std::abort();
  return 0;
}
