// The Player: plays one song and shows its lyrics in step with it.
//
//   lyrova [--echo] [--echo-words] [--quit-at-end] [--follow] [FILE]
//   lyrova --help | --version
//
// --follow starts in follow mode: the lyrics of what another player on the session bus plays
// (MPRIS), whatever the settings say; a FILE is then not opened.
// --echo prints the text of every line the moment it becomes current (each line of a group of
// one time); --echo-words prints besides each word of a word-timed line, indented by two
// blanks, the moment its singing begins; --quit-at-end closes the
// Player when the song ends without looping, and ends it at once with a line on standard error
// and status 1 when the song cannot be opened. The rest of the command line is one file path.
#include "common/clock.h"
#include "common/commandline.h"
#include "common/launcher.h"
#include "common/paths.h"
#include "common/programcontract.h"
#include "common/programfolder.h"
#include "common/programinfo.h"
#include "common/qttranslations.h"
#include "common/settings.h"
#include "common/ui/widgetprompts.h"
#include "media/commanddevice.h"
#include "media/mediacontrol.h"
#include "media/mpvengine.h"

#include "player/shell/platformchoice.h"
#include "player/shell/windoweffects.h"
#include "player/app/headlessprompts.h"
#include "player/chat/chatcontroller.h"
#include "player/chatbridge/chatwindowsystem.h"
#include "player/chat/emoticons.h"
#include "player/core/playerhooks.h"
#include "player/launch/playercompanions.h"
#include "player/lookup/lookupindex.h"
#include "player/mpris/mprisfollower.h"
#include "player/mpris/mprispublisher.h"
#include "player/window/playerwindow.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDialog>
#include <QUrl>

#include <clocale>
#include <cstdio>
#include <memory>

namespace {

// The usage `lyrova --help` prints; its man page lists the same options.
constexpr char kHelpText[] =
    "usage: lyrova [--echo] [--echo-words] [--quit-at-end] [--follow] [FILE]\n"
    "  Plays FILE and shows its lyrics in step with it; the rest of the command line after\n"
    "  the options is one file path.\n"
    "  --echo         print every lyric line on standard output as it becomes current\n"
    "  --echo-words   as --echo, and each word of a word-timed line as its singing begins\n"
    "  --quit-at-end  end when the song ends without looping; a song that cannot be opened\n"
    "                 ends the Player at once with status 1\n"
    "  --follow       show the lyrics of what another player on the session bus (MPRIS)\n"
    "                 plays instead of playing a song; FILE is then not opened\n"
    "  -h, --help     print this text and end\n"
    "  --version      print the version and end\n";

// Asks Qt for the platform the window effects need; see platformchoice.h. True when there is no
// display at all.
bool SetPlatform() {
  const lyrova::PlatformChoice choice =
      lyrova::ChoosePlatform([](const char* name) { return qgetenv(name); });
  if (!choice.platform.isEmpty()) qputenv("QT_QPA_PLATFORM", choice.platform);
  if (choice.noDisplay) lyrova::TellOnStandardError(QStringLiteral("no display found, running without a window"));
  return choice.noDisplay;
}

// The offscreen platform cannot pass size limits to a window system it does not have, and says
// so at every resize; the Player runs there on purpose, so that note is left out.
QtMessageHandler standardHandler = nullptr;

void DropOffscreenSizeNote(QtMsgType type, const QMessageLogContext& context, const QString& text) {
  if (text == u"This plugin does not support propagateSizeHints()") return;
  if (standardHandler != nullptr)
    standardHandler(type, context, text);
  else
    std::fputs(qPrintable(qFormatLogMessage(type, context, text) + u'\n'), stderr);
}

}  // namespace

