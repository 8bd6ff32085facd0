// The sending pipeline against the fake window system: the three deliveries and both submit
// keys message by message, the repeat blank, the filters of the sending step, the switch of
// button 5, the target menu and the chat strip.
#include "chatfixture.h"

#include <QAction>
#include <QMenu>
#include <QTest>

using namespace lyrova;

Q_DECLARE_METATYPE(QList<lyrova::FakeWindowSystem::Message>)

namespace {

Msg Char(WindowHandle editor, quint32 byte) { return Msg{Call::Posted, editor, 0x0102, byte, 0, {}}; }

LyricLine Line(const QString& text) {
  LyricLine line;
  line.text = text;
  return line;
}

}  // namespace

class TestChatSending : public QObject {
  Q_OBJECT

 private slots:
  void deliveryMessages_data() {
    using enum ChatKind;
    QTest::addColumn<SendMethod>("method");
    QTest::addColumn<ChatKind>("kind");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QList<Msg>>("delivery");  // before the submit keys
    constexpr WindowHandle e = 0x500;
    QTest::newRow("paste, hall") << SendMethod::Paste << EntertainmentHall << u"你歌"_qs
                                 << QList<Msg>{Msg{Call::Sent, e, 0x0302, 0, 0, {}}};
    QTest::newRow("keystrokes, lead byte first, CR LF skipped")
        << SendMethod::Keystrokes << ChatHall << u"你a\r\nb"_qs
        << QList<Msg>{Char(e, 0xC4), Char(e, 0xE3), Char(e, 'a'), Char(e, 'b')};
    QTest::newRow("keystrokes, lone LF") << SendMethod::Keystrokes << TextChat << u"\nx"_qs << QList<Msg>{Char(e, 'x')};
    QTest::newRow("quick, NUL-terminated code page bytes")
        << SendMethod::SetText << Community << u"歌x"_qs
        << QList<Msg>{Msg{Call::Sent, e, 0x000C, 0, 0, QByteArray("\xB8\xE8x\0", 4)}};
    QTest::newRow("unknown method sends only the keys") << SendMethod{3} << TextChat << u"x"_qs << QList<Msg>{};
  }
  void deliveryMessages() {
    QFETCH(SendMethod, method);
    QFETCH(ChatKind, kind);
    QFETCH(QString, text);
    QFETCH(QList<Msg>, delivery);
    ChatFixture f;
    f.chat.DeliverText(text, 0x500, kind, method);
    const QList<Msg> keys = kind <= ChatKind::ChatHall ? EnterMessages(0x500) : CtrlEnterMessages(0x500);
    QCOMPARE(f.windows.Messages(), delivery + keys);
    QCOMPARE(f.chat.LastSentText(), text);
    QCOMPARE(f.windows.ClipboardWrites(), method == SendMethod::Paste ? 1 : 0);
    if (method == SendMethod::Paste) QCOMPARE(f.windows.Clipboard(), text);
  }

  void repeatedTextGetsOneBlankInHalls_data() {
    QTest::addColumn<ChatKind>("kind");
    QTest::addColumn<QStringList>("arrived");
    QTest::newRow("entertainment hall") << ChatKind::EntertainmentHall << QStringList{u"啦"_qs, u"啦 "_qs, u"啦"_qs};
    QTest::newRow("chat hall") << ChatKind::ChatHall << QStringList{u"啦"_qs, u"啦 "_qs, u"啦"_qs};
    QTest::newRow("text chat") << ChatKind::TextChat << QStringList{u"啦"_qs, u"啦"_qs, u"啦"_qs};
    QTest::newRow("community") << ChatKind::Community << QStringList{u"啦"_qs, u"啦"_qs, u"啦"_qs};
  }
  void repeatedTextGetsOneBlankInHalls() {
    QFETCH(ChatKind, kind);
    QFETCH(QStringList, arrived);
    ChatFixture f;
    WindowHandle editor = 0;
    f.AddChat(kind, kind == ChatKind::EntertainmentHall ? u"娱乐大厅"_qs : u"聊天大厅"_qs, &editor);
    for (int i = 0; i < 3; ++i) f.chat.DeliverText(u"啦"_qs, editor, kind, SendMethod::SetText);
    QCOMPARE(f.windows.Submitted(editor), arrived);
  }

