// The search-directory dialog: adding by picker and by typing, removal and reselection,
// opening a folder, saving and cancelling, through its logic with scripted answers (the widget
// is worked by tst_companions).
#include "common/prompts/scriptedprompts.h"
#include "dialogtree.h"
#include "player/dialogs/searchdirlogic.h"

#include <QTest>

using namespace lyrova;

namespace {

struct DirFixture {
  DialogTree tree;
  ScriptedPrompts prompts;
  LyricsLookup lookup{tree.DataFolder()};
  QList<QUrl> opened;
  SearchDirLogic logic{prompts, lookup, [this](const QUrl& url) {
                         opened.append(url);
                         return true;
                       }};

  QStringList Entries() const { return tree.Unx(logic.Entries()); }
  QString LastMessage() const {
    for (qsizetype i = prompts.Shown().size() - 1; i >= 0; --i)
      if (prompts.Shown().at(i).kind == PromptKind::Message) return tree.Unx(prompts.Shown().at(i).text);
    return {};
  }
};

}  // namespace

class TstSearchDirDialog : public QObject {
  Q_OBJECT

 private slots:
  void adds_data() {
    QTest::addColumn<int>("button");
    QTest::addColumn<int>("selected");
    QTest::addColumn<std::optional<QString>>("answer");
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<QString>("message");
    const int typed = SearchDirLogic::kTypeAdd;
    const int browsed = SearchDirLogic::kBrowseAdd;
    using Answer = std::optional<QString>;
    QTest::newRow("typed, nothing selected: at the top")
        << typed << -1 << Answer(u" $/new/ "_qs) << L(u"$/new|$/a|$/b|$/c"_qs) << QString();
    QTest::newRow("typed, entry 2 selected: becomes entry 2")
        << typed << 2 << Answer(u"$/new"_qs) << L(u"$/a|$/b|$/new|$/c"_qs) << QString();
    QTest::newRow("typed, missing folder refused")
        << typed << -1 << Answer(u"$/nowhere"_qs) << L(u"$/a|$/b|$/c"_qs)
        << u"你输入的目录不存在"_qs;
    QTest::newRow("typed duplicate with trailing slash refused")
        << typed << 0 << Answer(u"$/b/"_qs) << L(u"$/a|$/b|$/c"_qs) << u"此目录已添加"_qs;
    QTest::newRow("typed relative path is made absolute")
        << typed << -1 << Answer(u"new"_qs) << L(u"$/new|$/a|$/b|$/c"_qs) << QString();
    QTest::newRow("typing cancelled") << typed << -1 << Answer() << L(u"$/a|$/b|$/c"_qs) << QString();
    QTest::newRow("picked, entry 1 selected")
        << browsed << 1 << Answer(u"$/new"_qs) << L(u"$/a|$/new|$/b|$/c"_qs) << QString();
    QTest::newRow("picked duplicate differing in case refused")
        << browsed << -1 << Answer(u"$/B/"_qs) << L(u"$/a|$/b|$/c"_qs) << u"此目录已添加"_qs;
    QTest::newRow("picking cancelled") << browsed << -1 << Answer() << L(u"$/a|$/b|$/c"_qs) << QString();
  }
  void adds() {
    QFETCH(int, button);
    QFETCH(int, selected);
    QFETCH(std::optional<QString>, answer);
    QFETCH(QStringList, entries);
    QFETCH(QString, message);
    DirFixture f;
    QVERIFY(f.tree.Make(L(u"$/a/|$/b/|$/c/|$/new/"_qs)));
    QVERIFY(f.tree.WriteSearchDirs(L(u"$/a|$/b|$/c"_qs)));
    const QString previous = QDir::currentPath();
    QDir::setCurrent(f.tree.Root());
    f.logic.Open();
    f.logic.Select(selected);
    const bool typedIn = button == SearchDirLogic::kTypeAdd;
    if (typedIn)
      answer ? f.prompts.AnswerText(f.tree.X(*answer)) : f.prompts.CancelText();
    else
      answer ? f.prompts.AnswerFolder(f.tree.X(*answer)) : f.prompts.CancelFolder();
    QCOMPARE(f.logic.RunButton(button), DialogNext::Stay);
    QDir::setCurrent(previous);
    const ShownPrompt asked = f.prompts.Shown().first();
    QCOMPARE(asked.kind, typedIn ? PromptKind::TextInput : PromptKind::Folder);
    QCOMPARE(asked.title, typedIn ? u"添加歌词目录"_qs : u"请指定歌词文件夹"_qs);
    if (typedIn) QCOMPARE(asked.text, u"请输入要添加的歌词目录"_qs);
    QCOMPARE(f.Entries(), entries);
    QCOMPARE(f.LastMessage(), message);
    if (!message.isEmpty()) QCOMPARE(f.prompts.Last().icon, MessageIcon::Information);
    // Nothing reaches the file before "确定".
    QCOMPARE(f.tree.SearchDirLines(), L(u"$/a|$/b|$/c"_qs));
  }

