// Finding chat windows: kinds and title prefixes, the input control search, the order of the
// target list, and the target menu with its separators.
#include "player/chat/chattargets.h"
#include "player/chat/fakewindowsystem.h"

#include <QTest>

using namespace lyrova;

namespace {

// A top-level window with an input control directly inside it.
WindowHandle AddChat(FakeWindowSystem& fake, const QString& cls, const QString& title,
                     quint32 pid = 7) {
  const WindowHandle window = fake.AddWindow(cls, title, pid);
  fake.AddWindow(kEditorClass, QString(), 0, window);
  return window;
}

QStringList Titles(const QList<ChatTarget>& targets) {
  QStringList titles;
  for (const ChatTarget& t : targets) titles.append(t.chatTitle);
  return titles;
}

QString KindOfClass(ChatKind kind) { return targetKinds()[size_t(kind)].windowClass; }

constexpr std::optional<ChatKind> kNotTaken;

}  // namespace

class TestChatTargets : public QObject {
  Q_OBJECT

 private slots:
  void windowsQualifyByClassAndTitle_data() {
    using enum ChatKind;
    QTest::addColumn<QString>("cls");
    QTest::addColumn<QString>("title");
    QTest::addColumn<std::optional<ChatKind>>("kind");
    QTest::newRow("chat hall with prefix") << u"TChatRoomHallForm"_qs << u"聊天大厅-音乐"_qs << std::optional(ChatHall);
    QTest::newRow("chat hall prefix later") << u"TChatRoomHallForm"_qs << u"我的聊天大厅"_qs << kNotTaken;
    QTest::newRow("entertainment hall prefix exactly") << u"TPluginForm"_qs << u"娱乐大厅"_qs << std::optional(EntertainmentHall);
    QTest::newRow("entertainment hall title too short") << u"TPluginForm"_qs << u"娱乐大"_qs << kNotTaken;
    QTest::newRow("entertainment hall with chat hall prefix") << u"TPluginForm"_qs << u"聊天大厅"_qs << kNotTaken;
    QTest::newRow("text chat any title") << u"TtextChatForm"_qs << u"与 小王 聊天中"_qs << std::optional(TextChat);
    QTest::newRow("community any title") << u"TCommunityForm"_qs << u"x"_qs << std::optional(Community);
    QTest::newRow("empty title") << u"TtextChatForm"_qs << QString() << kNotTaken;
    QTest::newRow("class differs in case") << u"TTextChatForm"_qs << u"a"_qs << kNotTaken;
    QTest::newRow("user info window") << u"TUserInfoForm"_qs << u"a"_qs << kNotTaken;
    QTest::newRow("class cut at NUL") << QStringLiteral("TtextChatForm%1junk").arg(QChar(0))
                                      << u"a"_qs << std::optional(TextChat);
    QTest::newRow("title cut at NUL leaves nothing")
        << u"TtextChatForm"_qs << QStringLiteral("%1abc").arg(QChar(0)) << kNotTaken;
  }
  void windowsQualifyByClassAndTitle() {
    QFETCH(QString, cls);
    QFETCH(QString, title);
    QFETCH(std::optional<ChatKind>, kind);
    FakeWindowSystem fake;
    const WindowHandle window = AddChat(fake, cls, title, 42);
    const QList<ChatTarget> targets = ScanChatWindows(fake.Snapshot());
    if (!kind) {
      QVERIFY(targets.isEmpty());
      return;
    }
    QCOMPARE(targets.size(), 1);
    QCOMPARE(targets[0].kind, *kind);
    QCOMPARE(targets[0].window, window);
    QCOMPARE(targets[0].processId, 42u);
    QCOMPARE(targets[0].chatTitle, title.left(title.indexOf(QChar(0)) < 0 ? title.size()
                                                                            : title.indexOf(QChar(0))));
  }

  void namesAreLimitedLikeTheClientBuffers() {
    WindowNode node;
    node.className = QString(300, u'C');
    node.title = QString(40000, u'标');
    QCOMPARE(WindowClassName(node).size(), 255);
    QCOMPARE(WindowTitle(node).size(), 32767);
  }

