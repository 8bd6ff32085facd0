#include "common/textcodec.h"

#include <QtGlobal>

#include <cstring>

namespace lyrova {
namespace {

constexpr char kBom[] = "\xEF\xBB\xBF";
constexpr char kBomLe[] = "\xFF\xFE";
constexpr char kBomBe[] = "\xFE\xFF";

bool IsUtf16(TextEncoding encoding) {
  return encoding == TextEncoding::Utf16Le || encoding == TextEncoding::Utf16Be;
}

QStringConverter::Encoding Utf16Of(TextEncoding encoding) {
  return encoding == TextEncoding::Utf16Le ? QStringConverter::Utf16LE : QStringConverter::Utf16BE;
}

QStringDecoder MakeDecoder(TextEncoding encoding) {
  // The file's mark is removed before decoding: a U+FEFF still there is text and is kept.
  if (IsUtf16(encoding))
    return QStringDecoder(Utf16Of(encoding),
                          QStringConverter::Flag::Stateless | QStringConverter::Flag::ConvertInitialBom);
  if (encoding != TextEncoding::Ansi)
    return QStringDecoder(QStringConverter::Utf8,
                          QStringConverter::Flag::Stateless | QStringConverter::Flag::ConvertInitialBom);
  const QByteArray name = AnsiCodePageName().toLatin1();
  return QStringDecoder(name.constData(), QStringConverter::Flag::Stateless);
}

QStringEncoder MakeEncoder(TextEncoding encoding) {
  if (IsUtf16(encoding)) return QStringEncoder(Utf16Of(encoding), QStringConverter::Flag::Stateless);
  if (encoding != TextEncoding::Ansi)
    return QStringEncoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
  const QByteArray name = AnsiCodePageName().toLatin1();
  return QStringEncoder(name.constData(), QStringConverter::Flag::Stateless);
}

// Strict UTF-8 validation: no overlong forms, no surrogates, nothing above U+10FFFF.
// Returns whether the bytes are valid and, through `nonAscii`, whether any byte was >= 0x80.
bool IsValidUtf8(QByteArrayView bytes, bool* nonAscii) {
  *nonAscii = false;
  const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
  const qsizetype n = bytes.size();
  qsizetype i = 0;
  while (i < n) {
    // Runs of ASCII, the bulk of any lyrics file, are skipped eight bytes at a time.
    while (i + 8 <= n) {
      quint64 word;
      std::memcpy(&word, p + i, 8);
      if (word & 0x8080808080808080ULL) break;
      i += 8;
    }
    if (i >= n) break;
    const unsigned char c = p[i];
    if (c < 0x80) {
      ++i;
      continue;
    }
    *nonAscii = true;
    int extra;
    unsigned char low = 0x80, high = 0xBF;
    if (c >= 0xC2 && c <= 0xDF) {
      extra = 1;
    } else if (c >= 0xE0 && c <= 0xEF) {
      extra = 2;
      if (c == 0xE0) low = 0xA0;
      if (c == 0xED) high = 0x9F;
    } else if (c >= 0xF0 && c <= 0xF4) {
      extra = 3;
      if (c == 0xF0) low = 0x90;
      if (c == 0xF4) high = 0x8F;
    } else {
      return false;
    }
    if (i + extra >= n) return false;
    if (p[i + 1] < low || p[i + 1] > high) return false;
    for (int k = 2; k <= extra; ++k)
      if (p[i + k] < 0x80 || p[i + k] > 0xBF) return false;
    i += extra + 1;
  }
  return true;
}

}  // namespace

QString AnsiCodePageName() {
  static const QString name = [] {
    const QByteArray wanted = qgetenv("LYROVA_CODEPAGE").trimmed();
    if (!wanted.isEmpty() && QStringDecoder(wanted.constData()).isValid() &&
        QStringEncoder(wanted.constData()).isValid())
      return QString::fromLatin1(wanted);
    return QStringLiteral("GB18030");
  }();
  return name;
}

TextEncoding DetectEncoding(QByteArrayView bytes) {
  if (bytes.startsWith(QByteArrayView(kBom, 3))) return TextEncoding::Utf8Bom;
  if (bytes.startsWith(QByteArrayView(kBomLe, 2))) return TextEncoding::Utf16Le;
  if (bytes.startsWith(QByteArrayView(kBomBe, 2))) return TextEncoding::Utf16Be;
  bool nonAscii = false;
  if (IsValidUtf8(bytes, &nonAscii) && nonAscii) return TextEncoding::Utf8;
  return TextEncoding::Ansi;
}

qsizetype ByteOrderMarkLength(TextEncoding encoding) {
  return encoding == TextEncoding::Utf8Bom ? 3 : IsUtf16(encoding) ? 2 : 0;
}

QByteArrayView ByteLines(QByteArrayView body, TextEncoding* encoding, QByteArray* converted) {
  if (!IsUtf16(*encoding)) return body;
  *converted = TextDecoder(*encoding).Decode(body).toUtf8();
  *encoding = TextEncoding::Utf8;
  return *converted;
}

TextDecoder::TextDecoder(TextEncoding encoding) : decoder_(MakeDecoder(encoding)) {}

QString TextDecoder::Decode(QByteArrayView bytes) {
  if (bytes.isEmpty()) return {};
  decoder_.resetState();
  QString text = decoder_.decode(bytes);
  if (!decoder_.hasError()) return text;
  // Some converters silently drop an incomplete sequence at the very end. Decoding again with a
  // line feed behind the bytes turns it into a replacement character like any other bad byte.
  decoder_.resetState();
  QByteArray padded(bytes.data(), bytes.size());
  padded.append('\n');
  text = decoder_.decode(padded);
  if (text.endsWith(u'\n')) text.chop(1);
  return text;
}

TextEncoder::TextEncoder(TextEncoding encoding) : encoder_(MakeEncoder(encoding)) {}

QByteArray TextEncoder::Encode(QStringView text, bool* lossless) {
  encoder_.resetState();
  QByteArray bytes = encoder_.encode(text);
  if (lossless) *lossless = !encoder_.hasError();
  return bytes;
}

QByteArray EncodeFile(const QString& text, TextEncoding encoding, TextEncoding* used) {
  bool lossless = true;
  QByteArray body = TextEncoder(encoding).Encode(text, &lossless);
  if (!lossless) {
    encoding = TextEncoding::Utf8Bom;
    body = TextEncoder(encoding).Encode(text);
  }
  if (used) *used = encoding;
  if (encoding == TextEncoding::Utf8Bom) body.prepend(kBom, 3);
  if (encoding == TextEncoding::Utf16Le) body.prepend(kBomLe, 2);
  if (encoding == TextEncoding::Utf16Be) body.prepend(kBomBe, 2);
  return body;
}

QString DecodeFile(QByteArrayView bytes, TextEncoding* found) {
  const TextEncoding encoding = DetectEncoding(bytes);
  if (found) *found = encoding;
  return TextDecoder(encoding).Decode(bytes.sliced(ByteOrderMarkLength(encoding)));
}

}  // namespace lyrova
