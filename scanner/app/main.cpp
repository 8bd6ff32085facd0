// The Scanner: finds every folder holding lyrics files and adds it to the Player's list of
// search folders ("LrcDir.ini").
//
//   Scoutel [/R] [FOLDER...]
//   Scoutel --help | --version
//
// With "/R" (any letter case) the Player is started again when the Scanner closes; the Player
// passes it when it hands over to the Scanner. Folders named scan only those trees instead of
// every drive.
#include "common/commandline.h"
#include "common/launcher.h"
#include "common/programfolder.h"
#include "common/programinfo.h"
#include "common/qttranslations.h"
#include "common/ui/widgetprompts.h"
#include "scanner/window/scannerwindow.h"

#include <QApplication>

namespace {

// The usage `Scoutel --help` prints; its man page lists the same options.
constexpr char kHelpText[] =
    "usage: Scoutel [/R] [FOLDER...]\n"
    "  Finds every folder holding LRC lyrics files and adds it to the Player's search list.\n"
    "  FOLDER      scan only these trees instead of every drive\n"
    "  /R          start the Player again when the Scanner closes (any letter case)\n"
    "  -h, --help  print this text and end (only as the one argument)\n"
    "  --version   print the version and end (only as the one argument)\n";

}  // namespace

int main(int argc, char** argv) {
  // Answered before any display is looked for, so they work anywhere.
  const lyrova::InfoRequest info = lyrova::FindInfoRequest(argc, argv, lyrova::InfoPlacement::OnlyArgument);
  if (info != lyrova::InfoRequest::None) return lyrova::AnswerInfoRequest(info, "Scoutel", kHelpText);
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