  void editorIsFoundInPreOrder() {
    FakeWindowSystem fake;
    const WindowHandle window = fake.AddWindow(KindOfClass(ChatKind::TextChat), u"chat"_qs, 1);
    const WindowHandle panel = fake.AddWindow(u"TPanel"_qs, QString(), 0, window);
    const WindowHandle inner = fake.AddWindow(u"TPanel"_qs, QString(), 0, panel);
    const WindowHandle deep = fake.AddWindow(kEditorClass, QString(), 0, inner);
    fake.AddWindow(kEditorClass, QString(), 0, window);  // a later sibling of the panel
    WindowSnapshot snapshot = fake.Snapshot();
    // The first match inside the earlier sibling wins over a later sibling.
    QCOMPARE(FindEditor(snapshot.topLevel[0]), deep);
    // A matching child is preferred to anything inside it.
    const WindowHandle direct = fake.AddWindow(kEditorClass, QString(), 0, panel);
    fake.AddWindow(kEditorClass, QString(), 0, direct);
    fake.CloseWindow(inner);
    snapshot = fake.Snapshot();
    QCOMPARE(FindEditor(snapshot.topLevel[0]), direct);
    // No input control: not a target.
    FakeWindowSystem bare;
    bare.AddWindow(KindOfClass(ChatKind::TextChat), u"chat"_qs, 1);
    bare.AddWindow(u"TMemo"_qs, QString(), 0, bare.Snapshot().topLevel[0].handle);
    QCOMPARE(FindEditor(bare.Snapshot().topLevel[0]), 0u);
    QVERIFY(ScanChatWindows(bare.Snapshot()).isEmpty());
  }

  void targetsAreOrderedByKindThenTitle_data() {
    using enum ChatKind;
    QTest::addColumn<QList<ChatKind>>("kinds");
    QTest::addColumn<QStringList>("titles");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("kinds first, then titles")
        << QList<ChatKind>{TextChat, Community, EntertainmentHall, TextChat} << QStringList{u"b"_qs, u"a"_qs, u"娱乐大厅z"_qs, u"c"_qs}
        << QStringList{u"娱乐大厅z"_qs, u"b"_qs, u"c"_qs, u"a"_qs};
    QTest::newRow("new one between groups")
        << QList<ChatKind>{TextChat, TextChat, Community, TextChat} << QStringList{u"b"_qs, u"c"_qs, u"a"_qs, u"d"_qs}
        << QStringList{u"b"_qs, u"c"_qs, u"d"_qs, u"a"_qs};
    QTest::newRow("code units, capitals first")
        << QList<ChatKind>{TextChat, TextChat, TextChat} << QStringList{u"b"_qs, u"B"_qs, u"a"_qs}
        << QStringList{u"B"_qs, u"a"_qs, u"b"_qs};
    QTest::newRow("lower kind after higher ones")
        << QList<ChatKind>{Community, Community, ChatHall} << QStringList{u"x"_qs, u"y"_qs, u"聊天大厅2"_qs}
        << QStringList{u"聊天大厅2"_qs, u"x"_qs, u"y"_qs};
  }
  void targetsAreOrderedByKindThenTitle() {
    QFETCH(QList<ChatKind>, kinds);
    QFETCH(QStringList, titles);
    QFETCH(QStringList, expected);
    FakeWindowSystem fake;
    for (int i = 0; i < kinds.size(); ++i) AddChat(fake, KindOfClass(kinds[i]), titles[i]);
    QCOMPARE(Titles(ScanChatWindows(fake.Snapshot())), expected);
  }

