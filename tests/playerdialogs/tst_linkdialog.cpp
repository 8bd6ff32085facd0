// The link dialog's flows: opening, selection, the link buttons and the file buttons, driven
// through its logic with scripted answers, and once through the widget itself.
#include "common/prompts/scriptedprompts.h"
#include "dialogtree.h"
#include "player/dialogs/filechores.h"
#include "player/dialogs/linkdialog.h"

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

using namespace lyrova;

namespace {

// A dialog over a fresh tree, with every outside action recorded.
struct LinkFixture {
  DialogTree tree;
  ScriptedPrompts prompts;
  LyricsLookup lookup{tree.DataFolder()};
  QStringList calls;               // "editor:<song>|<lyrics>", "text:<path>", "dirs", "delete:<path>"
  bool textEditorStarts = true;
  std::optional<bool> deleteResult;  // empty: the real deletion
  std::function<void()> onSearchDirs;
  LinkDialogLogic logic{prompts, lookup, Actions()};

  LinkDialogActions Actions() {
    LinkDialogActions actions;
    actions.showSearchDirs = [this](QWidget*) {
      calls.append(u"dirs"_qs);
      if (onSearchDirs) onSearchDirs();
    };
    actions.launchEditor = [this](const QString& song, const QString& lyrics) {
      calls.append(u"editor:"_qs + tree.Unx(song) + u'|' + tree.Unx(lyrics));
    };
    actions.startTextEditor = [this](const QString& path, QString* error) {
      calls.append(u"text:"_qs + tree.Unx(path));
      if (!textEditorStarts) *error = u"no editor"_qs;
      return textEditorStarts;
    };
    actions.deleteFile = [this](const QString& path, QString* error) {
      calls.append(u"delete:"_qs + tree.Unx(path));
      if (!deleteResult) return TrashOrDeleteFile(path, error);
      if (!*deleteResult) *error = u"Permission denied"_qs;
      return *deleteResult;
    };
    return actions;
  }

  QString Lyrics() const { return tree.Unx(logic.LyricsText()); }
  QString LastMessage() const {
    for (qsizetype i = prompts.Shown().size() - 1; i >= 0; --i)
      if (prompts.Shown().at(i).kind == PromptKind::Message) return tree.Unx(prompts.Shown().at(i).text);
    return {};
  }
};

QString Contents(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : u"<none>"_qs;
}

}  // namespace

class TstLinkDialog : public QObject {
  Q_OBJECT

 private slots:
  void opens_data() {
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QStringList>("searchDirs");
    QTest::addColumn<QString>("lyrics");
    QTest::addColumn<QStringList>("items");
    QTest::addColumn<int>("selected");
    QTest::addColumn<QString>("lyricsBox");
    QTest::newRow("best candidate fills the lyrics box")
        << L(u"$/m/abc.mp3|$/m/ab.lrc|$/m/abc.lrc"_qs) << QStringList() << QString()
        << L(u"abc.lrc|ab.lrc"_qs) << 0 << u"$/m/abc.lrc"_qs;
    QTest::newRow("existing current lyrics wins the box")
        << L(u"$/m/abc.mp3|$/m/abc.lrc|$/x/mine.lrc"_qs) << QStringList() << u"$/x/mine.lrc"_qs
        << L(u"abc.lrc"_qs) << 0 << u"$/x/mine.lrc"_qs;
    QTest::newRow("vanished current lyrics loses")
        << L(u"$/m/abc.mp3|$/m/abc.lrc"_qs) << QStringList() << u"$/x/gone.lrc"_qs
        << L(u"abc.lrc"_qs) << 0 << u"$/m/abc.lrc"_qs;
    QTest::newRow("built-in folder, then listed dirs")
        << L(u"$/m/abc.mp3|$/data/Lrc/abcd.lrc|$/l/abc.lrc|$/l/abcx.lrc"_qs) << L(u"$/l"_qs)
        << QString() << L(u"abcd.lrc|abc.lrc|abcx.lrc"_qs) << 0 << u"$/data/Lrc/abcd.lrc"_qs;
    QTest::newRow("nothing similar") << L(u"$/m/abc.mp3|$/m/xyz.lrc"_qs) << QStringList()
                                     << QString() << QStringList() << -1 << QString();
  }
  void opens() {
    QFETCH(QStringList, files);
    QFETCH(QStringList, searchDirs);
    QFETCH(QString, lyrics);
    QFETCH(QStringList, items);
    QFETCH(int, selected);
    QFETCH(QString, lyricsBox);
    LinkFixture f;
    QVERIFY(f.tree.Make(files));
    if (!searchDirs.isEmpty()) QVERIFY(f.tree.WriteSearchDirs(searchDirs));
    f.logic.Open(f.tree.X(u"$/m/abc.mp3"_qs), f.tree.X(lyrics));
    QCOMPARE(f.tree.Unx(f.logic.SongText()), u"$/m/abc.mp3"_qs);
    QCOMPARE(f.logic.ListItems(), items);
    QCOMPARE(f.logic.Selected(), selected);
    QCOMPARE(f.Lyrics(), lyricsBox);
    QVERIFY(f.prompts.Shown().isEmpty());
  }

