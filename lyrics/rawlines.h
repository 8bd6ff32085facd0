#pragma once

#include "common/textcodec.h"

#include <QByteArrayView>
#include <QString>

#include <optional>

namespace lyrova {

// Splits a file's bytes into lines and decodes them. Any run of CR, LF and NUL bytes is one line
// break, so blank lines are never returned; the one exception is a file that starts with line
// breaks, whose first line is empty. A last line without a final break is returned normally.
// The bytes must stay alive while the reader is used; a byte-order mark must already be removed.
class RawLineReader {
 public:
  RawLineReader(QByteArrayView bytes, TextEncoding encoding);

  // Stores the next line in `line` and returns true, or returns false at the end of the bytes.
  bool ReadRawLine(QString* line);

  // The same split without decoding: the next line's bytes, and in `asciiPrefix` the number of
  // its leading bytes that are plain ASCII (the whole line when it has no other byte).
  bool ReadRawBytes(QByteArrayView* bytes, qsizetype* asciiPrefix);

  // Decodes some bytes of a line. Any slice that starts at a character boundary may be decoded
  // on its own; a slice after an ASCII prefix always does when AsciiIsSelfContained().
  QString Decode(QByteArrayView bytes);

  // Whether each ASCII byte stands for itself in this encoding (true for UTF-8, GB18030, GBK),
  // so an ASCII prefix of a line can be read without the decoder.
  bool AsciiIsSelfContained() const { return asciiIsLatin1_; }

  // The byte offset (0-based) of the next line still to read.
  qsizetype position() const { return position_; }

 private:
  QByteArrayView bytes_;
  qsizetype position_ = 0;
  TextEncoding encoding_;
  // Made on the first line that is not plain ASCII: most lyrics files never need it.
  std::optional<TextDecoder> decoder_;
  bool asciiIsLatin1_ = false;
};

}  // namespace lyrova
