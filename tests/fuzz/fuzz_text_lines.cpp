// Feeds arbitrary bytes to the list-file splitter and the codec: every byte sequence must decode,
// split into lines that hold no break characters, and survive a lossless write.
#include "common/textcodec.h"
#include "common/textlines.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QByteArrayView bytes(reinterpret_cast<const char*>(data), qsizetype(size));
  const lyrova::TextEncoding encoding = lyrova::DetectEncoding(bytes);
  const QStringList lines =
      lyrova::SplitTextLines(bytes.sliced(lyrova::ByteOrderMarkLength(encoding)), encoding);
  for (const QString& line : lines)
    if (line.contains(u'\r') || line.contains(u'\n') || line.contains(QChar(0))) std::abort();
  const QString text = lines.join(u'\n');
  lyrova::TextEncoding used;
  const QByteArray encoded = lyrova::EncodeFile(text, encoding, &used);
  if (lyrova::DecodeFile(encoded) != text) std::abort();
  return 0;
}