  void selectsAndDoubleClicks() {
    LinkFixture f;
    QVERIFY(f.tree.Make(L(u"$/m/abc.mp3|$/m/abc.lrc|$/m/ab.lrc"_qs)));
    f.logic.Open(f.tree.X(u"$/m/abc.mp3"_qs), QString());
    f.logic.Select(1);
    QCOMPARE(f.Lyrics(), u"$/m/ab.lrc"_qs);
    f.logic.Select(7);  // outside the list: nothing changes
    QCOMPARE(f.logic.Selected(), 1);
    // The box was typed over, yet the double-clicked file is the one linked.
    f.logic.SetLyricsText(u"typed over"_qs);
    QCOMPARE(f.logic.DoubleClick(0), DialogNext::Close);
    QCOMPARE(f.tree.LinkLines(), L(u"$/m/abc.mp3|$/m/abc.lrc"_qs));
    QCOMPARE(f.logic.DoubleClick(-1), DialogNext::Stay);
  }

  void linkButtons_data() {
    QTest::addColumn<int>("button");
    QTest::addColumn<QString>("songBox");
    QTest::addColumn<QString>("lyricsBox");
    QTest::addColumn<QStringList>("linksBefore");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QStringList>("linksAfter");
    const QString song = u"$/m/abc.mp3"_qs;
    QTest::newRow("link") << int(LinkDialogLogic::kLink) << song << u"$/l/x.lrc"_qs
                          << QStringList() << QString() << L(u"$/m/abc.mp3|$/l/x.lrc"_qs);
    QTest::newRow("link trims both boxes")
        << int(LinkDialogLogic::kLink) << u"  $/m/abc.mp3 "_qs << u" $/l/x.lrc  "_qs
        << QStringList() << QString() << L(u"$/m/abc.mp3|$/l/x.lrc"_qs);
    QTest::newRow("link, song missing")
        << int(LinkDialogLogic::kLink) << u"$/m/gone.mp3"_qs << u"$/l/x.lrc"_qs << QStringList()
        << u"歌曲文件  $/m/gone.mp3  不存在"_qs << L(u"<missing>"_qs);
    QTest::newRow("link, lyrics missing")
        << int(LinkDialogLogic::kLink) << song << u"$/l/gone.lrc"_qs << QStringList()
        << u"歌词文件  $/l/gone.lrc  不存在"_qs << L(u"<missing>"_qs);
    QTest::newRow("unlink keeps surviving pairs only")
        << int(LinkDialogLogic::kUnlink) << song << QString()
        << L(u"$/m/gone.mp3|$/l/x.lrc|$/m/abc.mp3|$/l/x.lrc|$/m/other.mp3|$/l/y.lrc"_qs)
        << QString() << L(u"$/m/other.mp3|$/l/y.lrc"_qs);
    QTest::newRow("unlink, song missing")
        << int(LinkDialogLogic::kUnlink) << u"$/m/gone.mp3"_qs << QString()
        << L(u"$/m/other.mp3|$/l/y.lrc"_qs) << u"歌曲文件  $/m/gone.mp3  不存在"_qs
        << L(u"$/m/other.mp3|$/l/y.lrc"_qs);
    QTest::newRow("cancel") << int(LinkDialogLogic::kCancel) << song << u"$/l/x.lrc"_qs
                            << QStringList() << QString() << L(u"<missing>"_qs);
  }
  void linkButtons() {
    QFETCH(int, button);
    QFETCH(QString, songBox);
    QFETCH(QString, lyricsBox);
    QFETCH(QStringList, linksBefore);
    QFETCH(QString, message);
    QFETCH(QStringList, linksAfter);
    LinkFixture f;
    QVERIFY(f.tree.Make(L(u"$/m/abc.mp3|$/m/other.mp3|$/l/x.lrc|$/l/y.lrc"_qs)));
    if (!linksBefore.isEmpty()) QVERIFY(f.tree.WriteLinks(linksBefore));
    f.logic.Open(f.tree.X(u"$/m/abc.mp3"_qs), QString());
    f.logic.SetSongText(f.tree.X(songBox));
    f.logic.SetLyricsText(f.tree.X(lyricsBox));
    QCOMPARE(f.logic.RunLinkButton(button), DialogNext::Close);
    QCOMPARE(f.LastMessage(), message);
    if (!message.isEmpty()) QCOMPARE(f.prompts.Last().icon, MessageIcon::Information);
    QCOMPARE(f.tree.LinkLines(), linksAfter);
  }

