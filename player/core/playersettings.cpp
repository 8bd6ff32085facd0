#include "player/core/playersettings.h"

#include "common/launcher.h"
#include "common/numbertext.h"
#include "player/core/lyriccolors.h"

#include <algorithm>

namespace lyrova {

using namespace playerkeys;

std::optional<double> UsableFontSize(const QString& stored) {
  const double size = LeadingNumber(stored);
  if (size >= 8 && size <= 48) return size;
  return std::nullopt;
}

PlayerSettings ReadPlayerSettings(const SettingsStore& store, const QString& programFolder,
                                  qint32 designWidthTwips) {
  PlayerSettings s;
  s.openDir = store.ReadSetting(kOpenDir, programFolder);
  s.openName = store.ReadSetting(kOpenName, QString());
  s.volume = std::clamp(RoundClampInt32(store.ReadNumberSetting(kVolume, QStringLiteral("750"))), 0, 1000);
  s.sendType = RoundClampInt32(store.ReadNumberSetting(kSendType, QStringLiteral("0")));
  if (s.sendType < 0 || s.sendType > 2) s.sendType = 0;
  s.transparency =
      std::clamp(RoundClampInt32(store.ReadNumberSetting(kTransparence, QStringLiteral("3"))), 0, 14);
  s.dressHome = store.ReadSetting(kDressHome, QString());
  s.dressEnd = store.ReadSetting(kDressEnd, QString());
  s.openLrcSel = store.ReadBoolSetting(kOpenLrcSel, true);
  s.playLoop = store.ReadBoolSetting(kPlayLoop, false);
  s.autoPlay = store.ReadBoolSetting(kAutoPlay, true);
  s.skipUrl = store.ReadBoolSetting(kSkipUrl, false);
  s.chatTest = store.ReadBoolSetting(kChatTest, true);
  s.bilingual = store.ReadBoolSetting(kBilingual, true);
  s.followMode = store.ReadBoolSetting(kFollowMode, false);
  s.followPlayer = store.ReadSetting(kFollowPlayer, QString());
  s.lyricColors = RoundClampInt32(store.ReadNumberSetting(kLyricColors, QStringLiteral("0")));
  if (s.lyricColors < 0 || s.lyricColors >= kLyricColorSchemeCount) s.lyricColors = 0;
  s.widthTwips = RoundClampInt32(store.ReadNumberSetting(kWidth, QString::number(designWidthTwips)));
  s.fontName = store.ReadSetting(kFontName, kDefaultFontName);
  s.fontSize = UsableFontSize(store.ReadSetting(kFontSize, QStringLiteral("11")));
  return s;
}

void WriteShutdownSettings(const SettingsStore& store, qint32 widthTwips, qint32 volume,
                           qint32 sendType, const QString& openDir, const QString& openName) {
  store.WriteSetting(kWidth, QString::number(widthTwips));
  store.WriteSetting(kVolume, QString::number(volume));
  store.WriteSetting(kSendType, QString::number(sendType));
  store.WriteSetting(kOpenDir, openDir);
  store.WriteSetting(kOpenName, openName);
}

QString ChosenTextEditor(const SettingsStore& store) {
  return ChooseTextEditor(store.ReadSetting(playerkeys::kTextEditor, QString()));
}

bool StartChosenTextEditor(Launcher& launcher, const SettingsStore& store, const QString& path,
                           QString* error) {
  const QString editor = ChosenTextEditor(store);
  QString why;
  if (StartTextEditor(launcher, editor, path, &why)) return true;
  if (error != nullptr) {
    *error = why + QStringLiteral("\n文本编辑器《") + editor + QStringLiteral("》无法启动，请在 ") +
             store.FilePath() + QStringLiteral(" 的 [Set] 段用 ") + playerkeys::kTextEditor +
             QStringLiteral("=程序名 指定其他文本编辑器");
  }
  return false;
}

}  // namespace lyrova
