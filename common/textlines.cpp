#include "common/textlines.h"

#include "common/fileio.h"

namespace lyrova {
namespace {

bool IsBreak(char c) { return c == '\r' || c == '\n' || c == '\0'; }

}  // namespace

QStringList SplitTextLines(QByteArrayView body, TextEncoding encoding) {
  QByteArray converted;
  const QByteArrayView bytes = ByteLines(body, &encoding, &converted);
  QStringList lines;
  TextDecoder decoder(encoding);
  const char* data = bytes.data();
  const qsizetype n = bytes.size();
  qsizetype i = 0;
  // A leading run of breaks ends an empty first line.
  if (n > 0 && IsBreak(data[0])) {
    lines.append(QString());
    while (i < n && IsBreak(data[i])) ++i;
  }
  while (i < n) {
    const qsizetype start = i;
    while (i < n && !IsBreak(data[i])) ++i;
    lines.append(decoder.Decode(bytes.sliced(start, i - start)));
    while (i < n && IsBreak(data[i])) ++i;
  }
  return lines;
}

std::optional<QStringList> ReadTextLines(const QString& path, TextEncoding* found) {
  QByteArray bytes;
  if (path.isEmpty() || !ReadWholeFile(path, &bytes, nullptr)) return std::nullopt;
  const TextEncoding encoding = DetectEncoding(bytes);
  if (found) *found = encoding;
  return SplitTextLines(QByteArrayView(bytes).sliced(ByteOrderMarkLength(encoding)), encoding);
}

bool WriteTextLines(const QString& path, const QStringList& lines, TextEncoding encoding,
                    QString* error) {
  QString text;
  for (const QString& line : lines) text += line + QStringLiteral("\r\n");
  return WriteWholeFile(path, EncodeFile(text, encoding), error);
}

}  // namespace lyrova
