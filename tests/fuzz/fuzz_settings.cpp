// The settings store over an arbitrary INI file: the Player's settings read within their limits,
// and a value written is then read back, whatever else the file held.
#include "common/settings.h"
#include "player/core/playersettings.h"

#include <QDir>
#include <QFile>
#include <QString>

#include <cstdint>
#include <cstdlib>
#include <unistd.h>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const QString root = QStringLiteral("/tmp/lyrova-fuzz-settings-%1").arg(::getpid());
  static const lyrova::SettingsStore store(lyrova::kPlayerProgram, root);
  QDir().mkpath(root + QStringLiteral("/Lyrova"));
  QFile file(store.FilePath());
  if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) std::abort();
  file.write(reinterpret_cast<const char*>(data), qint64(size));
  file.close();

  const lyrova::PlayerSettings settings = lyrova::ReadPlayerSettings(store, QStringLiteral("/opt"), 7000);
  if (settings.transparency < 0 || settings.transparency > 14 || settings.sendType < 0 || settings.sendType > 2)
    std::abort();
  if (settings.fontSize && (*settings.fontSize < 8 || *settings.fontSize > 48)) std::abort();

  // A value as a user's path would be: any text without control characters.
  QString value = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size > 40 ? 40 : size));
  for (QChar& ch : value)
    if (ch.unicode() < 0x20) ch = u' ';
  if (store.WriteSetting(QStringLiteral("OpenName"), value) &&
      store.ReadSetting(QStringLiteral("OpenName"), QStringLiteral("<none>")) != value)
    std::abort();
  return 0;
}
