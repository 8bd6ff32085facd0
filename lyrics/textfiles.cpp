#include "lyrics/textfiles.h"

#include "common/fileio.h"
#include "lyrics/rawlines.h"

namespace lyrova {

bool LoadTextFile(const QString& path, QString* text, QString* message, TextEncoding* encoding) {
  text->clear();
  if (message) message->clear();
  QByteArray bytes;
  QString error;
  if (!ReadWholeFile(path, &bytes, &error)) {
    if (message) *message = QStringLiteral("临时文件不能载入,") + error;
    return false;
  }
  const TextEncoding found = DetectEncoding(bytes);
  if (encoding) *encoding = found;
  TextEncoding lineEncoding = found;
  QByteArray converted;
  const QByteArrayView body =
      ByteLines(QByteArrayView(bytes).sliced(ByteOrderMarkLength(found)), &lineEncoding, &converted);
  text->reserve(body.size() + body.size() / 16 + 2);
  RawLineReader reader(body, lineEncoding);
  QString line;
  while (reader.ReadRawLine(&line)) {
    *text += line;
    *text += QStringLiteral("\r\n");
  }
  text->squeeze();
  return true;
}

bool SaveTextFile(const QString& path, const QString& text, TextEncoding encoding,
                  QString* message) {
  if (message) message->clear();
  QString error;
  if (!WriteWholeFile(path, EncodeFile(text + QStringLiteral("\r\n"), encoding), &error)) {
    if (message) *message = QStringLiteral("不能保存或建立文件 \"") + path + QStringLiteral("\",") + error;
    return false;
  }
  return true;
}

}  // namespace lyrova
