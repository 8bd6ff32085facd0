// editorshots OUTPUT_DIR: renders the Editor window over the fake audio system and the demo
// lyrics in tag mode and in text mode, and each of its four dialogs, to PNG files in
// OUTPUT_DIR. Runs on any Qt platform; offscreen needs no display.
#include "common/clock.h"
#include "common/programcontract.h"
#include "common/prompts/scriptedprompts.h"
#include "common/qttranslations.h"
#include "common/settings.h"
#include "common/ui/toolbutton.h"
#include "editor/core/commandtable.h"
#include "editor/dialogs/aboutdialog.h"
#include "editor/dialogs/chooserdialog.h"
#include "editor/dialogs/layoutdialog.h"
#include "editor/dialogs/offsetdialog.h"
#include "editor/dialogs/widgeteditordialogs.h"
#include "editor/window/editorwidgets.h"
#include "editor/window/editorwindow.h"
#include "media/commanddevice.h"
#include "media/fakeaudio.h"
#include "media/mediacontrol.h"
#include "tools/shots/savepicture.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTreeView>
#include <QTemporaryDir>

#include <cstdio>

using namespace lyrova;

namespace {

using shots::Save;

void SaveDialog(QWidget* dialog, const QString& folder, const QString& name) {
  dialog->show();
  Save(dialog, folder, name);
  dialog->hide();
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  InstallQtChinese(app);
  if (argc < 2) {
    std::fprintf(stderr, "usage: editorshots OUTPUT_DIR\n");
    return 2;
  }
  const QString out = QString::fromLocal8Bit(argv[1]);
  QDir().mkpath(out);
  QTemporaryDir root;
  const QString song = root.filePath(QStringLiteral("demo.ogg"));
  QFile::copy(QStringLiteral(LYROVA_SOURCE_DIR "/demo/demo.ogg"), song);
  const QString lyrics = root.filePath(QStringLiteral("demo.lrc"));
  QFile::copy(QStringLiteral(LYROVA_SOURCE_DIR "/demo/demo.lrc"), lyrics);

  FakeAudio audio;
  audio.AddFile(song, 95'000);
  CommandDevice device(audio.Factory());
  MediaControl media(device, FormatEditorClock, MediaControl::VolumeControl::Absent);
  const SettingsStore settings(kEditorProgram, root.filePath(QStringLiteral("config")));
  settings.WriteSetting(kHandOffSongKey, song);
  settings.WriteSetting(kHandOffLyricsKey, lyrics);
  ScriptedPrompts prompts;
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
  window.resize(640, 600);
  window.Start({kEditorHandOffSwitch});
  EditorSession& session = window.Session();
  session.RunCommand(kCmdPlay);
  audio.Advance(21'300);
  session.Tick();
  session.ClickRow(4);
  window.SelectionChanged();
  emit window.Butt(kCmdStamp)->Entered(kCmdStamp);
  Save(&window, out, QStringLiteral("editor-tag-mode"));
  emit window.Butt(kCmdStamp)->Left(kCmdStamp);
  session.RunCommand(kCmdPause);
  session.RunCommand(kCmdTextMode);
  Save(&window, out, QStringLiteral("editor-text-mode"));
  // A disabled button under the pointer: grey, not raised, the status line says why.
  emit window.Butt(kCmdNewLine)->Entered(kCmdNewLine);
  Save(&window, out, QStringLiteral("editor-text-mode-hover"));
  emit window.Butt(kCmdNewLine)->Left(kCmdNewLine);
  session.ReturnFromTextMode(session.TextSnapshot());

  ChooserDialog chooser(2, &window);
  SaveDialog(&chooser, out, QStringLiteral("dialog-new-or-clear"));
  OffsetDialog offset(prompts, &window);
  SaveDialog(&offset, out, QStringLiteral("dialog-offset"));
  LayoutDialog layout(true, &window);
  SaveDialog(&layout, out, QStringLiteral("dialog-layout"));
  AboutDialog about(ShortcutSummary().trimmed().split(u'\n'), &window);
  SaveDialog(&about, out, QStringLiteral("dialog-about"));
  session.Shutdown();
  return 0;
}