  void equalTitlesKeepScanOrder() {
    FakeWindowSystem fake;
    const WindowHandle first = AddChat(fake, KindOfClass(ChatKind::TextChat), u"same"_qs);
    AddChat(fake, KindOfClass(ChatKind::TextChat), u"a"_qs);
    const WindowHandle second = AddChat(fake, KindOfClass(ChatKind::TextChat), u"same"_qs);
    const QList<ChatTarget> targets = ScanChatWindows(fake.Snapshot());
    QCOMPARE(Titles(targets), (QStringList{u"a"_qs, u"same"_qs, u"same"_qs}));
    QCOMPARE(targets[1].window, first);
    QCOMPARE(targets[2].window, second);
    QCOMPARE(FindTargetByTitle(targets, u"same"_qs)->window, first);
    QVERIFY(!FindTargetByTitle(targets, u"Same"_qs));
    QVERIFY(!FindTargetByTitle(targets, QString()));
  }

  void oneScanIsOneQuery() {
    FakeWindowSystem fake;
    for (int i = 0; i < 300; ++i) fake.AddWindow(u"Other"_qs, QString::number(i), 1);
    AddChat(fake, KindOfClass(ChatKind::Community), u"group"_qs);
    QCOMPARE(ScanChatWindows(fake.Snapshot()).size(), 1);
    QCOMPARE(fake.SnapshotCount(), 1);
  }

  void menuHasSeparatorsBetweenKinds() {
    QList<ChatTarget> targets;
    InsertTarget(targets, ChatTarget{1, 2, ChatKind::TextChat, u"b"_qs, 0});
    InsertTarget(targets, ChatTarget{3, 4, ChatKind::Community, u"a"_qs, 0});
    InsertTarget(targets, ChatTarget{5, 6, ChatKind::EntertainmentHall, u"z"_qs, 0});
    InsertTarget(targets, ChatTarget{7, 8, ChatKind::TextChat, u"c"_qs, 0});
    const QList<TargetMenuItem> items = TargetMenuItems(targets, u"c"_qs);
    const QList<TargetMenuItem> expected = {
        {u"z"_qs, false, false}, {u"-"_qs, true, false}, {u"b"_qs, false, false},
        {u"c"_qs, false, true},  {u"-"_qs, true, false}, {u"a"_qs, false, false}};
    QCOMPARE(items, expected);
    QCOMPARE(TargetMenuItems({}, u"c"_qs),
             (QList<TargetMenuItem>{{u"未找到任何发送目标"_qs, false, false}}));
  }

  void menuItemsMapToTargets_data() {
    QTest::addColumn<int>("item");
    QTest::addColumn<int>("target");  // -1: none
    // z | - | b | c | - | a
    QTest::newRow("first") << 0 << 0;
    QTest::newRow("after one separator") << 2 << 1;
    QTest::newRow("before the second") << 3 << 2;
    QTest::newRow("after two separators") << 5 << 3;
    QTest::newRow("separator itself") << 1 << -1;
    QTest::newRow("past the end") << 6 << -1;
    QTest::newRow("negative") << -1 << -1;
  }
  void menuItemsMapToTargets() {
    QFETCH(int, item);
    QFETCH(int, target);
    using enum ChatKind;
    const QList<ChatTarget> targets = {{1, 1, EntertainmentHall, u"z"_qs, 0}, {2, 2, TextChat, u"b"_qs, 0},
                                       {3, 3, TextChat, u"c"_qs, 0}, {4, 4, Community, u"a"_qs, 0}};
    const std::optional<int> t = TargetIndexForItem(TargetMenuItems(targets, {}), item, 4);
    QCOMPARE(t.value_or(-1), target);
  }

  void targetTitledLikeASeparatorIsNoSeparator() {
    // A chat titled "-" must not shift the targets behind it.
    const QList<ChatTarget> targets = {{1, 1, ChatKind::TextChat, u"-"_qs, 0},
                                       {2, 2, ChatKind::TextChat, u"x"_qs, 0}};
    const QList<TargetMenuItem> items = TargetMenuItems(targets, {});
    QCOMPARE(TargetIndexForItem(items, 0, 2).value_or(-1), 0);
    QCOMPARE(TargetIndexForItem(items, 1, 2).value_or(-1), 1);
  }
};

QTEST_GUILESS_MAIN(TestChatTargets)
#include "tst_chattargets.moc"
