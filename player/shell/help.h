#pragma once

#include "common/programcontract.h"

#include <QString>
#include <QUrl>

#include <functional>

namespace lyrova {

class Prompts;

// Opens a URL with the desktop's viewer; false when nothing could open it.
using UrlOpener = std::function<bool(const QUrl&)>;

// The help file in `folder` (the Player's program folder).
QString HelpFilePath(const QString& folder);

// Opens the help file with `opener`. A missing file is reported as
// "帮助文件 <path> 丢失", a file the desktop cannot open as "无法打开帮助文件 <path>", both
// critical messages titled "Lyrova". True when the viewer was started.
bool OpenHelp(const QString& folder, Prompts& prompts, const UrlOpener& opener);
// The same with QDesktopServices::openUrl.
bool OpenHelp(const QString& folder, Prompts& prompts);

}  // namespace lyrova
