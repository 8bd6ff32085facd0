// The whole road under Wine: the Player with the demo song sends its lines through the bridge
// to the stand-in chat client, by each delivery method with its submit keys, plus the chat
// strip's text, and the client's log must show exactly the bytes and values it received. A
// closed and reopened chat window is found again by its title. Runs under a virtual X server
// (xvfb-run) in a Wine prefix of its own inside the build folder.
#include "../playerwindow/playerfixture.h"
#include "common/launcher.h"
#include "common/textcodec.h"
#include "player/chat/chatcontroller.h"
#include "player/chatbridge/chatwindowsystem.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>

using namespace lyrova;

namespace {

const QString kBin = QStringLiteral(LYROVA_BIN_DIR);
const QString kPrefix = QStringLiteral(LYROVA_WINE_PREFIX);
const QString kLocale = QStringLiteral("zh_CN.UTF-8");  // the client's code page 936

struct NoLauncher : Launcher {
  bool Start(const QString&, const QStringList&, QString*) override { return false; }
};

QProcessEnvironment WineEnvironment() {
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert(QStringLiteral("WINEPREFIX"), kPrefix);
  environment.insert(QStringLiteral("WINEDEBUG"), QStringLiteral("-all"));
  // No installer dialogs for components the test does not need.
  environment.insert(QStringLiteral("WINEDLLOVERRIDES"), QStringLiteral("mscoree,mshtml="));
  environment.insert(QStringLiteral("LC_ALL"), kLocale);
  return environment;
}

bool RunWine(const QStringList& arguments, int timeoutMs, const QString& program = QStringLiteral("wine")) {
  QProcess process;
  process.setProcessEnvironment(WineEnvironment());
  process.setStandardOutputFile(QProcess::nullDevice());
  process.setStandardErrorFile(QProcess::nullDevice());
  process.start(program, arguments);
  return process.waitForFinished(timeoutMs) && process.exitCode() == 0;
}

QString Hex(const QByteArray& bytes) {
  return bytes.isEmpty() ? QStringLiteral("-") : QString::fromLatin1(bytes.toHex());
}

QString Num(quint32 value, int width) {
  return QStringLiteral("%1").arg(value, width, 16, QLatin1Char('0'));
}

QString Line(int frame, quint32 message, quint32 wParam, const QString& lParam, const QString& text) {
  return QStringLiteral("msg %1 %2 %3 %4 %5")
      .arg(frame)
      .arg(Num(message, 4), Num(wParam, 8), lParam, text);
}

// The log lines the client should write for `text` delivered by `method` to frame `frame` of
// `kind`, submit keys included. Built from the message values and the code page bytes, not
// from the sender's code.
QStringList Expected(int frame, ChatKind kind, SendMethod method, const QString& text) {
  const QByteArray ansi = TextEncoder(TextEncoding::Ansi).Encode(text);
  QStringList lines;
  if (method == SendMethod::Paste) lines << Line(frame, 0x0302, 0, Num(0, 8), Hex(ansi));
  if (method == SendMethod::Keystrokes) {
    for (const char c : ansi) {
      if (c == '\r' || c == '\n') continue;
      lines << Line(frame, 0x0102, quint8(c), Num(0, 8), QStringLiteral("-"));
    }
  }
  if (method == SendMethod::SetText) lines << Line(frame, 0x000C, 0, QStringLiteral("--------"), Hex(ansi));
  if (kind <= ChatKind::ChatHall) {
    lines << Line(frame, 0x0100, 0x0D, Num(0x00020002, 8), QStringLiteral("-"));
  } else {
    lines << Line(frame, 0x0100, 0x11, Num(0x401D0001, 8), QStringLiteral("-"))
          << Line(frame, 0x0100, 0x0D, Num(0x0002C001, 8), QStringLiteral("-"))
          << Line(frame, 0x0101, 0x0D, Num(0x0C02C001, 8), QStringLiteral("-"))
          << Line(frame, 0x0101, 0x11, Num(0xC01D0001, 8), QStringLiteral("-"));
  }
  return lines;
}

// The frames of the stand-in client: index, kind, title.
struct Frame {
  int index;
  ChatKind kind;
  QString title;
};
const QList<Frame> kFrames = {{0, ChatKind::EntertainmentHall, u"娱乐大厅 一号房间"_qs},
                              {1, ChatKind::ChatHall, u"聊天大厅 歌友会"_qs},
                              {2, ChatKind::TextChat, u"与 小雨 聊天中"_qs},
                              {3, ChatKind::Community, u"歌友社区"_qs}};

}  // namespace