  // A link that cannot be stored is said, not closed over as if it were.
  void reportsAFailedLinkSave() {
    LinkFixture f;
    QVERIFY(f.tree.Make(L(u"$/m/abc.mp3|$/l/x.lrc|$/data/LrcLink.ini/"_qs)));
    f.logic.Open(f.tree.X(u"$/m/abc.mp3"_qs), QString());
    f.logic.SetLyricsText(f.tree.X(u"$/l/x.lrc"_qs));
    QCOMPARE(f.logic.RunLinkButton(LinkDialogLogic::kLink), DialogNext::Close);
    QCOMPARE(f.LastMessage(), u"歌词关联保存失败，无法写入 $/data/LrcLink.ini,Is a directory"_qs);
    QCOMPARE(f.prompts.Last().icon, MessageIcon::Critical);
  }

  void browses() {
    LinkFixture f;
    QVERIFY(f.tree.Make(L(u"$/m/abc.mp3|$/l/x.lrc|$/l/y.lrc"_qs)));
    f.logic.Open(f.tree.X(u"$/m/abc.mp3"_qs), f.tree.X(u"$/l/x.lrc"_qs));
    f.prompts.CancelFileDialog();
    QCOMPARE(f.logic.RunFileButton(LinkDialogLogic::kBrowse), DialogNext::Stay);
    const FileDialogRequest request = f.prompts.Last().request;
    QCOMPARE(f.prompts.Last().kind, PromptKind::OpenFile);
    QCOMPARE(request.title, u"打开歌词文件"_qs);
    QCOMPARE(f.tree.Unx(request.initialName), u"$/l/x.lrc"_qs);
    QCOMPARE(request.nameFilters.size(), 1);
    QVERIFY(request.nameFilters.first().startsWith(u"歌词文件(*.lrc)"_qs));
    QVERIFY(request.fileMustExist);
    QCOMPARE(f.tree.LinkLines(), L(u"<missing>"_qs));
    QCOMPARE(f.Lyrics(), u"$/l/x.lrc"_qs);

    f.prompts.AnswerFiles({f.tree.X(u"$/l/y.lrc"_qs)});
    QCOMPARE(f.logic.RunFileButton(LinkDialogLogic::kBrowse), DialogNext::Close);
    QCOMPARE(f.Lyrics(), u"$/l/y.lrc"_qs);
    QCOMPARE(f.tree.LinkLines(), L(u"$/m/abc.mp3|$/l/y.lrc"_qs));
  }

