// The Player's side of the chat bridge against a host stand-in that runs the bridge's own
// request handling: the requests it writes, the window tree it rebuilds, and what it does
// with a bridge that is late, hangs, dies or cannot start.
#include "common/chatprotocol/bridgeprotocol.h"
#include "common/settings.h"
#include "player/chat/chattargets.h"
#include "player/chatbridge/chatwindowsystem.h"
#include "player/chatbridge/winebridgewindowsystem.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>
#include <QtTest>

using namespace lyrova;

namespace {

// Records the calls the request handling makes, as text.
class RecordingCalls : public chatbridge::WindowCalls {
 public:
  std::string record;
  std::vector<chatbridge::WindowEntry> Snapshot() override {
    record = "snapshot";
    return {{0, 0x10010, 0x20, "A", "\xe4\xbd\xa0"}, {1, 0x10012, 0x20, "", ""}};
  }
  bool IsWindow(std::uint32_t window) override {
    record = "alive " + std::to_string(window);
    return window == 0x10014;
  }
  chatbridge::ForegroundEntry Foreground() override {
    record = "foreground";
    return {0x10020, 0x30, "A"};
  }
  void Post(std::uint32_t window, std::uint32_t message, std::uint32_t wParam,
            std::uint32_t lParam) override {
    record = "post " + std::to_string(window) + " " + std::to_string(message) + " " +
             std::to_string(wParam) + " " + std::to_string(lParam);
  }
  int PostCharacters(std::uint32_t window, const std::string& utf8) override {
    record = "chars " + std::to_string(window) + " " + utf8;
    return 5;
  }
  void SendSetText(std::uint32_t window, const std::string& utf8) override {
    record = "settext " + std::to_string(window) + " [" + utf8 + "]";
  }
  void SendPaste(std::uint32_t window) override { record = "paste " + std::to_string(window); }
  bool SetClipboardText(const std::string& utf8) override {
    record = "clip " + utf8;
    return utf8 != "busy";
  }
  unsigned CodePage() override { return 936; }
};

BridgeCommand FakeBridge(const QStringList& arguments) {
  return {QStringLiteral(LYROVA_FAKE_BRIDGE), arguments, QProcessEnvironment::systemEnvironment()};
}

QStringList LogLines(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return {};
  return QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

// The request lines the stand-in received, without their ids.
QStringList Requests(const QString& path) {
  QStringList requests;
  for (const QString& line : LogLines(path)) {
    if (line == u"start") continue;
    requests.append(line.section(QLatin1Char(' '), 1));
  }
  return requests;
}

}  // namespace

class TestWineBridge : public QObject {
  Q_OBJECT

