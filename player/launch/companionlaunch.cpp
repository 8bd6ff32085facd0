#include "player/launch/companionlaunch.h"

#include "common/launcher.h"
#include "common/paths.h"
#include "common/prompts/prompts.h"
#include "common/settings.h"
#include "player/core/playersettings.h"

namespace lyrova {

namespace {

const QString kMessageTitle = QStringLiteral("Lyrova");

// Starts a program of the suite, or reports why not. `missingText` is shown when the file is
// not in the program folder.
bool StartSibling(const LaunchContext& context, const QString& executable,
                  const QString& argument, const QString& missingText) {
  const QString program = SiblingProgram(context.programFolder, executable);
  if (!FileExists(program)) {
    context.prompts.Message(missingText, kMessageTitle, MessageIcon::Critical);
    return false;
  }
  QString error;
  if (context.launcher.Start(program, {argument}, &error)) return true;
  // Present but not startable (not executable, say): saying nothing would look like success.
  context.prompts.Message(QStringLiteral("启动《") + executable + QStringLiteral("》时发生错误，") + error,
                          kMessageTitle, MessageIcon::Critical);
  return false;
}

}  // namespace

bool LaunchEditor(const LaunchContext& context, const QString& song, const QString& lyrics) {
  context.settings.WriteEditorSetting(kHandOffSongKey, song);
  context.settings.WriteEditorSetting(kHandOffLyricsKey, lyrics);
  return StartSibling(context, kEditorExecutable, kEditorHandOffSwitch,
               QStringLiteral("《Lyrova》的组件《Versel》丢失，不能进行歌词编辑"));
}

bool LaunchScanner(const LaunchContext& context) {
  return StartSibling(context, kScannerExecutable, kScannerReturnSwitch,
                      QStringLiteral("《Lyrova》的组件《Scoutel》丢失，不能自动添加歌词目录"));
}

bool StartLyricsTextEditor(const LaunchContext& context, const QString& path, QString* error) {
  return StartChosenTextEditor(context.launcher, context.settings, path, error);
}

bool EditLyrics(const LaunchContext& context, bool withEditor, const QString& openName,
                const QString& lyricsPath) {
  const QString song = TrimBlanks(openName);
  if (song.isEmpty()) {
    context.prompts.Message(QStringLiteral("歌曲未打开"), kMessageTitle, MessageIcon::Information);
    return false;
  }
  QString lyrics = TrimBlanks(lyricsPath).isEmpty() ? StripExtension(openName) + QStringLiteral(".lrc")
                                                    : lyricsPath;
  if (!withEditor) {
    QString error;
    if (!StartLyricsTextEditor(context, lyrics, &error))
      context.prompts.Message(QStringLiteral("记事本打开时发生错误，") + error, kMessageTitle,
                              MessageIcon::Critical);
    return false;
  }
  if (!FileExists(lyrics)) lyrics.clear();
  return LaunchEditor(context, openName, lyrics);
}

}  // namespace lyrova
