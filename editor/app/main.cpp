// The Editor: creates and time-tags one lyrics document against one song.
//
//   Versel [/RR | FILE]
//   Versel --help | --version
//
// "/RR" takes the song and lyrics the Player handed over in the settings; anything else is one
// file path (lyrics for .lrc and .txt, otherwise the song), optionally in double quotes.
#include "common/clock.h"
#include "common/commandline.h"
#include "common/programfolder.h"
#include "common/programinfo.h"
#include "common/qttranslations.h"
#include "common/settings.h"
#include "common/ui/widgetprompts.h"
#include "editor/core/commandtable.h"
#include "editor/core/editorsession.h"
#include "editor/dialogs/widgeteditordialogs.h"
#include "editor/window/editorwidgets.h"
#include "editor/window/editorwindow.h"
#include "media/commanddevice.h"
#include "media/mediacontrol.h"
#include "media/mpvengine.h"

#include <QApplication>

#include <clocale>
#include <memory>

namespace {

// The usage `Versel --help` prints; its man page lists the same options.
constexpr char kHelpText[] =
    "usage: Versel [/RR | FILE]\n"
    "  Edits and time-tags one LRC lyrics document against one song.\n"
    "  FILE        a lyrics file (.lrc, .txt) or a song to open; double quotes around it are\n"
    "              taken off\n"
    "  /RR         open the song and lyrics the Player handed over in the settings\n"
    "  -h, --help  print this text and end (only as the one argument)\n"
    "  --version   print the version and end (only as the one argument)\n";

}  // namespace

int main(int argc, char** argv) {
  // Answered before any display is looked for, so they work anywhere.
  const lyrova::InfoRequest info = lyrova::FindInfoRequest(argc, argv, lyrova::InfoPlacement::OnlyArgument);
  if (info != lyrova::InfoRequest::None) return lyrova::AnswerInfoRequest(info, "Versel", kHelpText);
  QApplication app(argc, argv);
  QApplication::setApplicationName(lyrova::kEditorProgram);
  lyrova::InstallQtChinese(app);
  // libmpv parses numbers with the C library and needs the "C" numeric locale.
  std::setlocale(LC_NUMERIC, "C");

  const lyrova::SettingsStore settings(lyrova::kEditorProgram);
  lyrova::WidgetPrompts prompts(nullptr);
  lyrova::WidgetSaveQuestion saveQuestion;
  lyrova::WidgetEditorDialogs dialogs(prompts);
  dialogs.SetAboutExtraLines(lyrova::ShortcutSummary().trimmed().split(u'\n'));

  lyrova::MpvEngine::Options engineOptions;
  engineOptions.audioOutputs = lyrova::MpvEngine::DefaultAudioOutputs();
  lyrova::CommandDevice device(
      [engineOptions] { return std::make_unique<lyrova::MpvEngine>(engineOptions); });
  lyrova::MediaControl media(device, lyrova::FormatEditorClock, lyrova::MediaControl::VolumeControl::Absent);

  lyrova::EditorServices services;
  services.settings = &settings;
  services.media = &media;
  services.prompts = &prompts;
  services.saveQuestion = &saveQuestion;
  services.dialogs = &dialogs;
  services.programFolder = lyrova::ProgramFolder();

  lyrova::EditorWindow window(services);
  // Read from argv after QApplication has taken out its own options.
  const lyrova::CommandLine commandLine(argc, argv);
  window.Start(commandLine.Arguments(), commandLine.Unreadable());
  return app.exec();
}