int main(int argc, char** argv) {
  // Answered before any display is looked for, so they work anywhere.
  const lyrova::InfoRequest info = lyrova::FindInfoRequest(argc, argv, lyrova::InfoPlacement::Anywhere);
  if (info != lyrova::InfoRequest::None) return lyrova::AnswerInfoRequest(info, "lyrova", kHelpText);
  const bool noDisplay = SetPlatform();
  if (qgetenv("QT_QPA_PLATFORM") == "offscreen")
    standardHandler = qInstallMessageHandler(DropOffscreenSizeNote);
  QApplication app(argc, argv);
  // A platform the user named that draws only into memory has nobody to answer either.
  const QString platformName = QGuiApplication::platformName();
  const bool headless = noDisplay || lyrova::ShowsNothing(platformName);
  if (headless && !noDisplay)
    lyrova::TellOnStandardError(QStringLiteral("the ") + platformName +
                                QStringLiteral(" platform shows nothing, running without a window"));
  QApplication::setApplicationName(lyrova::kPlayerProgram);
  lyrova::InstallQtChinese(app);
  // libmpv parses numbers with the C library and needs the "C" numeric locale.
  std::setlocale(LC_NUMERIC, "C");

  bool echo = false;
  bool echoWords = false;
  bool quitAtEnd = false;
  bool follow = false;
  QStringList files;
  QStringList unreadable;
  // Read from argv after QApplication has taken out its own options.
  const lyrova::CommandLine commandLine(argc, argv);
  for (qsizetype i = 0; i < commandLine.Arguments().size(); ++i) {
    const QString& argument = commandLine.Arguments()[i];
    if (argument == u"--echo") {
      echo = true;
    } else if (argument == u"--echo-words") {
      echo = true;
      echoWords = true;
    } else if (argument == u"--quit-at-end") {
      quitAtEnd = true;
    } else if (argument == u"--follow") {
      follow = true;
    } else {
      files.append(argument);
      if (!commandLine.Readable(i)) unreadable.append(argument);
    }
  }

  const QString programFolder = lyrova::ProgramFolder();
  const QString dataFolder = lyrova::DataFolder();
  const lyrova::SettingsStore settings(lyrova::kPlayerProgram);
  // Without a display nobody can answer a question or work a dialog: they are answered with
  // what changes nothing, and said on standard error.
  lyrova::WidgetPrompts widgetPrompts(nullptr);
  lyrova::HeadlessPrompts headlessPrompts;
  lyrova::Prompts& prompts = headless ? static_cast<lyrova::Prompts&>(headlessPrompts) : widgetPrompts;
  std::function<void(QDialog&)> runDialog;
  if (headless) {
    runDialog = [](QDialog& dialog) {
      lyrova::TellOnStandardError(dialog.windowTitle() + QStringLiteral(": not shown (no display)"));
    };
  }
  lyrova::ProcessLauncher launcher;
  // Built on its own thread from now on; lookups made before it is ready take the slow path.
  const lyrova::LookupIndex lookupIndex(dataFolder);
  lyrova::PlayerCompanions companions(
      {.launcher = &launcher, .prompts = &prompts, .settings = &settings,
       .programFolder = programFolder, .dataFolder = dataFolder, .lookupIndex = &lookupIndex,
       .openUrl = [](const QUrl& url) { return QDesktopServices::openUrl(url); }, .runDialog = runDialog});
  const std::unique_ptr<lyrova::WindowSystem> windows = lyrova::MakeChatWindowSystem(settings, programFolder);
  lyrova::ChatController chat({windows.get(), &prompts, &settings, &launcher,
                               lyrova::EmoticonFilePath(dataFolder, programFolder)});

  if (!lyrova::FileExists(lyrova::JoinPath(dataFolder, lyrova::kSearchDirFileName))) {
    const bool scan = prompts.Question(
        QStringLiteral("你还没有设置歌词查找目录，Lyrova可以自动添加你硬盘上的所有歌词目录以方便以后"
                       "自动查找歌词，你是否进行此步操作?"),
        QStringLiteral("Lyrova"), lyrova::DefaultAnswer::Yes);
    if (scan && companions.StartScanner()) return 0;
  }

  lyrova::MpvEngine::Options engineOptions;
  engineOptions.audioOutputs = lyrova::MpvEngine::DefaultAudioOutputs();
  lyrova::CommandDevice device(
      [engineOptions] { return std::make_unique<lyrova::MpvEngine>(engineOptions); });
  lyrova::MediaControl media(device, lyrova::FormatClock);
  lyrova::PlayerServices services;
  services.settings = &settings;
  services.media = &media;
  services.prompts = &prompts;
  services.companions = &companions;
  services.chat = &chat;
  services.programFolder = programFolder;
  services.dataFolder = dataFolder;
  services.lookupIndex = &lookupIndex;
  services.layeredAvailable = lyrova::LayeredAvailable();
  services.openUrl = [](const QUrl& url) { return QDesktopServices::openUrl(url); };
  if (echo) {
    services.echo = [](const QString& line) {
      std::fputs(line.toUtf8().append('\n').constData(), stdout);
      std::fflush(stdout);
    };
  }
  if (echoWords) {
    services.echoWord = [](const QString& word) {
      std::fputs(QString(QStringLiteral("  ") + word).toUtf8().append('\n').constData(), stdout);
      std::fflush(stdout);
    };
  }
  services.quitAtEnd = quitAtEnd;
  services.makeFollowSource = [] { return std::make_unique<lyrova::MprisFollower>(); };
  services.followAtStart = follow;
  constexpr int kSongFailed = 1;
  services.songFailed = [](const QString& reason) { lyrova::TellOnStandardError(reason); };

  lyrova::PlayerWindow window(services);
  window.Start(files, unreadable);
  if (window.Session().SongFailed()) return kSongFailed;
  // The desktop's media keys and panels show and control the own song (when there is a bus).
  const lyrova::MprisPublisher publisher(window.Session());
  const QString effectsNote = lyrova::EffectsNote(QGuiApplication::platformName());
  if (!effectsNote.isEmpty()) window.ShowStatusNote(effectsNote);
  const int status = app.exec();
  return window.Session().SongFailed() ? kSongFailed : status;
}
