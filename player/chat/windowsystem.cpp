#include "player/chat/windowsystem.h"

#include "common/textcodec.h"

namespace lyrova {

QByteArray LocalAnsiBytes(const QString& text) {
  return TextEncoder(TextEncoding::Ansi).Encode(text);
}

QByteArray CharacterMessageBytes(const QByteArray& ansi) {
  QByteArray bytes;
  bytes.reserve(ansi.size());
  for (const char c : ansi) {
    if (c != '\r' && c != '\n') bytes.append(c);
  }
  return bytes;
}

}  // namespace lyrova
