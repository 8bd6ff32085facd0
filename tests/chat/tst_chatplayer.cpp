// The whole Player sending a song's lyrics: the window's tick, buttons and menus driving the
// chat controller over the fake window system.
#include "chatfixture.h"
#include "../playerwindow/playerfixture.h"
#include "player/window/bars.h"
#include "common/ui/toolbutton.h"
#include "player/window/toolicons.h"

#include "player/chat/decorationdialog.h"

#include <QAction>
#include <QApplication>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>
#include <QLineEdit>
#include <QMimeData>
#include <QTest>

using namespace lyrova;

namespace {

// The third line is word-timed: its word tags are never sent.
const QByteArray kLyrics =
    "[00:01.00]一\r\n[00:02.00]\r\n[00:03.00]<00:03.00>二 <00:03.40>二<00:03.90>\r\n[00:04.00]三\r\n"
    "[00:05.00]四\r\n";

// Whether the sending button shows its "sending on" picture.
bool SendIconOn(const PlayerWindow& w) {
  return w.Button(PlayerButton::SendLyrics)->Icon().toImage() ==
         ToolIcon(PlayerButton::SendLyrics, 1).toImage();
}

bool IsSubmitKey(const Msg& m) { return m.message == 0x0100 || m.message == 0x0101; }

// The messages split at each run of submit keys: (delivery, keys) pairs in order.
QList<QPair<QList<Msg>, QList<Msg>>> Exchanges(const QList<Msg>& messages) {
  QList<QPair<QList<Msg>, QList<Msg>>> exchanges;
  QList<Msg> delivery;
  QList<Msg> keys;
  for (const Msg& m : messages) {
    if (IsSubmitKey(m)) {
      keys.append(m);
      continue;
    }
    if (!keys.isEmpty()) {
      exchanges.append({delivery, keys});
      delivery.clear();
      keys.clear();
    }
    delivery.append(m);
  }
  if (!keys.isEmpty() || !delivery.isEmpty()) exchanges.append({delivery, keys});
  return exchanges;
}

}  // namespace

class TestChatPlayer : public QObject {
  Q_OBJECT

  struct Setup {
    ChatFixture chat;
    PlayerFixture player;
    WindowHandle window = 0;
    WindowHandle editor = 0;
    PlayerWindow* w = nullptr;

    Setup(ChatKind kind, const QString& title) {
      window = chat.AddChat(kind, title, &editor);
      player.chat = &chat.chat;
      const QString song = player.Song(QStringLiteral("a.mp3"), 6'000);
      PlayerFixture::Write(player.root.filePath(QStringLiteral("music/a.lrc")), kLyrics);
      w = &player.Start({song});
    }

    // Opens the target menu as button 6 would and clicks `title`.
    void Choose(const QString& title) {
      QMenu* menu = w->ChatoraSel();
      emit menu->aboutToShow();
      for (QAction* action : menu->actions()) {
        if (action->text() == title) action->trigger();
      }
    }
  };

 private slots:
  void songIsSentLineByLine_data() {
    using enum ChatKind;
    QTest::addColumn<SendMethod>("method");
    QTest::addColumn<ChatKind>("kind");
    QTest::newRow("paste to a hall") << SendMethod::Paste << ChatHall;
    QTest::newRow("keystrokes to a chat") << SendMethod::Keystrokes << TextChat;
    QTest::newRow("quick to a community") << SendMethod::SetText << Community;
    QTest::newRow("keystrokes to a hall") << SendMethod::Keystrokes << EntertainmentHall;
  }
  void songIsSentLineByLine() {
    QFETCH(SendMethod, method);
    QFETCH(ChatKind, kind);
    const QString title = kind == ChatKind::EntertainmentHall ? u"娱乐大厅"_qs
                          : kind == ChatKind::ChatHall        ? u"聊天大厅"_qs
                                                              : u"某人"_qs;
    Setup s(kind, title);
    s.chat.chat.SetDecoration(u"/:)"_qs, u"~"_qs);
    s.w->SendTypeSel()[int(method)]->trigger();
    QCOMPARE(s.chat.chat.Options().sendType, method);
    s.Choose(title);
    QCOMPARE(s.chat.chat.Selection().selectedEditor, s.editor);
    QVERIFY(!SendIconOn(*s.w));
    s.w->RunButton(PlayerButton::SendLyrics);
    QVERIFY(s.chat.chat.Sending());
    QVERIFY(SendIconOn(*s.w));
    for (int i = 0; i < 12; ++i) s.player.PlayFor(500);

    const QStringList lines = {u"/:)一~"_qs, u"/:)二 二~"_qs, u"/:)三~"_qs, u"/:)四~"_qs};
    QCOMPARE(s.chat.windows.Submitted(s.editor), lines);
    const auto exchanges = Exchanges(s.chat.windows.Messages());
    QCOMPARE(exchanges.size(), lines.size());
    const QList<Msg> keys = kind <= ChatKind::ChatHall ? EnterMessages(s.editor) : CtrlEnterMessages(s.editor);
    for (int i = 0; i < exchanges.size(); ++i) {
      QVERIFY(!exchanges[i].first.isEmpty());
      for (const Msg& m : exchanges[i].first) QCOMPARE(m.window, s.editor);
      QCOMPARE(exchanges[i].second, keys);
    }
    // The song ended: sending is off.
    QVERIFY(!s.chat.chat.Sending());
    QVERIFY(!SendIconOn(*s.w));
  }