  void quickMethodReplacesWhatWasTyped_data() {
    QTest::addColumn<SendMethod>("method");
    QTest::addColumn<QString>("arrived");
    QTest::newRow("paste inserts") << SendMethod::Paste << u"半句歌词"_qs;
    QTest::newRow("keystrokes insert") << SendMethod::Keystrokes << u"半句歌词"_qs;
    QTest::newRow("quick wipes") << SendMethod::SetText << u"歌词"_qs;
  }
  void quickMethodReplacesWhatWasTyped() {
    QFETCH(SendMethod, method);
    QFETCH(QString, arrived);
    ChatFixture f;
    WindowHandle editor = 0;
    f.AddChat(ChatKind::TextChat, u"chat"_qs, &editor);
    f.windows.TypeText(editor, u"半句"_qs);
    f.chat.DeliverText(u"歌词"_qs, editor, ChatKind::TextChat, method);
    QCOMPARE(f.windows.Submitted(editor), QStringList{arrived});
  }

  void lyricLineFilters_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("skipUrl");
    QTest::addColumn<bool>("sent");
    QTest::newRow("plain") << u"月亮代表我的心"_qs << true << true;
    QTest::newRow("empty line") << QString() << false << false;
    QTest::newRow("http") << u"见 http://a.cn"_qs << true << false;
    QTest::newRow("www") << u"www.a.cn"_qs << true << false;
    QTest::newRow("email") << u"email:a@b.cn"_qs << true << false;
    QTest::newRow("capitals pass") << u"HTTP://A.CN WWW.A.CN EMAIL:"_qs << true << true;
    QTest::newRow("filter off") << u"http://a.cn"_qs << false << true;
    QTest::newRow("no slashes") << u"http:a"_qs << true << true;
  }
  void lyricLineFilters() {
    QFETCH(QString, text);
    QFETCH(bool, skipUrl);
    QFETCH(bool, sent);
    ChatFixture f;
    WindowHandle editor = 0;
    f.AddChat(ChatKind::ChatHall, u"聊天大厅一"_qs, &editor);
    f.Choose(u"聊天大厅一"_qs);
    f.chat.ToggleSending(nullptr);
    QVERIFY(f.chat.Sending());
    f.chat.SetSendOptions(ChatSendOptions{SendMethod::SetText, skipUrl, true});
    f.chat.SetDecoration(u"/:)"_qs, u"~"_qs);
    f.chat.SendLyricLine(Line(text));
    QCOMPARE(f.windows.Submitted(editor),
             sent ? QStringList{u"/:)"_qs + text + u"~"_qs} : QStringList{});
    QVERIFY(f.chat.Sending());
  }

  void typingElsewhere_data() {
    QTest::addColumn<quint32>("foregroundPid");
    QTest::addColumn<QString>("foregroundClass");
    QTest::addColumn<ChatKind>("kind");
    QTest::addColumn<bool>("elsewhere");
    QTest::newRow("another program") << 9u << u"TtextChatForm"_qs << ChatKind::TextChat << false;
    QTest::newRow("another class of the client") << 100u << u"TMainForm"_qs << ChatKind::TextChat << true;
    QTest::newRow("same class, other window") << 100u << u"TtextChatForm"_qs << ChatKind::TextChat << false;
    QTest::newRow("user info window") << 100u << u"TUserInfoForm"_qs << ChatKind::ChatHall << true;
    QTest::newRow("hall class") << 100u << u"TChatRoomHallForm"_qs << ChatKind::ChatHall << false;
  }
  void typingElsewhere() {
    QFETCH(quint32, foregroundPid);
    QFETCH(QString, foregroundClass);
    QFETCH(ChatKind, kind);
    QFETCH(bool, elsewhere);
    ChatFixture f;
    f.windows.SetForeground(0x900, foregroundPid, foregroundClass);
    QCOMPARE(f.chat.TypingElsewhere(100, kind), elsewhere);
  }

  void typingGuardDropsLinesOnlyWhenOn() {
    ChatFixture f;
    WindowHandle editor = 0;
    f.AddChat(ChatKind::TextChat, u"chat"_qs, &editor);
    f.Choose(u"chat"_qs);
    f.chat.ToggleSending(nullptr);
    f.windows.SetForeground(0x900, 100, kUserInfoClass);
    f.chat.SetSendOptions(ChatSendOptions{SendMethod::Keystrokes, false, true});
    f.chat.SendLyricLine(Line(u"一"_qs));
    f.chat.SetSendOptions(ChatSendOptions{SendMethod::Keystrokes, false, false});
    f.chat.SendLyricLine(Line(u"二"_qs));
    QCOMPARE(f.windows.Submitted(editor), QStringList{u"二"_qs});
    QVERIFY(f.chat.Sending());
  }

  void deadTargetStopsSendingSilently() {
    ChatFixture f;
    WindowHandle editor = 0;
    const WindowHandle window = f.AddChat(ChatKind::TextChat, u"chat"_qs, &editor);
    f.Choose(u"chat"_qs);
    f.chat.ToggleSending(nullptr);
    f.windows.CloseWindow(window);
    f.windows.ClearMessages();
    f.shownStates.clear();
    f.chat.SendLyricLine(Line(u"x"_qs));
    QVERIFY(!f.chat.Sending());
    QCOMPARE(f.shownStates, QList<bool>{false});
    QVERIFY(f.windows.Messages().isEmpty());
    QVERIFY(f.prompts.Shown().isEmpty());
  }

  void toggleWithChosenTitle_data() {
    QTest::addColumn<QStringList>("openAfterClose");  // text chats open when pressed
    QTest::addColumn<bool>("on");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("selected");
    QTest::newRow("found again by title") << QStringList{u"a"_qs, u"mine"_qs} << true << QString()
                                          << u"mine"_qs;
    QTest::newRow("none open") << QStringList{} << false << u"未找到任何发送目标"_qs << u"mine"_qs;
    QTest::newRow("one other adopted") << QStringList{u"other"_qs} << true << QString()
                                       << u"other"_qs;
    QTest::newRow("several others") << QStringList{u"x"_qs, u"y"_qs} << false
                                    << u"请先选择要发送的目标"_qs << u"mine"_qs;
  }
  void toggleWithChosenTitle() {
    QFETCH(QStringList, openAfterClose);
    QFETCH(bool, on);
    QFETCH(QString, message);
    QFETCH(QString, selected);
    ChatFixture f;
    const WindowHandle first = f.AddChat(ChatKind::TextChat, u"mine"_qs);
    f.Choose(u"mine"_qs);
    f.windows.CloseWindow(first);
    QMap<QString, WindowHandle> editors;
    for (const QString& title : openAfterClose) {
      WindowHandle editor = 0;
      f.AddChat(ChatKind::TextChat, title, &editor, 300);
      editors[title] = editor;
    }
    f.shownStates.clear();
    f.chat.ToggleSending(nullptr);
    QCOMPARE(f.chat.Sending(), on);
    QCOMPARE(f.shownStates, on ? QList<bool>{true} : QList<bool>{});
    QCOMPARE(f.prompts.Shown().size(), message.isEmpty() ? 0 : 1);
    if (!message.isEmpty()) QCOMPARE(f.LastMessage(), message);
    const SendSelection& s = f.chat.Selection();
    QCOMPARE(s.selectedTitle, selected);
    QCOMPARE(s.selectedEditor, on ? editors[selected] : 0u);
    QCOMPARE(s.selectedProcessId, on ? 300u : 0u);
    QCOMPARE(s.rememberedTitle, on ? selected : u"mine"_qs);
  }

  void toggleWithRememberedTitle() {
    ChatFixture f;
    const WindowHandle window = f.AddChat(ChatKind::Community, u"群"_qs);
    f.Choose(u"群"_qs);
    f.chat.ShowTargetMenu();
    f.windows.CloseWindow(window);
    f.chat.SelectTarget(0);  // closed after the menu showed: selection cleared, title remembered
    QCOMPARE(f.LastMessage(), u"发送目标 \"群\" 已关闭"_qs);
    QCOMPARE(f.chat.Selection().selectedTitle, QString());
    QCOMPARE(f.chat.Selection().rememberedTitle, u"群"_qs);
    // Reopened with the same title: found by the remembered title.
    WindowHandle editor = 0;
    f.AddChat(ChatKind::Community, u"群"_qs, &editor);
    f.chat.ToggleSending(nullptr);
    QVERIFY(f.chat.Sending());
    QCOMPARE(f.chat.Selection().selectedEditor, editor);
    QCOMPARE(f.chat.Selection().selectedKind, ChatKind::Community);
    // Closed again, switched off and on: the message, and the title is forgotten.
    f.chat.ToggleSending(nullptr);
    f.windows.CloseWindow(f.chat.Selection().selectedWindow);
    f.chat.ToggleSending(nullptr);
    QVERIFY(!f.chat.Sending());
    QCOMPARE(f.LastMessage(), u"目标 \"群\"已关闭,请重新选择发送目标。"_qs);
    QCOMPARE(f.chat.Selection().rememberedTitle, QString());
    QCOMPARE(f.shownStates.last(), false);
  }

  void toggleWithoutChoice_data() {
    QTest::addColumn<int>("open");
    QTest::addColumn<bool>("on");
    QTest::newRow("exactly one") << 1 << true;
    QTest::newRow("none") << 0 << false;
    QTest::newRow("two") << 2 << false;
  }
  void toggleWithoutChoice() {
    QFETCH(int, open);
    QFETCH(bool, on);
    ChatFixture f;
    for (int i = 0; i < open; ++i) f.AddChat(ChatKind::TextChat, QString::number(i));
    f.chat.ToggleSending(nullptr);
    QCOMPARE(f.chat.Sending(), on);
    QCOMPARE(f.shownStates, QList<bool>{on});
    if (on) {
      QCOMPARE(f.chat.Selection().selectedTitle, u"0"_qs);
      QCOMPARE(f.chat.Selection().rememberedTitle, u"0"_qs);
      QVERIFY(f.prompts.Shown().isEmpty());
      f.chat.ToggleSending(nullptr);  // and off again
      QVERIFY(!f.chat.Sending());
      QCOMPARE(f.shownStates.last(), false);
    } else {
      QCOMPARE(f.LastMessage(), u"请先选择要发送的目标"_qs);
    }
  }

  void selectingLeavesSendingAndChecksTheTitle() {
    ChatFixture f;
    WindowHandle editor = 0;
    f.AddChat(ChatKind::TextChat, u"b"_qs);
    const WindowHandle window = f.AddChat(ChatKind::TextChat, u"a"_qs, &editor, 55);
    f.Choose(u"a"_qs);
    QVERIFY(!f.chat.Sending());
    QCOMPARE(f.shownStates, QList<bool>{false});
    const SendSelection& s = f.chat.Selection();
    QCOMPARE(s.selectedWindow, window);
    QCOMPARE(s.selectedEditor, editor);
    QCOMPARE(s.selectedProcessId, 55u);
    QCOMPARE(s.selectedKind, ChatKind::TextChat);
    QCOMPARE(s.rememberedTitle, u"a"_qs);
    const QList<TargetMenuItem> items = f.chat.ShowTargetMenu();
    QVERIFY(items[0].checked);
    QVERIFY(!items[1].checked);
  }

  void menuIsFilledAndItsItemsSelect() {
    ChatFixture f;
    QMenu menu;
    QAction* first = menu.addAction(u"未选择 Chatora 大厅"_qs);
    f.AddChat(ChatKind::Community, u"R&B"_qs);
    const WindowHandle hall = f.AddChat(ChatKind::ChatHall, u"聊天大厅A"_qs);
    f.chat.ChooseTarget(&menu);
    QCOMPARE(menu.actions().size(), 3);
    QCOMPARE(menu.actions()[0], first);
    QCOMPARE(first->text(), u"聊天大厅A"_qs);
    QVERIFY(menu.actions()[1]->isSeparator());
    QCOMPARE(menu.actions()[1]->text(), QString());  // a captioned separator is drawn as a title
    QVERIFY(!menu.actions()[1]->isCheckable());
    QCOMPARE(menu.actions()[2]->text(), u"R&&B"_qs);  // shown as typed, not as a shortcut
    QVERIFY(first->isCheckable() && menu.actions()[2]->isCheckable());
    first->trigger();
    QCOMPARE(f.chat.Selection().selectedWindow, hall);
    f.chat.ChooseTarget(&menu);  // rebuilt: the chosen target checked, nothing piled up
    QCOMPARE(menu.actions().size(), 3);
    QVERIFY(first->isChecked() && !menu.actions()[2]->isChecked());
    // Rebuilt after both closed: only the placeholder, which does nothing.
    f.windows.CloseWindow(hall);
    f.windows.CloseWindow(f.chat.Targets()[1].window);
    f.chat.ChooseTarget(&menu);
    QCOMPARE(menu.actions().size(), 1);
    QCOMPARE(first->text(), u"未找到任何发送目标"_qs);
    QVERIFY(!first->isCheckable());
    f.shownStates.clear();
    first->trigger();
    QCOMPARE(f.chat.Selection().selectedTitle, u"聊天大厅A"_qs);
    QVERIFY(f.shownStates.isEmpty());
    QVERIFY(f.prompts.Shown().isEmpty());
  }

  void chatBoxEnter() {
    ChatFixture f;
    QVERIFY(!f.chat.ChatBoxEnter(QString()));
    QVERIFY(f.prompts.Shown().isEmpty());
    QVERIFY(!f.chat.ChatBoxEnter(u"hi"_qs));
    QCOMPARE(f.LastMessage(), u"请选择发送目标"_qs);

    WindowHandle editor = 0;
    const WindowHandle window = f.AddChat(ChatKind::EntertainmentHall, u"娱乐大厅"_qs, &editor);
    f.Choose(u"娱乐大厅"_qs);
    f.chat.SetSendOptions(ChatSendOptions{SendMethod::Paste, true, true});
    f.chat.SetDecoration(u"<"_qs, u">"_qs);
    f.windows.SetForeground(0x900, 100, kUserInfoClass);
    // No decoration, no filter, no typing guard, sending off: it goes out.
    QVERIFY(f.chat.ChatBoxEnter(u"看 http://a.cn"_qs));
    QCOMPARE(f.windows.Submitted(editor), QStringList{u"看 http://a.cn"_qs});
    QVERIFY(!f.chat.Sending());
    // It shares the repeat memory with lyric sending.
    QVERIFY(f.chat.ChatBoxEnter(u"看 http://a.cn"_qs));
    QCOMPARE(f.windows.Submitted(editor).last(), u"看 http://a.cn "_qs);

    // Window re-created with the same title: found again by the remembered title.
    f.windows.CloseWindow(window);
    WindowHandle editor2 = 0;
    f.AddChat(ChatKind::EntertainmentHall, u"娱乐大厅"_qs, &editor2);
    QVERIFY(f.chat.ChatBoxEnter(u"again"_qs));
    QCOMPARE(f.windows.Submitted(editor2), QStringList{u"again"_qs});

    // Gone for good: the message, sending off, the text stays.
    f.chat.ToggleSending(nullptr);
    QVERIFY(f.chat.Sending());
    f.windows.CloseWindow(f.chat.Selection().selectedWindow);
    f.shownStates.clear();
    QVERIFY(!f.chat.ChatBoxEnter(u"bye"_qs));
    QCOMPARE(f.LastMessage(), u"目标 \"娱乐大厅\"已关闭"_qs);
    QVERIFY(!f.chat.Sending());
    QCOMPARE(f.shownStates, QList<bool>{false});
  }
};

QTEST_MAIN(TestChatSending)
#include "tst_chatsending.moc"
