// Starting the Editor, the Scanner and the text editor: command lines, hand-off values and the
// messages when a program is missing or cannot start; and the hooks object the Player's window
// calls, with its dialogs worked through scripted clicks.
#include "common/launcher.h"
#include "common/prompts/scriptedprompts.h"
#include "common/settings.h"
#include "dialogtree.h"
#include "player/core/playersettings.h"
#include "player/dialogs/linkdialog.h"
#include "player/dialogs/searchdirdialog.h"
#include "player/launch/playercompanions.h"

#include <QPushButton>
#include <QRegularExpression>
#include <QSettings>
#include <QTest>

using namespace lyrova;

namespace {

struct RecordingLauncher : Launcher {
  bool Start(const QString& program, const QStringList& arguments, QString* error) override {
    started.append(program + u' ' + arguments.join(u' '));
    if (!fails) return true;
    *error = u"boom"_qs;
    return false;
  }
  QStringList started;
  bool fails = false;
};

struct LaunchFixture {
  DialogTree tree;
  ScriptedPrompts prompts;
  RecordingLauncher launcher;
  SettingsStore settings{kPlayerProgram, tree.X(u"$/config"_qs)};
  SettingsStore editorSettings{kEditorProgram, tree.X(u"$/config"_qs)};
  LaunchContext context{launcher, prompts, settings, tree.X(u"$/bin"_qs)};

  LaunchFixture() { tree.Make(L(u"$/bin/"_qs)); }
  void Install(const QString& executable) { tree.Make({u"$/bin/"_qs + executable}); }
  QString Key(const QString& key) const { return tree.Unx(editorSettings.ReadSetting(key, u"<unset>"_qs)); }
  QStringList Started() const { return tree.Unx(launcher.started); }
  QString Message() const { return prompts.Shown().isEmpty() ? QString() : tree.Unx(prompts.Last().text); }
};

}  // namespace

class TstCompanions : public QObject {
  Q_OBJECT

 private slots:
  void launchesEditor_data() {
    QTest::addColumn<bool>("installed");
    QTest::addColumn<bool>("fails");
    QTest::addColumn<QStringList>("started");
    QTest::addColumn<QString>("message");
    QTest::newRow("started with /RR") << true << false << L(u"$/bin/Versel /RR"_qs) << QString();
    QTest::newRow("missing: message, keys still written")
        << false << false << QStringList() << u"《Lyrova》的组件《Versel》丢失，不能进行歌词编辑"_qs;
  }
  void launchesEditor() {
    QFETCH(bool, installed);
    QFETCH(bool, fails);
    QFETCH(QStringList, started);
    QFETCH(QString, message);
    LaunchFixture f;
    if (installed) f.Install(kEditorExecutable);
    f.launcher.fails = fails;
    LaunchEditor(f.context, f.tree.X(u"$/m/My Song.mp3"_qs), f.tree.X(u"$/m/My Song.lrc"_qs));
    QCOMPARE(f.Started(), started);
    QCOMPARE(f.Message(), message);
    if (!message.isEmpty()) QCOMPARE(f.prompts.Last().icon, MessageIcon::Critical);
    QCOMPARE(f.Key(u"GetNameMp3"_qs), u"$/m/My Song.mp3"_qs);
    QCOMPARE(f.Key(u"GetNameLrc"_qs), u"$/m/My Song.lrc"_qs);
  }

  void launchesScanner_data() {
    QTest::addColumn<bool>("installed");
    QTest::addColumn<bool>("fails");
    QTest::addColumn<bool>("result");
    QTest::addColumn<QStringList>("started");
    QTest::addColumn<QString>("message");
    QTest::newRow("started with /R") << true << false << true << L(u"$/bin/Scoutel /R"_qs) << QString();
    QTest::newRow("missing: the Player keeps running")
        << false << false << false << QStringList()
        << u"《Lyrova》的组件《Scoutel》丢失，不能自动添加歌词目录"_qs;
    QTest::newRow("not startable: the Player keeps running")
        << true << true << false << L(u"$/bin/Scoutel /R"_qs) << u"启动《Scoutel》时发生错误，boom"_qs;
  }
  void launchesScanner() {
    QFETCH(bool, installed);
    QFETCH(bool, fails);
    QFETCH(bool, result);
    QFETCH(QStringList, started);
    QFETCH(QString, message);
    LaunchFixture f;
    if (installed) f.Install(kScannerExecutable);
    f.launcher.fails = fails;
    PlayerCompanions companions({.launcher = &f.launcher, .prompts = &f.prompts,
                                 .settings = &f.settings, .programFolder = f.tree.X(u"$/bin"_qs),
                                 .dataFolder = f.tree.DataFolder(), .openUrl = {}, .runDialog = {}});
    QCOMPARE(companions.StartScanner(), result);
    QCOMPARE(f.Started(), started);
    QCOMPARE(f.Message(), message);
    if (!message.isEmpty()) QCOMPARE(f.prompts.Last().icon, MessageIcon::Critical);
  }

