// The Scanner: finds every folder holding lyrics files and adds it to the Player's list of
// search folders ("LrcDir.ini").
//
//   Scoutel [/R] [FOLDER...]
//
// With "/R" (any letter case) the Player is started again when the Scanner closes; the Player
// passes it when it hands over to the Scanner. Folders named scan only those trees instead of
// every drive.
#include "common/commandline.h"
#include "common/launcher.h"
#include "common/programfolder.h"
#include "common/qttranslations.h"
#include "common/ui/widgetprompts.h"
#include "scanner/window/scannerwindow.h"

#include <QApplication>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(lyrova::kScannerExecutable);
  lyrova::InstallQtChinese(app);

  lyrova::WidgetPrompts prompts(nullptr);
  lyrova::ProcessLauncher launcher;
  lyrova::ScannerServices services;
  services.prompts = &prompts;
  services.launcher = &launcher;
  services.programFolder = lyrova::ProgramFolder();
  services.dataFolder = lyrova::DataFolder();
  // "/R" and the folders to scan; a folder name the system cannot decode names no folder and
  // is said to be missing like any other.
  services.arguments = lyrova::CommandLine(argc, argv).Arguments();

  lyrova::ScannerWindow window(services);
  prompts.SetParent(&window);
  window.show();
  return app.exec();
}
