// The Editor's whole-file text reader over arbitrary file contents, through a real file.
#include "lyrics/textfiles.h"

#include <QFile>
#include <QString>

#include <cstdint>
#include <cstdlib>
#include <unistd.h>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const QString path =
      QStringLiteral("/tmp/lyrova-fuzz-text-%1.txt").arg(QString::number(::getpid()));
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) std::abort();
  file.write(reinterpret_cast<const char*>(data), qint64(size));
  file.close();
  QString text;
  if (!lyrova::LoadTextFile(path, &text)) std::abort();
  // Every line comes back with CR LF and no other break inside it.
  for (const QStringView line : QStringView(text).split(QStringLiteral("\r\n"))) {
    if (line.contains(u'\r') || line.contains(u'\n')) std::abort();
  }
  return 0;
}