  void editsLyrics_data() {
    QTest::addColumn<bool>("withEditor");
    QTest::addColumn<QString>("song");
    QTest::addColumn<QString>("lyrics");
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QStringList>("started");
    QTest::addColumn<QString>("handedLyrics");  // "<unset>" when the Editor was not involved
    QTest::addColumn<QString>("message");
    const QString song = u"$/m/a.mp3"_qs;
    QTest::newRow("editor, nothing found, nothing beside")
        << true << song << QString() << QStringList() << L(u"$/bin/Versel /RR"_qs) << QString()
        << QString();
    QTest::newRow("editor, nothing found, file beside exists")
        << true << song << QString() << L(u"$/m/a.lrc"_qs) << L(u"$/bin/Versel /RR"_qs)
        << u"$/m/a.lrc"_qs << QString();
    QTest::newRow("editor, found in a search dir")
        << true << song << u"$/l/a.lrc"_qs << L(u"$/m/a.lrc|$/l/a.lrc"_qs)
        << L(u"$/bin/Versel /RR"_qs) << u"$/l/a.lrc"_qs << QString();
    QTest::newRow("editor, found file vanished")
        << true << song << u"$/l/a.lrc"_qs << QStringList() << L(u"$/bin/Versel /RR"_qs)
        << QString() << QString();
    QTest::newRow("text editor on the file beside, even missing")
        << false << song << QString() << QStringList()
        << (QStringList{u"myedit --new $/m/a.lrc"_qs}) << u"<unset>"_qs << QString();
    QTest::newRow("no song") << true << u"  "_qs << QString() << QStringList() << QStringList()
                             << u"<unset>"_qs << u"歌曲未打开"_qs;
  }
  void editsLyrics() {
    QFETCH(bool, withEditor);
    QFETCH(QString, song);
    QFETCH(QString, lyrics);
    QFETCH(QStringList, files);
    QFETCH(QStringList, started);
    QFETCH(QString, handedLyrics);
    QFETCH(QString, message);
    LaunchFixture f;
    f.Install(kEditorExecutable);
    QVERIFY(f.tree.Make(files));
    QVERIFY(f.tree.Make(L(u"$/m/a.mp3"_qs)));
    f.settings.WriteSetting(playerkeys::kTextEditor, u"myedit --new"_qs);
    PlayerCompanions companions({.launcher = &f.launcher, .prompts = &f.prompts,
                                 .settings = &f.settings, .programFolder = f.tree.X(u"$/bin"_qs),
                                 .dataFolder = f.tree.DataFolder(), .openUrl = {}, .runDialog = {}});
    companions.EditLyrics(nullptr, withEditor, f.tree.X(song), f.tree.X(lyrics));
    QCOMPARE(f.Started(), started);
    QCOMPARE(f.Key(u"GetNameLrc"_qs), handedLyrics);
    if (handedLyrics != u"<unset>") QCOMPARE(f.Key(u"GetNameMp3"_qs), song);
    QCOMPARE(f.Message(), message);
    if (!message.isEmpty()) QCOMPARE(f.prompts.Last().icon, MessageIcon::Information);
  }

