// The Player's window with the real companions: a song without lyrics opens the link dialog,
// the proposed file is linked and loaded; the menus start the Editor and the Scanner.
#include "common/clock.h"
#include "common/launcher.h"
#include "common/prompts/scriptedprompts.h"
#include "common/settings.h"
#include "dialogtree.h"
#include "media/commanddevice.h"
#include "media/fakeaudio.h"
#include "media/mediacontrol.h"
#include "player/dialogs/linkdialog.h"
#include "player/launch/playercompanions.h"
#include "player/window/playerwindow.h"

#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTest>

using namespace lyrova;

namespace {

struct RecordingLauncher : Launcher {
  bool Start(const QString& program, const QStringList& arguments, QString*) override {
    started.append(program + u' ' + arguments.join(u' '));
    return true;
  }
  QStringList started;
};

QAction* FindAction(QMenu* menu, const QString& text) {
  for (QAction* action : menu->actions()) {
    if (action->text() == text) return action;
    if (action->menu() != nullptr)
      if (QAction* inner = FindAction(action->menu(), text)) return inner;
  }
  return nullptr;
}

}  // namespace

class TstPlayerLinking : public QObject {
  Q_OBJECT

 private slots:
  void linksEditsAndScans() {
    DialogTree tree;
    QVERIFY(tree.Make(L(u"$/bin/Versel|$/bin/Scoutel|$/music/晴天.mp3|$/music/雨天.mp3|$/lyrics/晴天 live.lrc"_qs)));
    QVERIFY(WriteTextLines(tree.X(u"$/lyrics/晴天 live.lrc"_qs), {u"[00:01.00]第一行"_qs}));
    QVERIFY(tree.WriteSearchDirs(L(u"$/lyrics"_qs)));
    const QString song = tree.X(u"$/music/晴天.mp3"_qs);
    FakeAudio audio;
    audio.AddFile(song, 60000);
    CommandDevice device(audio.Factory());
    MediaControl media(device, FormatClock);
    ScriptedPrompts prompts;
    RecordingLauncher launcher;
    const SettingsStore settings(kPlayerProgram, tree.X(u"$/config"_qs));
    QStringList dialogs;
    int linkButton = LinkDialogLogic::kLink;  // what the link dialog is answered with
    QWidget* player = nullptr;                // the dialogs' owner
    PlayerCompanions companions(
        {.launcher = &launcher, .prompts = &prompts, .settings = &settings,
         .programFolder = tree.X(u"$/bin"_qs), .dataFolder = tree.DataFolder(), .openUrl = {},
         .runDialog = [&](QDialog& dialog) {
           dialogs.append(dialog.windowTitle());
           QCOMPARE(dialog.parentWidget(), player);
           auto* link = qobject_cast<LinkDialog*>(&dialog);
           QVERIFY(link != nullptr);
           if (linkButton == LinkDialogLogic::kEditor) {
             link->Command1(LinkDialogLogic::kEditor)->click();
             return;
           }
           QCOMPARE(link->List1()->count(), 1);
           QCOMPARE(link->List1()->item(0)->text(), u"晴天 live.lrc"_qs);
           link->Command2(LinkDialogLogic::kLink)->click();
         }});
    PlayerServices services;
    services.settings = &settings;
    services.media = &media;
    services.prompts = &prompts;
    services.companions = &companions;
    services.programFolder = tree.X(u"$/bin"_qs);
    services.dataFolder = tree.DataFolder();
    PlayerWindow window(services);
    player = &window;
    window.Start({song});

    // No lyrics by name: the link dialog came up, and its link counts at once.
    QCOMPARE(dialogs, L(u"为当前歌曲指定歌词"_qs));
    QCOMPARE(tree.Unx(window.Session().LyricsPath()), u"$/lyrics/晴天 live.lrc"_qs);
    QVERIFY(window.Session().LyricsLoaded());
    QCOMPARE(tree.LinkLines(), L(u"$/music/晴天.mp3|$/lyrics/晴天 live.lrc"_qs));

    QAction* edit = FindAction(window.SetMenu(), u"用《Versel》编辑歌词"_qs);
    QVERIFY(edit != nullptr);
    QVERIFY(media.IsPlaying());
    edit->trigger();
    QCOMPARE(tree.Unx(launcher.started), L(u"$/bin/Versel /RR"_qs));
    // The Editor plays the song itself: the Player's copy pauses, and resumes as always.
    QVERIFY(!media.IsPlaying());
    QVERIFY(!window.Session().PlaybackTimer().isActive());
    window.RunButton(PlayerButton::Pause);
    QVERIFY(media.IsPlaying());
    // The same from the link dialog's Editor button.
    linkButton = LinkDialogLogic::kEditor;
    window.Session().LinkLyrics();
    QCOMPARE(launcher.started.size(), 2);
    QVERIFY(!media.IsPlaying());
    window.RunButton(PlayerButton::Pause);
    // Started from the link dialog of a song being opened, the Editor has the song to itself:
    // the Player does not start it (and starts the next song as always).
    const QString rainy = tree.X(u"$/music/雨天.mp3"_qs);
    audio.AddFile(rainy, 60000);
    window.OpenDroppedFile(rainy);
    QCOMPARE(launcher.started.size(), 3);
    QVERIFY(!media.IsPlaying());
    linkButton = LinkDialogLogic::kLink;
    window.OpenDroppedFile(song);
    QVERIFY(media.IsPlaying());
    // An Editor that does not start leaves the song playing.
    QVERIFY(QFile::remove(tree.X(u"$/bin/Versel"_qs)));
    edit->trigger();
    QCOMPARE(launcher.started.size(), 3);
    QCOMPARE(prompts.ShownCount(PromptKind::Message), 1);
    QVERIFY(media.IsPlaying());
    prompts.ClearShown();
    const SettingsStore editorSettings(kEditorProgram, tree.X(u"$/config"_qs));
    QCOMPARE(tree.Unx(editorSettings.ReadSetting(u"GetNameLrc"_qs, QString())), u"$/lyrics/晴天 live.lrc"_qs);
    QCOMPARE(editorSettings.ReadSetting(u"GetNameMp3"_qs, QString()), song);

    QAction* scan = FindAction(window.SetMenu(), u"自动在硬盘上搜索并添加"_qs);
    QVERIFY(scan != nullptr);
    QVERIFY(window.isVisible());
    scan->trigger();
    QCOMPARE(tree.Unx(launcher.started.last()), u"$/bin/Scoutel /R"_qs);
    QVERIFY(!window.isVisible());
    QVERIFY(prompts.Shown().isEmpty());
  }
};

QTEST_MAIN(TstPlayerLinking)
#include "tst_playerlinking.moc"