  void deletesFile_data() {
    QTest::addColumn<QString>("lyricsBox");
    QTest::addColumn<int>("answer");  // -1 no question expected, 0 No, 1 Yes
    QTest::addColumn<int>("deleteWorks");  // -1 the real deletion
    QTest::addColumn<QString>("message");
    QTest::addColumn<QStringList>("items");
    QTest::addColumn<QString>("lyricsAfter");
    QTest::newRow("yes: to the trash, next best shown")
        << u"$/m/abc.lrc"_qs << 1 << -1 << QString() << L(u"ab.lrc"_qs) << u"$/m/ab.lrc"_qs;
    QTest::newRow("no keeps the file")
        << u"$/m/abc.lrc"_qs << 0 << -1 << QString() << L(u"abc.lrc|ab.lrc"_qs)
        << u"$/m/abc.lrc"_qs;
    QTest::newRow("missing file: no question")
        << u"$/m/gone.lrc"_qs << -1 << -1 << QString() << L(u"abc.lrc|ab.lrc"_qs)
        << u"$/m/gone.lrc"_qs;
    QTest::newRow("failure reported, list kept")
        << u"$/m/abc.lrc"_qs << 1 << 0 << u"删除  $/m/abc.lrc  失败，Permission denied"_qs
        << L(u"abc.lrc|ab.lrc"_qs) << u"$/m/abc.lrc"_qs;
  }
  void deletesFile() {
    QFETCH(QString, lyricsBox);
    QFETCH(int, answer);
    QFETCH(int, deleteWorks);
    QFETCH(QString, message);
    QFETCH(QStringList, items);
    QFETCH(QString, lyricsAfter);
    QVERIFY(QDir(DialogTree::TrashRoot()).removeRecursively());
    LinkFixture f;
    QVERIFY(f.tree.Make(L(u"$/m/abc.mp3|$/m/abc.lrc|$/m/ab.lrc"_qs)));
    if (deleteWorks >= 0) f.deleteResult = deleteWorks == 1;
    f.logic.Open(f.tree.X(u"$/m/abc.mp3"_qs), QString());
    f.logic.SetLyricsText(f.tree.X(lyricsBox));
    if (answer >= 0) f.prompts.AnswerQuestion(answer == 1);
    QCOMPARE(f.logic.RunFileButton(LinkDialogLogic::kDeleteFile), DialogNext::Stay);
    QCOMPARE(f.prompts.ShownCount(PromptKind::Question), answer >= 0 ? 1 : 0);
    if (answer >= 0) {
      const ShownPrompt question = f.prompts.Shown().first();
      QCOMPARE(f.tree.Unx(question.text), u"你确实要删除  "_qs + lyricsBox + u"  吗？"_qs);
      QCOMPARE(question.preselected, DefaultAnswer::No);
    }
    QCOMPARE(f.LastMessage(), message);
    if (!message.isEmpty()) QCOMPARE(f.prompts.Last().icon, MessageIcon::Critical);
    QCOMPARE(f.logic.ListItems(), items);
    QCOMPARE(f.Lyrics(), lyricsAfter);
    const bool gone = answer == 1 && deleteWorks != 0;
    QCOMPARE(QFile::exists(f.tree.X(u"$/m/abc.lrc"_qs)), !gone);
    if (gone && deleteWorks < 0) {
      // Moved, not destroyed: the trash holds the file with its contents.
      const QStringList trashed = QDir(DialogTree::TrashFolder()).entryList(QDir::Files);
      QCOMPARE(trashed, L(u"abc.lrc"_qs));
      QCOMPARE(Contents(DialogTree::TrashFolder() + u"/abc.lrc"_qs), u"$/m/abc.lrc"_qs);
    }
  }

