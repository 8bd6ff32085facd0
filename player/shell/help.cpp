#include "player/shell/help.h"

#include "common/paths.h"
#include "common/prompts/prompts.h"

#include <QDesktopServices>

namespace lyrova {

QString HelpFilePath(const QString& folder) { return JoinPath(folder, kHelpFileName); }

bool OpenHelp(const QString& folder, Prompts& prompts, const UrlOpener& opener) {
  const QString path = HelpFilePath(folder);
  const QString title = QStringLiteral("Lyrova");
  if (!FileExists(path)) {
    prompts.Message(QStringLiteral("帮助文件 ") + path + QStringLiteral(" 丢失"), title, MessageIcon::Critical);
    return false;
  }
  if (!opener(QUrl::fromLocalFile(path))) {
    prompts.Message(QStringLiteral("无法打开帮助文件 ") + path, title, MessageIcon::Critical);
    return false;
  }
  return true;
}

bool OpenHelp(const QString& folder, Prompts& prompts) {
  return OpenHelp(folder, prompts, [](const QUrl& url) { return QDesktopServices::openUrl(url); });
}

}  // namespace lyrova
