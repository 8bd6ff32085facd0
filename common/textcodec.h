#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringDecoder>
#include <QStringEncoder>

// The one text codec of the suite. Text files are read as UTF-16 (little or big endian) when they
// start with its byte-order mark, as UTF-8 when they carry a UTF-8 byte-order mark (the mark is
// dropped) or when their bytes are valid UTF-8 holding at least one non-ASCII sequence;
// everything else is the ANSI code page: GB18030 (a superset of GBK, so GBK files read unchanged
// and every character survives a save), or the code page named by the environment variable
// LYROVA_CODEPAGE.
namespace lyrova {

enum class TextEncoding {
  Ansi,     // the ANSI code page
  Utf8,     // UTF-8 without a byte-order mark
  Utf8Bom,  // UTF-8 that starts with a byte-order mark
  Utf16Le,  // UTF-16, little endian, with its byte-order mark
  Utf16Be,  // UTF-16, big endian, with its byte-order mark
};

// The name of the ANSI code page in use ("GB18030" unless LYROVA_CODEPAGE names a known one).
QString AnsiCodePageName();

// How a whole file's bytes are to be read (see the rule above).
TextEncoding DetectEncoding(QByteArrayView bytes);

// Length of the byte-order mark that `encoding` puts at the start of a file (0, 2 or 3).
qsizetype ByteOrderMarkLength(TextEncoding encoding);

// A file's body (its byte-order mark removed) in a form whose lines end at CR, LF and NUL bytes,
// as the suite's line readers split them, and in `encoding` the encoding to decode those lines
// with: UTF-16 is converted to UTF-8 (held in `converted`); any other body already is such a form
// and comes back as it is.
QByteArrayView ByteLines(QByteArrayView body, TextEncoding* encoding, QByteArray* converted);

// Converts bytes of a file (without its byte-order mark) to text and back. Each converter
// keeps no state between calls, so one object can convert a file line by line.
class TextDecoder {
 public:
  explicit TextDecoder(TextEncoding encoding);
  QString Decode(QByteArrayView bytes);

 private:
  QStringDecoder decoder_;
};

class TextEncoder {
 public:
  explicit TextEncoder(TextEncoding encoding);
  // The bytes of `text`; `lossless` (when given) is set false when a character has no form
  // in the encoding.
  QByteArray Encode(QStringView text, bool* lossless = nullptr);

 private:
  QStringEncoder encoder_;
};

// The bytes of a whole file holding `text` in `encoding`, byte-order mark included. When the
// ANSI code page cannot hold every character, the file is written as UTF-8 with a mark instead,
// so nothing is ever lost; `used` (when given) receives the encoding actually written.
QByteArray EncodeFile(const QString& text, TextEncoding encoding, TextEncoding* used = nullptr);

// Decodes a whole file's bytes, dropping a byte-order mark; `found` receives the encoding.
QString DecodeFile(QByteArrayView bytes, TextEncoding* found = nullptr);

}  // namespace lyrova
