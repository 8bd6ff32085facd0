#include "lyrics/rawlines.h"

namespace lyrova {
namespace {

constexpr bool IsBreak(unsigned char c) { return c == 13 || c == 10 || c == 0; }

// Whether the encoding reads every ASCII byte as the same character (true for UTF-8, GB18030
// and GBK). Then pure ASCII bytes can skip the decoder.
bool AsciiDecodesAsItself(TextEncoding encoding) {
  if (encoding != TextEncoding::Ansi) return true;
  QByteArray ascii(127, '\0');
  for (int i = 1; i < 128; ++i) ascii[i - 1] = char(i);
  return TextDecoder(encoding).Decode(ascii) == QString::fromLatin1(ascii);
}

}  // namespace

RawLineReader::RawLineReader(QByteArrayView bytes, TextEncoding encoding)
    : bytes_(bytes), encoding_(encoding) {
  static const bool ansiAsciiIsLatin1 = AsciiDecodesAsItself(TextEncoding::Ansi);
  asciiIsLatin1_ = encoding != TextEncoding::Ansi || ansiAsciiIsLatin1;
}

bool RawLineReader::ReadRawBytes(QByteArrayView* bytes, qsizetype* asciiPrefix) {
  const auto* p = reinterpret_cast<const unsigned char*>(bytes_.data());
  const qsizetype n = bytes_.size();
  const qsizetype start = position_;
  qsizetype i = start;
  while (i < n && p[i] < 0x80 && !IsBreak(p[i])) ++i;
  *asciiPrefix = i - start;
  while (i < n && !IsBreak(p[i])) ++i;
  const qsizetype end = i;
  while (i < n && IsBreak(p[i])) ++i;
  position_ = i;
  *bytes = bytes_.sliced(start, end - start);
  // An empty line comes only from a file that starts with line breaks followed by more text.
  return end > start || i < n;
}

bool RawLineReader::ReadRawLine(QString* line) {
  QByteArrayView bytes;
  qsizetype asciiPrefix = 0;
  if (!ReadRawBytes(&bytes, &asciiPrefix)) return false;
  *line = Decode(bytes);
  return true;
}

QString RawLineReader::Decode(QByteArrayView bytes) {
  if (bytes.isEmpty()) return {};
  if (asciiIsLatin1_) {
    qsizetype i = 0;
    while (i < bytes.size() && static_cast<unsigned char>(bytes[i]) < 0x80) ++i;
    if (i == bytes.size()) return QString::fromLatin1(bytes.data(), bytes.size());
  }
  if (!decoder_) decoder_.emplace(encoding_);
  return decoder_->Decode(bytes);
}

}  // namespace lyrova