  void sendingStopsWhenTheTargetCloses() {
    Setup s(ChatKind::TextChat, u"x"_qs);
    s.Choose(u"x"_qs);
    s.w->RunButton(PlayerButton::SendLyrics);
    s.player.PlayFor(1'500);
    QCOMPARE(s.chat.windows.Submitted(s.editor), QStringList{u"一"_qs});
    s.chat.windows.CloseWindow(s.window);
    QVERIFY(SendIconOn(*s.w));
    s.player.PlayFor(2'000);
    QVERIFY(!s.chat.chat.Sending());
    QVERIFY(!SendIconOn(*s.w));
    QCOMPARE(s.chat.windows.Messages().size(), 1 + 4);  // nothing after the close
    QVERIFY(s.chat.prompts.Shown().isEmpty());
  }

  void seekingNeverSends() {
    Setup s(ChatKind::TextChat, u"x"_qs);
    s.Choose(u"x"_qs);
    s.w->RunButton(PlayerButton::SendLyrics);
    const int width = s.w->ProgressBarWidget()->width();
    s.w->Session().SeekPress(width / 2);   // 3 s
    s.w->Session().SeekDrag(width * 7 / 10);  // 4.2 s
    QCOMPARE(s.w->CurrentLineText(), u"三"_qs);
    s.w->Session().SeekRelease(width * 7 / 10);
    QVERIFY(s.chat.windows.Messages().isEmpty());
    s.player.PlayFor(1'000);  // normal playback reaches the next line
    QCOMPARE(s.chat.windows.Submitted(s.editor), QStringList{u"四"_qs});
  }

  void menuTogglesReachTheSender() {
    Setup s(ChatKind::TextChat, u"x"_qs);
    QAction* skipUrl = s.w->Toggle(u"SkipUrl_M"_qs);
    QAction* chatTest = s.w->Toggle(u"ChatTest_M"_qs);
    QCOMPARE(s.chat.chat.Options(), (ChatSendOptions{SendMethod::Paste, false, true}));
    skipUrl->trigger();
    chatTest->trigger();
    QCOMPARE(s.chat.chat.Options(), (ChatSendOptions{SendMethod::Paste, true, false}));
    QCOMPARE(s.player.settings.ReadSetting(u"SkipUrl"_qs, {}), u"-1"_qs);
    QCOMPARE(s.player.settings.ReadSetting(u"ChatTest"_qs, {}), u"0"_qs);
    s.w->SendTypeSel()[int(SendMethod::Keystrokes)]->trigger();
    QCOMPARE(s.chat.chat.Options().sendType, SendMethod::Keystrokes);
  }

  void chatStripSendsOnEnterAndTakesDrops() {
    Setup s(ChatKind::TextChat, u"x"_qs);
    QLineEdit* strip = s.w->ChatInput();
    QTest::keyClick(strip, Qt::Key_Return);  // empty: nothing
    QVERIFY(s.chat.prompts.Shown().isEmpty());
    strip->setText(u"大家好"_qs);
    QTest::keyClick(strip, Qt::Key_Return);  // no target yet: the text stays
    QCOMPARE(s.chat.LastMessage(), u"请选择发送目标"_qs);
    QCOMPARE(strip->text(), u"大家好"_qs);
    s.Choose(u"x"_qs);
    QTest::keyClick(strip, Qt::Key_Enter);
    QCOMPARE(s.chat.windows.Submitted(s.editor), QStringList{u"大家好"_qs});
    QCOMPARE(strip->text(), QString());

    s.w->RunButton(PlayerButton::ChatStrip);  // the strip shows
    QVERIFY(!strip->isHidden());
    strip->setText(u"旧的"_qs);
    QMimeData data;
    data.setText(u"拖来的"_qs);
    QDragEnterEvent enter(QPoint(2, 2), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(strip, &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(QPointF(2, 2), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(strip, &drop);
    QCOMPARE(strip->text(), u"拖来的"_qs);
    QCOMPARE(s.chat.windows.Submitted(s.editor).size(), 1);  // nothing sent by the drop
  }

  // Button 8 as the user meets it: the dialog is the window's own and opens with the caret
  // after the stored prefix, so an emoticon added at once goes after it.
  void decorationDialogFromTheButton() {
    Setup s(ChatKind::TextChat, u"x"_qs);
    PlayerFixture::Write(s.chat.root.filePath(u"emotions.ini"_qs), "smile=/:)\r\n");
    s.chat.chat.SetDecoration(u"前缀"_qs, QString());
    // Looked at while it is open, checked once it has closed: a failed check must not leave it open.
    QWidget* owner = nullptr;
    bool selected = true;
    QTimer::singleShot(0, [&] {
      QWidget* modal = QApplication::activeModalWidget();
      auto* dialog = qobject_cast<DecorationDialog*>(modal);
      if (dialog == nullptr) {
        if (modal != nullptr) modal->close();
        return;
      }
      owner = dialog->parentWidget();
      selected = dialog->Text1(0)->hasSelectedText();
      QTest::mouseClick(dialog->Command3(0), Qt::LeftButton);
      QTest::mouseClick(dialog->Command1(), Qt::LeftButton);
    });
    s.w->RunButton(PlayerButton::Decoration);
    QCOMPARE(owner, s.w);
    QVERIFY(!selected);
    QCOMPARE(s.chat.chat.DressHome(), u"前缀/:)"_qs);
  }
};

QTEST_MAIN(TestChatPlayer)
#include "tst_chatplayer.moc"
