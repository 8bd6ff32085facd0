#pragma once

#include "common/programcontract.h"
#include "player/chat/windowsystem.h"
#include "player/chatbridge/winebridgewindowsystem.h"

#include <QProcessEnvironment>
#include <QString>

#include <memory>
#include <optional>

// The choice of the chat client's window system for the Player.
namespace lyrova {

class SettingsStore;

// The Player's settings for the bridge. Empty values take the defaults: `wine` on the path,
// the prefix of the environment's WINEPREFIX (else ~/.wine), the locale of the environment.
inline const QString kWineCommandKey = QStringLiteral("WineCommand");
inline const QString kWinePrefixKey = QStringLiteral("WinePrefix");
inline const QString kWineLocaleKey = QStringLiteral("WineLocale");

struct BridgeSettings {
  QString wineCommand;  // a program name looked up on PATH, or a path
  QString winePrefix;
  QString wineLocale;   // e.g. "zh_CN.UTF-8": the client's locale, which sets its code page
};

BridgeSettings ReadBridgeSettings(const SettingsStore& settings);

// How to start the bridge from `programFolder` with `settings` in `environment`; nothing
// (with the reason in `why`) when the bridge program, Wine or the prefix is missing.
std::optional<BridgeCommand> BridgeCommandFor(const BridgeSettings& settings,
                                              const QString& programFolder,
                                              const QProcessEnvironment& environment,
                                              QString* why = nullptr);

// The bridge to the chat client under Wine when it can be started, else a window system
// without windows (no targets, dead handles): the Player works as before.
std::unique_ptr<WindowSystem> MakeChatWindowSystem(const SettingsStore& settings,
                                                   const QString& programFolder);

}  // namespace lyrova
