// The real programs handing over to each other on a private X display: the Player's launch
// code starting the Editor, which opens the handed-over song and lyrics and clears both keys;
// and the Player on its first start handing over to the Scanner, which starts the Player again
// when it is closed. The programs are copied into a fresh program folder, so their list files
// and settings stay inside the test.
#include "common/launcher.h"
#include "common/paths.h"
#include "common/prompts/scriptedprompts.h"
#include "common/settings.h"
#include "dialogtree.h"
#include "player/launch/playercompanions.h"
#include "testdisplay.h"

#include <QProcess>
#include <QTest>

#include <csignal>

using namespace lyrova;

namespace {

const QString kBinDir = QStringLiteral(LYROVA_BIN_DIR);

// Kills, by process id, any program of the test still showing a window.
void KillLeftovers(const TestDisplay& display) {
  for (const TestDisplay::Window& window : display.Windows())
    if (window.pid > 0) ::kill(static_cast<pid_t>(window.pid), SIGKILL);
}

}  // namespace

class TstCompanionsEndToEnd : public QObject {
  Q_OBJECT

 private:
  TestDisplay display_;
  DialogTree tree_;

  QString ProgramFolder() const { return tree_.X(u"$/bin"_qs); }
  QString ConfigRoot() const { return tree_.X(u"$/config"_qs); }

 private slots:
  void initTestCase() {
    for (const QString& program : {kPlayerExecutable, kEditorExecutable, kScannerExecutable}) {
      if (!QFile::exists(JoinPath(kBinDir, program)))
        QSKIP(qPrintable(program + u" is not built"_qs));
    }
    QString why;
    if (!display_.Start(&why)) QSKIP(qPrintable(why));
    QVERIFY(tree_.Make(L(u"$/bin/|$/config/|$/xdgdata/"_qs)));
    for (const QString& program : {kPlayerExecutable, kEditorExecutable, kScannerExecutable})
      QVERIFY(QFile::copy(JoinPath(kBinDir, program), JoinPath(ProgramFolder(), program)));
    // Everything started from here on, directly or by another program, sees this display
    // and these private settings.
    qputenv("DISPLAY", display_.Name().toLatin1());
    qputenv("QT_QPA_PLATFORM", "xcb");
    qputenv("XDG_CONFIG_HOME", ConfigRoot().toUtf8());
    qputenv("XDG_DATA_HOME", tree_.X(u"$/xdgdata"_qs).toUtf8());
  }

  void cleanup() { KillLeftovers(display_); }

  void playerStartsEditorWithSongAndLyrics() {
    QVERIFY(tree_.Make(L(u"$/music/a.mp3"_qs)));
    const QString lyrics = tree_.X(u"$/music/a.lrc"_qs);
    QVERIFY(WriteTextLines(lyrics, {u"[00:01.00]第一行"_qs}));
    ScriptedPrompts prompts;
    ProcessLauncher launcher;
    const SettingsStore settings(kPlayerProgram, ConfigRoot());
    const SettingsStore editorSettings(kEditorProgram, ConfigRoot());
    PlayerCompanions companions({.launcher = &launcher, .prompts = &prompts, .settings = &settings,
                                 .programFolder = ProgramFolder(), .dataFolder = ProgramFolder(),
                                 .openUrl = {}, .runDialog = {}});
    companions.EditLyrics(nullptr, true, tree_.X(u"$/music/a.mp3"_qs), lyrics);
    QVERIFY(prompts.Shown().isEmpty());

    const auto editor = display_.WaitForWindow(
        [](const TestDisplay::Window& w) { return w.title.startsWith(u"Versel"); }, 30000);
    QVERIFY2(editor, "the Editor showed no window");
    // Its title names the lyrics it loaded and the song it took.
    QVERIFY(display_.WaitForWindow(
        [](const TestDisplay::Window& w) { return w.title == u"Versel - a.lrc (a.mp3)"; }, 10000));
    QCOMPARE(editorSettings.ReadSetting(u"GetNameMp3"_qs, u"<unset>"_qs), QString());
    QCOMPARE(editorSettings.ReadSetting(u"GetNameLrc"_qs, u"<unset>"_qs), QString());

    display_.Close(editor->id);
    QVERIFY2(display_.WaitUntilGone([id = editor->id](const TestDisplay::Window& w) { return w.id == id; },
                                    15000),
             "the Editor did not close");
    // On closing it stores the folder of the lyrics file it had open.
    QTRY_COMPARE_WITH_TIMEOUT(tree_.Unx(editorSettings.ReadSetting(u"LrcOpenDir"_qs, QString())),
                              u"$/music/"_qs, 10000);
  }

  void firstStartHandsOverToScannerAndBack() {
    QFile::remove(JoinPath(ProgramFolder(), u"LrcDir.ini"_qs));
    QProcess player;
    player.setProgram(JoinPath(ProgramFolder(), kPlayerExecutable));
    player.setProcessChannelMode(QProcess::ForwardedChannels);
    player.start();
    QVERIFY(player.waitForStarted(10000));

    // The first-start question; Enter answers its preselected Yes.
    const auto question = display_.WaitForWindow(
        [&player](const TestDisplay::Window& w) { return w.pid == player.processId(); }, 30000);
    QVERIFY2(question, "the Player asked nothing");
    QCOMPARE(question->title, u"Lyrova"_qs);
    // A key sent before the box has taken the focus may go unseen: press again if need be.
    for (int attempt = 0; attempt < 5 && player.state() != QProcess::NotRunning; ++attempt) {
      display_.PressReturn(question->id);
      player.waitForFinished(3000);
    }

    // The Player ends at once, without a window of its own; the Scanner runs.
    QVERIFY2(player.waitForFinished(5000) || player.state() == QProcess::NotRunning,
             "the Player kept running");
    QCOMPARE(player.exitStatus(), QProcess::NormalExit);
    QCOMPARE(player.exitCode(), 0);
    const auto scanner = display_.WaitForWindow(
        [](const TestDisplay::Window& w) { return w.title == u"Scoutel"; }, 30000);
    QVERIFY2(scanner, "the Scanner showed no window");
    QVERIFY(!display_.WaitForWindow(
        [](const TestDisplay::Window& w) { return w.title == u"Lyrova"; }, 200));

    // Closing the Scanner brings the Player back. Closed before any scan, the Scanner wrote no
    // list, so the Player asks again; closing the question answers No and its window opens.
    display_.Close(scanner->id);
    const auto again = display_.WaitForWindow(
        [](const TestDisplay::Window& w) { return w.title == u"Lyrova"; }, 30000);
    QVERIFY2(again, "the Player did not come back");
    QVERIFY(again->pid > 0);
    QVERIFY(again->pid != player.processId());
    QVERIFY(display_.WaitUntilGone([](const TestDisplay::Window& w) { return w.title == u"Scoutel"; },
                                   15000));
    display_.Close(again->id);
    const auto window = display_.WaitForWindow(
        [&again](const TestDisplay::Window& w) { return w.pid == again->pid && w.id != again->id; },
        30000);
    QVERIFY2(window, "the Player showed no window after the question");
    display_.Close(window->id);
    QVERIFY2(display_.WaitUntilGone([pid = again->pid](const TestDisplay::Window& w) { return w.pid == pid; },
                                    15000),
             "the Player did not close");
  }
};

QTEST_GUILESS_MAIN(TstCompanionsEndToEnd)
#include "tst_companions_e2e.moc"