 private slots:
  void requestHandling_data();
  void requestHandling();
  void snapshotAndQueriesThroughBridge();
  void requestsWritten_data();
  void requestsWritten();
  void malformedSnapshot_data();
  void malformedSnapshot();
  void hungBridgeIsSkippedThenEndedAndStartedAgain();
  void lateReplyIsNotTakenForALaterRequest();
  void slowDeliveryStillGetsItsSubmitKeys();
  void deadBridgeIsRestartedOnceThenGivenUp();
  void missingProgramMeansNoWindows();
  void bridgeCommand_data();
  void bridgeCommand();
  void withoutTheBridgeThereAreNoTargets();
};

void TestWineBridge::requestHandling_data() {
  QTest::addColumn<QString>("request");
  QTest::addColumn<QString>("reply");
  QTest::addColumn<QString>("record");
  QTest::addColumn<bool>("quit");
  QTest::newRow("ping") << "7 ping" << "7 ok 936" << "" << false;
  QTest::newRow("snapshot") << "8 snapshot" << "8 ok 2 0,10010,20,41,e4bda0 1,10012,20,-,-"
                            << "snapshot" << false;
  QTest::newRow("alive") << "9 alive 10014" << "9 ok 1" << "alive 65556" << false;
  QTest::newRow("dead") << "9 alive 1" << "9 ok 0" << "alive 1" << false;
  QTest::newRow("foreground") << "10 foreground" << "10 ok 10020 30 41" << "foreground" << false;
  QTest::newRow("post") << "11 post 10014 101 11 C01D0001" << "11 ok"
                        << "post 65556 257 17 3223126017" << false;
  QTest::newRow("chars") << "12 chars 10014 e4bda00d0a" << "12 ok 5"
                         << "chars 65556 \xe4\xbd\xa0\r\n" << false;
  QTest::newRow("empty set-text") << "13 settext 10014 -" << "13 ok" << "settext 65556 []" << false;
  QTest::newRow("paste") << "14 paste 10014" << "14 ok" << "paste 65556" << false;
  QTest::newRow("clipboard") << "15 clip 41" << "15 ok" << "clip A" << false;
  QTest::newRow("clipboard busy") << "15 clip 62757379" << "15 err clipboard" << "clip busy" << false;
  QTest::newRow("odd hex") << "16 clip 4" << "16 err badtext" << "" << false;
  QTest::newRow("not hex") << "16 settext 10014 zz" << "16 err badtext" << "" << false;
  QTest::newRow("missing lParam") << "17 post 10014 100 d" << "17 err args" << "" << false;
  QTest::newRow("extra field") << "17 paste 10014 0" << "17 err args" << "" << false;
  QTest::newRow("number too wide") << "18 alive 123456789" << "18 err badnumber" << "" << false;
  QTest::newRow("bad id") << "x ping" << "0 err badid" << "" << false;
  QTest::newRow("no verb") << "19" << "19 err noverb" << "" << false;
  QTest::newRow("unknown verb") << "20 frobnicate 1" << "20 err unknown" << "" << false;
  QTest::newRow("quit") << "21 quit" << "21 ok" << "" << true;
  QTest::newRow("too long") << u"22 clip "_qs + QString(1 << 20, u'a') << "22 err toolong" << ""
                            << false;
}

void TestWineBridge::requestHandling() {
  QFETCH(QString, request);
  QFETCH(QString, reply);
  QFETCH(QString, record);
  QFETCH(bool, quit);
  RecordingCalls calls;
  const auto outcome = chatbridge::HandleRequest(request.toStdString(), calls);
  QCOMPARE(QString::fromStdString(outcome.reply), reply);
  QCOMPARE(QString::fromStdString(calls.record), record);
  QCOMPARE(outcome.quit, quit);
}

void TestWineBridge::snapshotAndQueriesThroughBridge() {
  WineBridgeWindowSystem bridge(FakeBridge({}));
  QVERIFY(bridge.WaitUntilReady(5000));
  QCOMPARE(bridge.CodePage(), 936u);

  const WindowSnapshot snapshot = bridge.Snapshot();
  QCOMPARE(snapshot.topLevel.size(), std::size_t(2));
  const WindowNode& hall = snapshot.topLevel[0];
  QCOMPARE(hall.handle, WindowHandle(0x10010));
  QCOMPARE(hall.processId, 0x20u);
  QCOMPARE(hall.className, u"TChatRoomHallForm");
  QCOMPARE(hall.title, u"聊天大厅 1");
  QCOMPARE(hall.children.size(), std::size_t(2));
  QCOMPARE(hall.children[0].className, u"TPanel");
  QCOMPARE(hall.children[0].children.size(), std::size_t(1));
  QCOMPARE(hall.children[0].children[0].className, u"TRichEdit2");
  QCOMPARE(hall.children[0].children[0].handle, WindowHandle(0x10014));
  QCOMPARE(hall.children[1].className, u"TButton");
  QVERIFY(hall.children[1].children.empty());
  // Blanks and commas in a title survive the line protocol.
  QCOMPARE(snapshot.topLevel[1].title, u"a b,c");
  QCOMPARE(snapshot.topLevel[1].processId, 0x30u);

  QVERIFY(bridge.IsWindow(0x10014));
  QVERIFY(!bridge.IsWindow(0x999));
  QVERIFY(!bridge.IsWindow(0));
  const ForegroundWindow foreground = bridge.Foreground();
  QCOMPARE(foreground.handle, WindowHandle(0x10020));
  QCOMPARE(foreground.processId, 0x30u);
  QCOMPARE(foreground.className, u"TUserInfoForm");
  QCOMPARE(bridge.Starts(), 1);
}

void TestWineBridge::requestsWritten_data() {
  QTest::addColumn<int>("call");
  QTest::addColumn<QString>("text");
  QTest::addColumn<QString>("request");
  QTest::newRow("enter") << 0 << "" << "post 10014 100 d 20002";
  QTest::newRow("ctrl key-up") << 1 << "" << "post 10014 101 11 c01d0001";
  QTest::newRow("characters keep CR LF for the bridge to skip")
      << 2 << u"你A\r\n"_qs << "chars 10014 e4bda0410d0a";
  QTest::newRow("set-text") << 3 << u"歌 词"_qs << "settext 10014 e6ad8c20e8af8d";
  QTest::newRow("empty set-text") << 3 << "" << "settext 10014 -";
  QTest::newRow("paste") << 4 << "" << "paste 10014";
  QTest::newRow("clipboard") << 5 << u"歌"_qs << "clip e6ad8c";
}

void TestWineBridge::requestsWritten() {
  QFETCH(int, call);
  QFETCH(QString, text);
  QFETCH(QString, request);
  QTemporaryDir dir;
  const QString log = dir.filePath(QStringLiteral("requests.log"));
  WineBridgeWindowSystem bridge(FakeBridge({QStringLiteral("--log"), log}));
  QVERIFY(bridge.WaitUntilReady(5000));
  switch (call) {
    case 0: bridge.Post(0x10014, winmsg::kKeyDown, vkey::kReturn, 0x00020002); break;
    case 1: bridge.Post(0x10014, winmsg::kKeyUp, vkey::kControl, 0xC01D0001); break;
    case 2: bridge.PostCharacters(0x10014, text); break;
    case 3: bridge.SendSetText(0x10014, text); break;
    case 4: bridge.SendPaste(0x10014); break;
    case 5: bridge.SetClipboardText(text); break;
  }
  QCOMPARE(Requests(log), QStringList{request});
}

void TestWineBridge::malformedSnapshot_data() {
  QTest::addColumn<QByteArray>("fields");
  QTest::addColumn<int>("topLevel");  // -1: refused
  QTest::newRow("nothing") << QByteArray("0") << 0;
  QTest::newRow("nested") << QByteArray("3 0,1,2,41,- 1,3,2,42,- 0,4,5,43,-") << 2;
  QTest::newRow("count too high") << QByteArray("2 0,1,2,41,-") << -1;
  QTest::newRow("count not a number") << QByteArray("x 0,1,2,41,-") << -1;
  QTest::newRow("first is a child") << QByteArray("1 1,1,2,41,-") << -1;
  QTest::newRow("skips a level") << QByteArray("2 0,1,2,41,- 2,3,2,41,-") << -1;
  QTest::newRow("odd hex") << QByteArray("1 0,1,2,4,-") << -1;
  QTest::newRow("field missing") << QByteArray("1 0,1,2,41") << -1;
  QTest::newRow("negative depth") << QByteArray("1 -1,1,2,41,-") << -1;
  QTest::newRow("empty handle") << QByteArray("1 0,,2,41,-") << -1;
}

void TestWineBridge::malformedSnapshot() {
  QFETCH(QByteArray, fields);
  QFETCH(int, topLevel);
  const auto snapshot = ParseSnapshotReply(fields.split(' '));
  QCOMPARE(snapshot.has_value(), topLevel >= 0);
  if (snapshot) QCOMPARE(int(snapshot->topLevel.size()), topLevel);
}

void TestWineBridge::hungBridgeIsSkippedThenEndedAndStartedAgain() {
  QTemporaryDir dir;
  const QString log = dir.filePath(QStringLiteral("requests.log"));
  BridgeOptions options;
  options.giveUpMs = 600;
  WineBridgeWindowSystem bridge(
      FakeBridge({QStringLiteral("--log"), log, QStringLiteral("--hang-after"), QStringLiteral("0")}),
      options);
  QVERIFY(bridge.WaitUntilReady(5000));
  QElapsedTimer clock;
  clock.start();
  QVERIFY(bridge.Snapshot().topLevel.empty());
  // Bounded by the call time-out, not by the bridge (generous margin for a loaded machine).
  QVERIFY2(clock.elapsed() < 1000, qPrintable(QString::number(clock.elapsed())));
  // While the first request is unanswered, the others are dropped, not queued up.
  QVERIFY(!bridge.IsWindow(0x10014));
  bridge.Post(0x10014, winmsg::kKeyDown, vkey::kReturn, 0x00020002);
  QCOMPARE(bridge.Foreground().handle, WindowHandle(0));
  QTRY_COMPARE(Requests(log), QStringList{QStringLiteral("snapshot")});
  QCOMPARE(bridge.Starts(), 1);
  // Past the give-up time the silent bridge is ended and a new one started.
  QThread::msleep(700);
  QVERIFY(!bridge.IsWindow(0x10014));
  QCOMPARE(bridge.Starts(), 2);
  QVERIFY(bridge.WaitUntilReady(5000));
  QTRY_COMPARE(LogLines(log).count(QStringLiteral("start")), 2);
}

void TestWineBridge::lateReplyIsNotTakenForALaterRequest() {
  BridgeOptions options;
  options.callTimeoutMs = 100;
  WineBridgeWindowSystem bridge(
      FakeBridge({QStringLiteral("--delay-first"), QStringLiteral("400")}), options);
  QVERIFY(bridge.WaitUntilReady(5000));
  QVERIFY(!bridge.IsWindow(0x10014));  // its "yes" comes too late
  QThread::msleep(600);
  QVERIFY(!bridge.IsWindow(0x999));  // must not take the late "yes" for its own answer
  QVERIFY(bridge.IsWindow(0x10014));
  QCOMPARE(bridge.Starts(), 1);
}

// A client that takes the bridge's whole limit over each paste or set-text: the reply is still
// waited for, so the submit keys of the line reach the bridge instead of being dropped.
void TestWineBridge::slowDeliveryStillGetsItsSubmitKeys() {
  QVERIFY(BridgeOptions{}.callTimeoutMs > chatbridge::kDeliveryLimitMs);
  QTemporaryDir dir;
  const QString log = dir.filePath(QStringLiteral("requests.log"));
  WineBridgeWindowSystem bridge(
      FakeBridge({QStringLiteral("--log"), log, QStringLiteral("--delay-delivery"),
                  QString::number(chatbridge::kDeliveryLimitMs)}));
  QVERIFY(bridge.WaitUntilReady(5000));
  bridge.SendPaste(0x10014);
  bridge.Post(0x10014, winmsg::kKeyDown, vkey::kReturn, 0x00020002);
  bridge.SendSetText(0x10014, QStringLiteral("二"));
  bridge.Post(0x10014, winmsg::kKeyDown, vkey::kReturn, 0x00020002);
  QTRY_COMPARE(Requests(log), (QStringList{QStringLiteral("paste 10014"), QStringLiteral("post 10014 100 d 20002"),
                                           QStringLiteral("settext 10014 e4ba8c"),
                                           QStringLiteral("post 10014 100 d 20002")}));
  QCOMPARE(bridge.Starts(), 1);
}

void TestWineBridge::deadBridgeIsRestartedOnceThenGivenUp() {
  QTemporaryDir dir;
  const QString log = dir.filePath(QStringLiteral("requests.log"));
  WineBridgeWindowSystem bridge(
      FakeBridge({QStringLiteral("--log"), log, QStringLiteral("--die-after"), QStringLiteral("1")}));
  QVERIFY(bridge.WaitUntilReady(5000));
  QCOMPARE(bridge.Snapshot().topLevel.size(), std::size_t(2));
  QVERIFY(!bridge.IsWindow(0x10014));  // the bridge dies on this one
  QCOMPARE(bridge.Starts(), 2);
  QVERIFY(bridge.WaitUntilReady(5000));
  QCOMPARE(bridge.Snapshot().topLevel.size(), std::size_t(2));
  QVERIFY(!bridge.IsWindow(0x10014));  // and again: no third start
  QVERIFY(bridge.GaveUp());
  QVERIFY(!bridge.WaitUntilReady(100));
  QVERIFY(bridge.Snapshot().topLevel.empty());
  QCOMPARE(bridge.Starts(), 2);
  QCOMPARE(LogLines(log).count(QStringLiteral("start")), 2);
}

void TestWineBridge::missingProgramMeansNoWindows() {
  WineBridgeWindowSystem bridge(BridgeCommand{QStringLiteral("/nonexistent/wine"),
                                              {QStringLiteral("x.exe")},
                                              QProcessEnvironment::systemEnvironment()});
  QVERIFY(!bridge.WaitUntilReady(3000));
  QVERIFY(bridge.GaveUp());
  QCOMPARE(bridge.Starts(), 2);
  QVERIFY(bridge.Snapshot().topLevel.empty());
  QVERIFY(!bridge.IsWindow(0x10014));
}

void TestWineBridge::bridgeCommand_data() {
  QTest::addColumn<bool>("haveBridge");
  QTest::addColumn<QString>("wineSetting");  // "" = default "wine" on PATH
  QTest::addColumn<QString>("prefixSetting");
  QTest::addColumn<QString>("prefixEnvironment");
  QTest::addColumn<QString>("locale");
  QTest::addColumn<QString>("prefix");  // expected, relative to the temp folder; "" = none
  QTest::newRow("all defaults, prefix of the environment")
      << true << "" << "" << "envprefix" << "" << "envprefix";
  QTest::newRow("setting wins over the environment")
      << true << "" << "myprefix" << "envprefix" << "" << "myprefix";
  QTest::newRow("home prefix") << true << "" << "" << "" << "" << "home/.wine";
  QTest::newRow("Wine by path") << true << "bin/wine" << "myprefix" << "" << "zh_CN.UTF-8"
                                << "myprefix";
  QTest::newRow("no bridge program") << false << "" << "myprefix" << "" << "" << "";
  QTest::newRow("no such Wine") << true << "wine-nowhere" << "myprefix" << "" << "" << "";
  QTest::newRow("prefix missing") << true << "" << "noprefix" << "" << "" << "";
}

void TestWineBridge::bridgeCommand() {
  QFETCH(bool, haveBridge);
  QFETCH(QString, wineSetting);
  QFETCH(QString, prefixSetting);
  QFETCH(QString, prefixEnvironment);
  QFETCH(QString, locale);
  QFETCH(QString, prefix);
  QTemporaryDir dir;
  const QString root = dir.path();
  for (const char* folder : {"bin", "programs", "envprefix", "myprefix", "home/.wine"}) {
    QVERIFY(QDir(root).mkpath(QString::fromLatin1(folder)));
  }
  QFile wine(root + u"/bin/wine");
  QVERIFY(wine.open(QIODevice::WriteOnly));
  wine.write("#!/bin/sh\n");
  wine.close();
  wine.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  if (haveBridge) {
    QFile exe(root + u"/programs/lyrova-chatbridge.exe");
    QVERIFY(exe.open(QIODevice::WriteOnly));
  }
  QProcessEnvironment environment;
  environment.insert(QStringLiteral("PATH"), root + u"/bin");
  environment.insert(QStringLiteral("HOME"), root + u"/home");
  if (!prefixEnvironment.isEmpty()) {
    environment.insert(QStringLiteral("WINEPREFIX"), root + u'/' + prefixEnvironment);
  }
  SettingsStore settings(kPlayerProgram, root + u"/config");
  if (!wineSetting.isEmpty()) {
    const QString value = wineSetting.contains(u'/') ? root + u'/' + wineSetting : wineSetting;
    QVERIFY(settings.WriteSetting(kWineCommandKey, value));
  }
  if (!prefixSetting.isEmpty()) {
    QVERIFY(settings.WriteSetting(kWinePrefixKey, root + u'/' + prefixSetting));
  }
  if (!locale.isEmpty()) QVERIFY(settings.WriteSetting(kWineLocaleKey, locale));

  QString why;
  const auto command =
      BridgeCommandFor(ReadBridgeSettings(settings), root + u"/programs", environment, &why);
  QCOMPARE(command.has_value(), !prefix.isEmpty());
  if (!command) {
    QVERIFY(!why.isEmpty());
    return;
  }
  QCOMPARE(command->program, root + u"/bin/wine");
  QCOMPARE(command->arguments, QStringList{root + u"/programs/lyrova-chatbridge.exe"});
  QCOMPARE(command->environment.value(QStringLiteral("WINEPREFIX")), root + u'/' + prefix);
  QCOMPARE(command->environment.value(QStringLiteral("WINEDEBUG")), u"-all");
  QCOMPARE(command->environment.value(QStringLiteral("LC_ALL")), locale);
}

void TestWineBridge::withoutTheBridgeThereAreNoTargets() {
  QTemporaryDir dir;  // a program folder without lyrova-chatbridge.exe
  SettingsStore settings(kPlayerProgram, dir.filePath(QStringLiteral("config")));
  const auto windows = MakeChatWindowSystem(settings, dir.path());
  QVERIFY(dynamic_cast<NoWindowSystem*>(windows.get()) != nullptr);
  const QList<TargetMenuItem> menu = TargetMenuItems(ScanChatWindows(windows->Snapshot()), {});
  QCOMPARE(menu.size(), 1);
  QCOMPARE(menu[0].caption, u"未找到任何发送目标");
}

QTEST_GUILESS_MAIN(TestWineBridge)
#include "tst_winebridge.moc"
