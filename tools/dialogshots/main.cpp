// dialogshots OUTPUT_DIR: renders the modal windows the programs show through the real widgets,
// with Qt's own texts loaded as the programs load them: the Player's and the Editor's open and
// save file dialogs, the folder picker, the Scanner window and its questions, and Qt's standard
// message box buttons. Each modal window is saved to a PNG file in OUTPUT_DIR and then closed.
// Runs on any Qt platform; offscreen needs no display.
#include "common/clock.h"
#include "common/launcher.h"
#include "common/programcontract.h"
#include "common/qttranslations.h"
#include "common/settings.h"
#include "common/ui/widgetprompts.h"
#include "editor/core/commandtable.h"
#include "editor/dialogs/widgeteditordialogs.h"
#include "editor/window/editorwidgets.h"
#include "editor/window/editorwindow.h"
#include "media/commanddevice.h"
#include "media/fakeaudio.h"
#include "media/mediacontrol.h"
#include "player/core/playerhooks.h"
#include "player/window/playerwindow.h"
#include "scanner/window/scannertexts.h"
#include "scanner/window/scannerwindow.h"
#include "tools/shots/savepicture.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>

using namespace lyrova;

namespace {

using shots::Save;

// Saves the next modal window that opens under `name` and closes it as Escape would. A file
// dialog fills its list from another thread, so the picture is taken a while after it opened.
class ModalShot : public QObject {
 public:
  explicit ModalShot(QString folder) : folder_(std::move(folder)) {
    connect(&timer_, &QTimer::timeout, this, [this] { Poll(); });
  }
  void Next(const QString& name) {
    name_ = name;
    seen_ = false;
    timer_.start(20);
  }

 private:
  void Poll() {
    auto* modal = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    if (modal == nullptr || !modal->isVisible()) return;
    if (!seen_) {
      seen_ = true;
      shown_.start();
      return;
    }
    if (shown_.elapsed() < 700) return;
    timer_.stop();
    Save(modal, folder_, name_);
    modal->reject();
  }

  QString folder_;
  QString name_;
  bool seen_ = false;
  QElapsedTimer shown_;
  QTimer timer_;
};

class NoLauncher : public Launcher {
 public:
  bool Start(const QString&, const QStringList&, QString*) override { return true; }
};

class NoHooks : public CompanionHooks, public ChatHooks {
 public:
  bool Sending() const override { return false; }
  void StopSending() override {}
  void SendLyricLine(const LyricLine&) override {}
  void ShowLinkDialog(QWidget*, const QString&, const QString&) override {}
};

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  if (argc < 2) {
    std::fprintf(stderr, "usage: dialogshots OUTPUT_DIR\n");
    return 2;
  }
  if (!InstallQtChinese(app)) std::fprintf(stderr, "Qt's Chinese translations are not installed\n");
  const QString out = QString::fromLocal8Bit(argv[1]);
  QDir().mkpath(out);
  QTemporaryDir root;
  const QString music = root.filePath(QStringLiteral("music"));
  QDir().mkpath(music);
  QDir().mkpath(root.filePath(QStringLiteral("data")));
  QDir().mkpath(root.filePath(QStringLiteral("music/专辑")));
  const QString song = music + QStringLiteral("/夜航的灯.ogg");
  QFile::copy(QStringLiteral(LYROVA_SOURCE_DIR "/demo/demo.ogg"), song);
  const QString lyrics = music + QStringLiteral("/夜航的灯.lrc");
  QFile::copy(QStringLiteral(LYROVA_SOURCE_DIR "/demo/demo.lrc"), lyrics);

  ModalShot shot(out);
  FakeAudio audio;
  audio.AddFile(song, 95'000);
  {
    CommandDevice device(audio.Factory());
    MediaControl media(device, FormatClock);
    const SettingsStore settings(kPlayerProgram, root.filePath(QStringLiteral("config")));
    WidgetPrompts prompts;
    NoHooks hooks;
    PlayerServices services;
    services.settings = &settings;
    services.media = &media;
    services.prompts = &prompts;
    services.companions = &hooks;
    services.chat = &hooks;
    services.programFolder = root.path();
    services.dataFolder = root.filePath(QStringLiteral("data"));
    PlayerWindow window(services);
    window.Start({song});
    prompts.SetParent(&window);
    shot.Next(QStringLiteral("player-open-dialog"));
    window.OpenFromDialog();
    shot.Next(QStringLiteral("player-about-box"));
    window.ShowAbout();
    shot.Next(QStringLiteral("folder-picker"));
    prompts.ChooseFolder(QStringLiteral("选择歌词目录"), music);
    window.close();
  }
  {
    CommandDevice device(audio.Factory());
    MediaControl media(device, FormatEditorClock, MediaControl::VolumeControl::Absent);
    const SettingsStore settings(kEditorProgram, root.filePath(QStringLiteral("config")));
    WidgetPrompts prompts;
    WidgetSaveQuestion saveQuestion;
    WidgetEditorDialogs dialogs(prompts);
    EditorServices services;
    services.settings = &settings;
    services.media = &media;
    services.prompts = &prompts;
    services.saveQuestion = &saveQuestion;
    services.dialogs = &dialogs;
    services.programFolder = root.path();
    EditorWindow window(services);
    window.Start({lyrics});
    prompts.SetParent(&window);
    shot.Next(QStringLiteral("editor-open-audio-dialog"));
    window.Session().RunCommand(kCmdOpenAudio);
    shot.Next(QStringLiteral("editor-open-lyrics-dialog"));
    window.Session().RunCommand(kCmdOpenLyrics);
    shot.Next(QStringLiteral("editor-save-as-dialog"));
    window.Session().RunCommand(kCmdSaveAs);
    window.Session().Shutdown();
  }
  {
    WidgetPrompts prompts;
    NoLauncher launcher;
    ScannerServices services;
    services.prompts = &prompts;
    services.launcher = &launcher;
    services.programFolder = root.path();
    services.dataFolder = root.filePath(QStringLiteral("data"));
    ScannerWindow window(services);
    prompts.SetParent(&window);
    window.show();
    Save(&window, out, QStringLiteral("scanner-window"));
    shot.Next(QStringLiteral("scanner-done-question"));
    prompts.Question(scannertexts::DoneQuestion(), scannertexts::QuestionTitle(), DefaultAnswer::Yes);
    shot.Next(QStringLiteral("scanner-player-missing"));
    prompts.Message(scannertexts::PlayerMissing(root.filePath(kPlayerExecutable)),
                    scannertexts::ErrorTitle(), MessageIcon::Critical);
  }
  // Qt's own standard buttons, as a box shows them when nobody sets their texts.
  QMessageBox box(QMessageBox::Question, QStringLiteral("提示"), QStringLiteral("标准按钮"),
                  QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel | QMessageBox::Ok |
                      QMessageBox::Save | QMessageBox::Discard);
  shot.Next(QStringLiteral("qt-standard-buttons"));
  box.exec();
  return 0;
}