  // The message names the editor that was tried and where another is set; following it
  // (written with QSettings, not through the Player's store) starts that other editor.
  void reportsTextEditorFailure() {
    LaunchFixture f;
    f.launcher.fails = true;
    f.settings.WriteSetting(playerkeys::kTextEditor, u"myedit --new"_qs);
    EditLyrics(f.context, false, f.tree.X(u"$/m/a.mp3"_qs), QString());
    QCOMPARE(f.prompts.Last().icon, MessageIcon::Critical);
    const QStringList lines = f.prompts.Last().text.split(u'\n');
    QCOMPARE(lines.size(), 2);
    QCOMPARE(lines[0], u"记事本打开时发生错误，boom"_qs);
    const QRegularExpression advice(
        u"^文本编辑器《myedit --new》无法启动，请在 (.+) 的 \\[Set\\] 段用 (\\w+)=程序名 指定其他文本编辑器$"_qs);
    const QRegularExpressionMatch match = advice.match(lines[1]);
    QVERIFY2(match.hasMatch(), qPrintable(lines[1]));
    QSettings file(match.captured(1), QSettings::IniFormat);
    file.setValue(u"Set/"_qs + match.captured(2), u"kwrite"_qs);
    file.sync();
    f.launcher.fails = false;
    f.launcher.started.clear();
    EditLyrics(f.context, false, f.tree.X(u"$/m/a.mp3"_qs), QString());
    QCOMPARE(f.Started(), L(u"kwrite $/m/a.lrc"_qs));
  }

  // The hooks show the real dialogs; here a scripted "user" works them. In the link dialog
  // the directory button opens the search-directory dialog on top, a folder is added and saved,
  // the new candidate is chosen and handed to the Editor.
  void hooksRunTheDialogs() {
    LaunchFixture f;
    f.Install(kEditorExecutable);
    QVERIFY(f.tree.Make(L(u"$/m/abc.mp3|$/l/abc.lrc|$/l/"_qs)));
    QStringList seen;
    QList<QUrl> opened;
    CompanionServices services{.launcher = &f.launcher, .prompts = &f.prompts,
                               .settings = &f.settings, .programFolder = f.tree.X(u"$/bin"_qs),
                               .dataFolder = f.tree.DataFolder(),
                               .openUrl = [&opened](const QUrl& url) {
                                 opened.append(url);
                                 return true;
                               },
                               .runDialog = {}};
    services.runDialog = [&](QDialog& dialog) {
      seen.append(dialog.windowTitle());
      if (auto* dirs = qobject_cast<SearchDirDialog*>(&dialog)) {
        f.prompts.AnswerText(f.tree.X(u"$/l"_qs));
        dirs->Command1(SearchDirLogic::kTypeAdd)->click();
        dirs->Command1(SearchDirLogic::kSave)->click();
        return;
      }
      auto* link = qobject_cast<LinkDialog*>(&dialog);
      QVERIFY(link != nullptr);
      QVERIFY(link->Logic().ListItems().isEmpty());
      link->Command1(LinkDialogLogic::kSearchDirs)->click();
      QCOMPARE(link->Logic().ListItems(), L(u"abc.lrc"_qs));
      link->Command1(LinkDialogLogic::kEditor)->click();
      QCOMPARE(link->result(), int(QDialog::Accepted));
    };
    PlayerCompanions companions(services);
    companions.ShowLinkDialog(nullptr, f.tree.X(u"$/m/abc.mp3"_qs), QString());
    QCOMPARE(seen, L(u"为当前歌曲指定歌词|添加歌词的查找目录"_qs));
    QCOMPARE(f.tree.SearchDirLines(), L(u"$/l"_qs));
    QCOMPARE(f.Started(), L(u"$/bin/Versel /RR"_qs));
    QCOMPARE(f.Key(u"GetNameMp3"_qs), u"$/m/abc.mp3"_qs);
    QCOMPARE(f.Key(u"GetNameLrc"_qs), u"$/l/abc.lrc"_qs);

    // The menu's "手工添加": the folder button opens the first folder and closes.
    seen.clear();
    services.runDialog = [&](QDialog& dialog) {
      seen.append(dialog.windowTitle());
      auto* dirs = qobject_cast<SearchDirDialog*>(&dialog);
      QVERIFY(dirs != nullptr);
      dirs->Command1(SearchDirLogic::kOpenFolder)->click();
    };
    PlayerCompanions menuCompanions(services);
    menuCompanions.ShowSearchDirDialog(nullptr);
    QCOMPARE(seen, L(u"添加歌词的查找目录"_qs));
    QCOMPARE(opened, QList<QUrl>{QUrl::fromLocalFile(f.tree.X(u"$/l"_qs))});
    QVERIFY(!f.prompts.Unanswered());
  }
};

QTEST_MAIN(TstCompanions)
#include "tst_companions.moc"