  void removes_data() {
    QTest::addColumn<int>("selected");
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<int>("selectedAfter");
    QTest::newRow("middle: the next takes its place") << 1 << L(u"$/a|$/c"_qs) << 1;
    QTest::newRow("last: the new last is selected") << 2 << L(u"$/a|$/b"_qs) << 1;
    QTest::newRow("nothing selected: nothing removed") << -1 << L(u"$/a|$/b|$/c"_qs) << -1;
  }
  void removes() {
    QFETCH(int, selected);
    QFETCH(QStringList, entries);
    QFETCH(int, selectedAfter);
    DirFixture f;
    QVERIFY(f.tree.Make(L(u"$/a/|$/b/|$/c/"_qs)));
    QVERIFY(f.tree.WriteSearchDirs(L(u"$/a|$/b|$/c"_qs)));
    f.logic.Open();
    f.logic.Select(selected);
    QCOMPARE(f.logic.RunButton(SearchDirLogic::kRemove), DialogNext::Stay);
    QCOMPARE(f.Entries(), entries);
    QCOMPARE(f.logic.Selected(), selectedAfter);
  }

  void removingTheOnlyEntryLeavesNoSelection() {
    DirFixture f;
    QVERIFY(f.tree.Make(L(u"$/a/"_qs)));
    QVERIFY(f.tree.WriteSearchDirs(L(u"$/a"_qs)));
    f.logic.Open();
    f.logic.Select(0);
    f.logic.RunButton(SearchDirLogic::kRemove);
    QVERIFY(f.logic.Entries().isEmpty());
    QCOMPARE(f.logic.Selected(), -1);
    QCOMPARE(f.logic.RunButton(SearchDirLogic::kOpenFolder), DialogNext::Stay);
    QVERIFY(f.opened.isEmpty());
  }

  void opensFolders() {
    DirFixture f;
    QVERIFY(f.tree.Make(L(u"$/a/|$/b/|$/new/"_qs)));
    QVERIFY(f.tree.WriteSearchDirs(L(u"$/a|$/b"_qs)));
    f.logic.Open();
    // Nothing selected: the first entry is opened, unsaved additions are lost.
    f.prompts.AnswerText(f.tree.X(u"$/new"_qs));
    f.logic.RunButton(SearchDirLogic::kTypeAdd);
    QCOMPARE(f.logic.RunButton(SearchDirLogic::kOpenFolder), DialogNext::Close);
    QCOMPARE(f.opened, QList<QUrl>{QUrl::fromLocalFile(f.tree.X(u"$/new"_qs))});
    QCOMPARE(f.tree.SearchDirLines(), L(u"$/a|$/b"_qs));

    QCOMPARE(f.logic.DoubleClick(2), DialogNext::Close);
    QCOMPARE(f.opened.last(), QUrl::fromLocalFile(f.tree.X(u"$/b"_qs)));

    // A folder that vanished meanwhile is reported and the dialog stays.
    QVERIFY(QDir(f.tree.X(u"$/a"_qs)).removeRecursively());
    QCOMPARE(f.logic.DoubleClick(1), DialogNext::Stay);
    QCOMPARE(f.LastMessage(), u"目录 $/a 不存在"_qs);
    QCOMPARE(f.prompts.Last().icon, MessageIcon::Information);
    QCOMPARE(f.opened.size(), 2);
  }

  void savesAndCancels_data() {
    QTest::addColumn<int>("button");
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("save writes the list, built-in folder included")
        << int(SearchDirLogic::kSave) << L(u"$/new|$/data/Lrc|$/b"_qs);
    QTest::newRow("cancel leaves the file") << int(SearchDirLogic::kCancel) << L(u"$/a|$/b"_qs);
  }
  void savesAndCancels() {
    QFETCH(int, button);
    QFETCH(QStringList, lines);
    DirFixture f;
    QVERIFY(f.tree.Make(L(u"$/data/Lrc/|$/a/|$/b/|$/new/"_qs)));
    QVERIFY(f.tree.WriteSearchDirs(L(u"$/a|$/b"_qs)));
    f.logic.Open();
    f.logic.Select(1);
    f.logic.RunButton(SearchDirLogic::kRemove);
    f.prompts.AnswerFolder(f.tree.X(u"$/new/"_qs));
    f.logic.Select(-1);
    f.logic.RunButton(SearchDirLogic::kBrowseAdd);
    QCOMPARE(f.Entries(), L(u"$/new|$/data/Lrc|$/b"_qs));
    QCOMPARE(f.logic.RunButton(button), DialogNext::Close);
    QCOMPARE(f.tree.SearchDirLines(), lines);
  }

  // A list that cannot be written is reported and the dialog stays, so the edits are not lost.
  void reportsAFailedSave() {
    DirFixture f;
    QVERIFY(f.tree.Make(L(u"$/a/|$/data/LrcDir.ini/"_qs)));
    f.logic.Open();
    f.prompts.AnswerText(f.tree.X(u"$/a"_qs));
    f.logic.RunButton(SearchDirLogic::kTypeAdd);
    QCOMPARE(f.logic.RunButton(SearchDirLogic::kSave), DialogNext::Stay);
    QCOMPARE(f.prompts.Last().icon, MessageIcon::Critical);
    QCOMPARE(f.LastMessage(), u"歌词查找目录保存失败，无法写入 $/data/LrcDir.ini,Is a directory"_qs);
    QCOMPARE(f.Entries(), L(u"$/a"_qs));
  }

};

QTEST_GUILESS_MAIN(TstSearchDirDialog)
#include "tst_searchdirdialog.moc"