  void deletingLastCandidateKeepsBox() {
    LinkFixture f;
    QVERIFY(f.tree.Make(L(u"$/m/abc.mp3|$/m/abc.lrc"_qs)));
    f.logic.Open(f.tree.X(u"$/m/abc.mp3"_qs), QString());
    f.prompts.AnswerQuestion(true);
    f.logic.RunFileButton(LinkDialogLogic::kDeleteFile);
    QVERIFY(f.logic.ListItems().isEmpty());
    QCOMPARE(f.logic.Selected(), -1);
    QCOMPARE(f.Lyrics(), u"$/m/abc.lrc"_qs);
  }

  void renamesFile_data() {
    QTest::addColumn<std::optional<QString>>("answer");
    QTest::addColumn<QString>("message");  // the part before the system's description
    QTest::addColumn<QStringList>("existing");
    QTest::addColumn<QStringList>("items");
    QTest::newRow("renamed and list rebuilt")
        << std::optional<QString>(u"  abcd "_qs) << QString()
        << L(u"$/m/abcd.lrc|$/m/ab.lrc"_qs) << L(u"abcd.lrc|ab.lrc"_qs);
    QTest::newRow("onto an existing name refused")
        << std::optional<QString>(u"ab"_qs) << u"重命名  $/m/abc.lrc  到  $/m/ab.lrc  失败，"_qs
        << L(u"$/m/abc.lrc|$/m/ab.lrc"_qs) << L(u"abc.lrc|ab.lrc"_qs);
    QTest::newRow("a folder in the name refused")
        << std::optional<QString>(u"../abc"_qs)
        << u"重命名  $/m/abc.lrc  到  $/m/../abc.lrc  失败，"_qs
        << L(u"$/m/abc.lrc|$/m/ab.lrc"_qs) << L(u"abc.lrc|ab.lrc"_qs);
    QTest::newRow("cancelled") << std::optional<QString>() << QString()
                               << L(u"$/m/abc.lrc|$/m/ab.lrc"_qs) << L(u"abc.lrc|ab.lrc"_qs);
  }
  void renamesFile() {
    QFETCH(std::optional<QString>, answer);
    QFETCH(QString, message);
    QFETCH(QStringList, existing);
    QFETCH(QStringList, items);
    LinkFixture f;
    QVERIFY(f.tree.Make(L(u"$/m/abc.mp3|$/m/abc.lrc|$/m/ab.lrc"_qs)));
    f.logic.Open(f.tree.X(u"$/m/abc.mp3"_qs), QString());
    if (answer)
      f.prompts.AnswerText(*answer);
    else
      f.prompts.CancelText();
    QCOMPARE(f.logic.RunFileButton(LinkDialogLogic::kRename), DialogNext::Stay);
    const ShownPrompt input = f.prompts.Shown().first();
    QCOMPARE(input.kind, PromptKind::TextInput);
    QCOMPARE(f.tree.Unx(input.text), u"你要将  $/m/abc.lrc  重命名为:"_qs);
    QCOMPARE(input.title, u"歌词重命名"_qs);
    QCOMPARE(input.defaultText, u"abc"_qs);
    const QString shown = f.LastMessage();
    QVERIFY2(shown.startsWith(message), qPrintable(shown));
    if (!message.isEmpty()) {
      QVERIFY2(shown.size() > message.size(), "the system's description follows");
      QCOMPARE(f.prompts.Last().icon, MessageIcon::Critical);
    } else {
      QVERIFY(shown.isEmpty());
    }
    for (const QString& path : existing) {
      QVERIFY2(QFile::exists(f.tree.X(path)), qPrintable(path));
    }
    // Nothing replaced: each file still holds what it was made with.
    QCOMPARE(Contents(f.tree.X(u"$/m/ab.lrc"_qs)), u"$/m/ab.lrc"_qs);
    QVERIFY(!QFile::exists(f.tree.X(u"$/abc.lrc"_qs)));
    QCOMPARE(f.logic.ListItems(), items);
  }

