#pragma once

#include "player/core/playerhooks.h"
#include "player/launch/companionlaunch.h"

#include <QString>
#include <QUrl>

#include <functional>

class QDialog;

namespace lyrova {

class Launcher;
class LookupIndex;
class Prompts;
class SettingsStore;

struct CompanionServices {
  Launcher* launcher = nullptr;
  Prompts* prompts = nullptr;
  const SettingsStore* settings = nullptr;  // the Player's own store
  QString programFolder;                    // where the suite's programs live
  QString dataFolder;                       // holds the list files and the built-in "Lrc" folder
  const LookupIndex* lookupIndex = nullptr;  // the program's index of the list files, if any
  // Opens a folder in the desktop's file browser.
  std::function<bool(const QUrl&)> openUrl;
  // Shows a filled dialog modally and returns when it has closed. Empty: QDialog::exec.
  // Tests put a function here that works the dialog's controls instead.
  std::function<void(QDialog&)> runDialog;
};

// The Player's companions: the link dialog, the search-directory dialog and the programs it
// starts, behind the window's CompanionHooks.
class PlayerCompanions : public CompanionHooks {
 public:
  explicit PlayerCompanions(CompanionServices services);

  bool StartScanner() override;
  void ShowLinkDialog(QWidget* owner, const QString& song, const QString& lyrics) override;
  void ShowSearchDirDialog(QWidget* owner) override;
  void EditLyrics(QWidget* owner, bool withEditor, const QString& song,
                  const QString& lyrics) override;

 private:
  LaunchContext Context() const;
  void Run(QDialog& dialog);

  CompanionServices services_;
};

}  // namespace lyrova
