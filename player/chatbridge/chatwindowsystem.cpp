#include "player/chatbridge/chatwindowsystem.h"

#include "common/paths.h"
#include "common/settings.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace lyrova {
namespace {

QString FindProgram(const QString& command, const QProcessEnvironment& environment) {
  if (command.contains(QLatin1Char('/'))) {
    const QFileInfo info(command);
    return info.isFile() && info.isExecutable() ? info.absoluteFilePath() : QString();
  }
  const QStringList path =
      environment.value(QStringLiteral("PATH")).split(QLatin1Char(':'), Qt::SkipEmptyParts);
  return QStandardPaths::findExecutable(command, path);
}

}  // namespace

BridgeSettings ReadBridgeSettings(const SettingsStore& settings) {
  BridgeSettings result;
  result.wineCommand = TrimBlanks(settings.ReadSetting(kWineCommandKey, QString()));
  result.winePrefix = TrimBlanks(settings.ReadSetting(kWinePrefixKey, QString()));
  result.wineLocale = TrimBlanks(settings.ReadSetting(kWineLocaleKey, QString()));
  return result;
}

std::optional<BridgeCommand> BridgeCommandFor(const BridgeSettings& settings,
                                              const QString& programFolder,
                                              const QProcessEnvironment& environment,
                                              QString* why) {
  auto fail = [why](const QString& reason) {
    if (why != nullptr) *why = reason;
    return std::nullopt;
  };
  const QString bridge = JoinPath(programFolder, kBridgeExecutable);
  if (!FileExists(bridge)) return fail(QStringLiteral("no %1").arg(bridge));
  const QString command =
      settings.wineCommand.isEmpty() ? QStringLiteral("wine") : settings.wineCommand;
  const QString wine = FindProgram(command, environment);
  if (wine.isEmpty()) return fail(QStringLiteral("no Wine program %1").arg(command));

  // Without a prefix of its own Wine would create one, which takes long and can be no prefix
  // a client runs in: a missing prefix means there is no client to reach.
  QString prefix = settings.winePrefix;
  if (prefix.isEmpty()) prefix = environment.value(QStringLiteral("WINEPREFIX"));
  if (prefix.isEmpty()) {
    prefix = JoinPath(environment.value(QStringLiteral("HOME"), QDir::homePath()),
                      QStringLiteral(".wine"));
  }
  if (!DirExists(prefix)) return fail(QStringLiteral("no Wine prefix %1").arg(prefix));

  BridgeCommand result;
  result.program = wine;
  result.arguments = {bridge};
  result.environment = environment;
  result.environment.insert(QStringLiteral("WINEPREFIX"), prefix);
  if (!result.environment.contains(QStringLiteral("WINEDEBUG"))) {
    result.environment.insert(QStringLiteral("WINEDEBUG"), QStringLiteral("-all"));
  }
  if (!settings.wineLocale.isEmpty()) {
    result.environment.insert(QStringLiteral("LC_ALL"), settings.wineLocale);
  }
  return result;
}

std::unique_ptr<WindowSystem> MakeChatWindowSystem(const SettingsStore& settings,
                                                   const QString& programFolder) {
  auto command = BridgeCommandFor(ReadBridgeSettings(settings), programFolder,
                                  QProcessEnvironment::systemEnvironment());
  if (!command) return std::make_unique<NoWindowSystem>();
  return std::make_unique<WineBridgeWindowSystem>(std::move(*command));
}

}  // namespace lyrova