  void editsAndEditsDirectories() {
    LinkFixture f;
    QVERIFY(f.tree.Make(L(u"$/m/abc.mp3|$/l/abc.lrc"_qs)));
    f.logic.Open(f.tree.X(u"$/m/abc.mp3"_qs), QString());
    QVERIFY(f.logic.ListItems().isEmpty());
    // The directory dialog adds a folder: the list is rebuilt and the dialog stays.
    f.onSearchDirs = [&f] { f.tree.WriteSearchDirs(L(u"$/l"_qs)); };
    QCOMPARE(f.logic.RunFileButton(LinkDialogLogic::kSearchDirs), DialogNext::Stay);
    QCOMPARE(f.logic.ListItems(), L(u"abc.lrc"_qs));
    QCOMPARE(f.Lyrics(), u"$/l/abc.lrc"_qs);

    f.logic.SetLyricsText(f.tree.X(u" $/l/abc.lrc "_qs));
    QCOMPARE(f.logic.RunFileButton(LinkDialogLogic::kEditor), DialogNext::Close);
    QCOMPARE(f.logic.RunFileButton(LinkDialogLogic::kTextEditor), DialogNext::Close);
    QVERIFY(f.prompts.Shown().isEmpty());
    f.textEditorStarts = false;
    f.logic.SetLyricsText(f.tree.X(u"$/l/new.lrc"_qs));
    QCOMPARE(f.logic.RunFileButton(LinkDialogLogic::kTextEditor), DialogNext::Close);
    QCOMPARE(f.LastMessage(), u"记事本打开时发生错误，no editor"_qs);
    QCOMPARE(f.prompts.Last().icon, MessageIcon::Critical);
    QCOMPARE(f.calls, (QStringList{u"dirs"_qs, u"editor:$/m/abc.mp3|$/l/abc.lrc"_qs,
                                   u"text:$/l/abc.lrc"_qs, u"text:$/l/new.lrc"_qs}));
  }

  // The widget shows the logic's state and forwards to it.
  void widgetForwards() {
    LinkFixture f;
    QVERIFY(f.tree.Make(L(u"$/m/abc.mp3|$/m/abc.lrc|$/m/ab.lrc"_qs)));
    LinkDialog dialog(f.prompts, f.lookup, f.Actions());
    QCOMPARE(dialog.windowTitle(), u"为当前歌曲指定歌词"_qs);
    QVERIFY(dialog.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    QStringList captions;
    for (int i = 0; i < 6; ++i) captions.append(dialog.Command1(i)->text());
    for (int i = 0; i < 3; ++i) captions.append(dialog.Command2(i)->text());
    QCOMPARE(captions, L(u"歌词目录|浏览|删除文件|重命名|Versel|记事本编辑|删除关联|关联|取消"_qs));
    dialog.Open(f.tree.X(u"$/m/abc.mp3"_qs), QString());
    QCOMPARE(f.tree.Unx(dialog.Text1()->text()), u"$/m/abc.mp3"_qs);
    QCOMPARE(dialog.List1()->count(), 2);
    QCOMPARE(dialog.List1()->item(1)->text(), u"ab.lrc"_qs);
    QCOMPARE(f.tree.Unx(dialog.Text2()->text()), u"$/m/abc.lrc"_qs);
    dialog.List1()->setCurrentRow(1);
    QCOMPARE(f.tree.Unx(dialog.Text2()->text()), u"$/m/ab.lrc"_qs);

    dialog.show();
    // Typing into the lyrics box, then "关联": the typed path is linked and the dialog closes.
    dialog.Text2()->selectAll();
    QTest::keyClicks(dialog.Text2(), f.tree.X(u"$/m/abc.lrc"_qs));
    dialog.Command2(LinkDialogLogic::kLink)->click();
    QVERIFY(!dialog.isVisible());
    QCOMPARE(f.tree.LinkLines(), L(u"$/m/abc.mp3|$/m/abc.lrc"_qs));

    dialog.show();
    emit dialog.List1()->itemDoubleClicked(dialog.List1()->item(1));
    QVERIFY(!dialog.isVisible());
    QCOMPARE(f.tree.LinkLines(), L(u"$/m/abc.mp3|$/m/ab.lrc"_qs));
  }
};

QTEST_MAIN(TstLinkDialog)
#include "tst_linkdialog.moc"
