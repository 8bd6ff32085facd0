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

std::unique_ptr<WindowSystem> MakeWindowSystem() {
  // On Linux the client runs under Wine and is reached only through a bridge process; until
  // that backend exists no chat window can be reached, which looks like no client running.
  return std::make_unique<NoWindowSystem>();
}

}  // namespace lyrova