class TestChatBridgeWine : public QObject {
  Q_OBJECT

  QString logPath_;
  QProcess client_;
  std::unique_ptr<WindowSystem> windows_;
  WineBridgeWindowSystem* bridge_ = nullptr;

  QStringList Log() const {
    QFile file(logPath_);
    if (!file.open(QIODevice::ReadOnly)) return {};
    return QString::fromLatin1(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
  }
  QStringList FrameLog(int frame) const {
    QStringList lines;
    const QString start = QStringLiteral("msg %1 ").arg(frame);
    for (const QString& line : Log()) {
      if (line.startsWith(start)) lines << line;
    }
    return lines;
  }

  // A Player with the demo song and a chat controller over the bridge.
  struct Player {
    PlayerFixture fixture;
    NoLauncher launcher;
    std::unique_ptr<ChatController> chat;
    PlayerWindow* window = nullptr;

    explicit Player(WindowSystem* windows) {
      // The stand-in's windows may hold the keyboard: no pause for typing elsewhere.
      fixture.settings.WriteSetting(QStringLiteral("ChatTest"), QStringLiteral("0"));
      chat = std::make_unique<ChatController>(ChatController::Services{
          windows, &fixture.prompts, &fixture.settings, &launcher,
          fixture.root.filePath(QStringLiteral("emotions.ini"))});
      fixture.chat = chat.get();
      const QString song = fixture.Song(QStringLiteral("demo.ogg"), 60'000);
      QFile::copy(QStringLiteral(LYROVA_SOURCE_DIR "/demo/demo.lrc"),
                  fixture.root.filePath(QStringLiteral("music/demo.lrc")));
      window = &fixture.Start({song});
    }
    // The window borrows the controller: it goes first.
    ~Player() { fixture.window.reset(); }
    Player(const Player&) = delete;
    Player& operator=(const Player&) = delete;
    void Choose(const QString& title) {
      QMenu* menu = window->ChatoraSel();
      emit menu->aboutToShow();
      for (QAction* action : menu->actions()) {
        if (action->text() == title) {
          action->trigger();
          return;
        }
      }
    }
    // The non-empty lines that became current so far, as the window showed them.
    QStringList Shown() const {
      QStringList lines = fixture.echoed.split(QLatin1Char('\n'));
      lines.removeAll(QString());
      return lines;
    }
  };

 private slots:
  void initTestCase() {
    QVERIFY2(!QStandardPaths::findExecutable(QStringLiteral("wine")).isEmpty(), "wine is missing");
    QVERIFY(!qEnvironmentVariableIsEmpty("DISPLAY"));
    RunWine({QStringLiteral("-k")}, 10'000, QStringLiteral("wineserver"));  // leftovers
    if (!QFile::exists(kPrefix + u"/system.reg")) {
      // The first start creates the prefix, which takes a while.
      QVERIFY(QDir().mkpath(kPrefix));
      QVERIFY(RunWine({QStringLiteral("wineboot"), QStringLiteral("-i")}, 240'000));
      RunWine({QStringLiteral("-w")}, 60'000, QStringLiteral("wineserver"));
    }
    logPath_ = QDir(kPrefix).filePath(QStringLiteral("../chatclient.log"));
    QFile::remove(logPath_);
    client_.setProcessEnvironment(WineEnvironment());
    client_.setStandardOutputFile(QProcess::nullDevice());
    client_.setStandardErrorFile(QProcess::nullDevice());
    client_.start(QStringLiteral("wine"),
                  {kBin + u"/lyrova-chatclient.exe", QStringLiteral("--log"),
                   u"Z:"_qs + QFileInfo(logPath_).absoluteFilePath(), QStringLiteral("--reopen")});
    QTRY_VERIFY_WITH_TIMEOUT(!Log().isEmpty() && Log().first().startsWith(u"ready "), 120'000);

    // The Player's own choice of backend, with the settings a user of this prefix would set.
    QTemporaryDir config;
    SettingsStore settings(kPlayerProgram, config.path());
    settings.WriteSetting(kWinePrefixKey, kPrefix);
    settings.WriteSetting(kWineLocaleKey, kLocale);
    QVERIFY(dynamic_cast<WineBridgeWindowSystem*>(MakeChatWindowSystem(settings, kBin).get()));
    // The same bridge, with time-outs that a loaded test machine cannot run into: this test is
    // about what arrives, the time-outs have tests of their own.
    auto command = BridgeCommandFor(ReadBridgeSettings(settings), kBin,
                                    QProcessEnvironment::systemEnvironment());
    QVERIFY(command.has_value());
    auto bridge = std::make_unique<WineBridgeWindowSystem>(
        std::move(*command), BridgeOptions{.callTimeoutMs = 3'000, .giveUpMs = 30'000, .restarts = 1});
    bridge_ = bridge.get();
    windows_ = std::move(bridge);
    QVERIFY(bridge_->WaitUntilReady(120'000));
    QCOMPARE(bridge_->CodePage(), 936u);
  }

  void cleanupTestCase() {
    windows_.reset();
    client_.kill();
    client_.waitForFinished(5'000);
    RunWine({QStringLiteral("-k")}, 20'000, QStringLiteral("wineserver"));
  }

  void targetMenuListsTheClientsChatWindows() {
    Player player(windows_.get());
    const QList<TargetMenuItem> items = player.chat->ShowTargetMenu();
    QStringList captions;
    for (const TargetMenuItem& item : items) captions << item.caption;
    // Not the hall whose title only carries the prefix later, not the room without an input
    // control, not the user-information window.
    QCOMPARE(captions, (QStringList{kFrames[0].title, u"-"_qs, kFrames[1].title, u"-"_qs,
                                    kFrames[2].title, u"-"_qs, kFrames[3].title}));
    // The owner process is the client's, as it reported its own id.
    const quint32 clientProcess = Log().first().mid(6).toUInt(nullptr, 16);
    QVERIFY(clientProcess != 0);
    for (const ChatTarget& target : player.chat->Targets()) {
      QCOMPARE(target.processId, clientProcess);
      QVERIFY(windows_->IsWindow(target.window));
      QVERIFY(windows_->IsWindow(target.editor));
      QVERIFY(target.editor != target.window);
    }
  }

  void songIsDeliveredByEachMethod_data() {
    QTest::addColumn<int>("frame");
    QTest::addColumn<SendMethod>("method");
    QTest::newRow("paste into the chat hall") << 1 << SendMethod::Paste;
    QTest::newRow("characters into the text chat") << 2 << SendMethod::Keystrokes;
    QTest::newRow("set-text into the community") << 3 << SendMethod::SetText;
    QTest::newRow("characters into the entertainment hall") << 0 << SendMethod::Keystrokes;
  }
  void songIsDeliveredByEachMethod() {
    QFETCH(int, frame);
    QFETCH(SendMethod, method);
    const Frame& f = kFrames[frame];
    Player player(windows_.get());
    player.chat->SetDecoration(u"/:)"_qs, u"~"_qs);
    player.window->SelectSendType(method);
    player.Choose(f.title);
    QCOMPARE(player.chat->Selection().selectedTitle, f.title);
    player.window->RunButton(PlayerButton::SendLyrics);
    QVERIFY(player.chat->Sending());
    // Ten seconds of the song. A sent delivery overtakes key messages still queued at the
    // client (the window system hands sent messages out first), so each line is let through
    // before the next comes due, as seconds between lines do in a real song.
    QStringList expected;
    for (int i = 0; i < 40; ++i) {
      const qsizetype before = player.Shown().size();
      player.fixture.PlayFor(250);
      const QStringList shown = player.Shown();
      if (shown.size() == before) continue;
      QCOMPARE(shown.size(), before + 1);
      expected << Expected(f.index, f.kind, method, u"/:)"_qs + shown.last() + u'~');
      QTRY_COMPARE_WITH_TIMEOUT(FrameLog(f.index), expected, 10'000);
    }
    QVERIFY2(expected.size() >= 3 * 2, qPrintable(player.Shown().join(u'|')));

    QLineEdit* strip = player.window->ChatInput();
    strip->setText(u"你好，Lyrova！"_qs);
    QTest::keyClick(strip, Qt::Key_Return);
    QVERIFY(strip->text().isEmpty());

    expected << Expected(f.index, f.kind, method, u"你好，Lyrova！"_qs);
    QTRY_COMPARE_WITH_TIMEOUT(FrameLog(f.index), expected, 10'000);
  }

  void characterMessagesLeaveOutLineBreaks() {
    Player player(windows_.get());
    player.Choose(kFrames[2].title);
    const WindowHandle editor = player.chat->Selection().selectedEditor;
    const int before = int(FrameLog(2).size());
    player.chat->DeliverText(u"甲\r\n乙"_qs, editor, ChatKind::TextChat, SendMethod::Keystrokes);
    // 甲 and 乙 in code page 936, lead byte first, and nothing for CR LF.
    const QStringList expected = {
        Line(2, 0x0102, 0xBC, Num(0, 8), u"-"_qs), Line(2, 0x0102, 0xD7, Num(0, 8), u"-"_qs),
        Line(2, 0x0102, 0xD2, Num(0, 8), u"-"_qs), Line(2, 0x0102, 0xD2, Num(0, 8), u"-"_qs)};
    QTRY_COMPARE_WITH_TIMEOUT(FrameLog(2).mid(before, 4), expected, 10'000);
  }

  void reopenedWindowIsFoundAgainByButton5() {
    const Frame& f = kFrames[2];
    Player player(windows_.get());
    player.window->SelectSendType(SendMethod::SetText);
    player.Choose(f.title);
    const WindowHandle first = player.chat->Selection().selectedWindow;
    QVERIFY(first != 0);
    player.window->RunButton(PlayerButton::SendLyrics);
    QVERIFY(player.chat->Sending());

    // The user closes the chat window; the client opens it again with the same title.
    windows_->Post(first, 0x0010, 0, 0);
    QTRY_VERIFY_WITH_TIMEOUT(Log().contains(u"opened 2"_qs), 10'000);
    QVERIFY(!windows_->IsWindow(first));
    player.fixture.PlayFor(5'000);  // a line comes due: the target is gone, sending stops
    QVERIFY(!player.chat->Sending());
    const int before = int(FrameLog(2).size());
    const qsizetype prompts = player.fixture.prompts.Shown().size();  // the quick-send warning

    player.window->RunButton(PlayerButton::SendLyrics);
    QVERIFY(player.chat->Sending());
    const WindowHandle second = player.chat->Selection().selectedWindow;
    QVERIFY(second != 0 && second != first);
    QCOMPARE(player.fixture.prompts.Shown().size(), prompts);  // found without a word
    player.fixture.PlayFor(5'000);
    const QStringList shown = player.Shown();
    QStringList expected = Expected(2, ChatKind::TextChat, SendMethod::SetText, shown.last());
    QTRY_COMPARE_WITH_TIMEOUT(FrameLog(2).mid(before), expected, 10'000);
  }
};

QTEST_MAIN(TestChatBridgeWine)
#include "tst_chatbridge_wine.moc"
