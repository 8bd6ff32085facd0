// The chat bridge under Wine with the stand-in client open: a whole target scan (one window
// snapshot through the bridge and the target list built from it), one round trip, and one
// lyric line delivered with its submit keys by each method. Run by hand under a virtual X
// server, with a Wine prefix the tests created (or any other):
//   xvfb-run -a build/bench/bench_chatbridge [--wine-prefix DIR]
#include "common/launcher.h"
#include "common/prompts/scriptedprompts.h"
#include "common/settings.h"
#include "player/chat/chatcontroller.h"
#include "player/chat/chattargets.h"
#include "player/chatbridge/chatwindowsystem.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <cstdio>
#include <cstring>

using namespace lyrova;

namespace {

struct NoLauncher : Launcher {
  bool Start(const QString&, const QStringList&, QString*) override { return false; }
};

QTemporaryDir* work = nullptr;
WineBridgeWindowSystem* bridge = nullptr;
ChatController* chat = nullptr;
WindowHandle editor = 0;

void TargetScan(benchmark::State& state) {
  qsizetype targets = 0;
  for (auto _ : state) {
    const QList<ChatTarget> found = ScanChatWindows(bridge->Snapshot());
    targets = found.size();
    benchmark::DoNotOptimize(targets);
  }
  state.counters["targets"] = double(targets);
}
BENCHMARK(TargetScan)->Unit(benchmark::kMillisecond);

void RoundTrip(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(bridge->IsWindow(editor));
}
BENCHMARK(RoundTrip)->Unit(benchmark::kMillisecond);

// The argument is the SendMethod's number (paste, character messages, set-text); the text
// chat submits with Ctrl+Enter.
void DeliverLine(benchmark::State& state) {
  const SendMethod method{static_cast<qint32>(state.range(0))};
  const QString line = QStringLiteral("/:)摇啊摇，把夜色摇成歌 Row and row~");
  for (auto _ : state) chat->DeliverText(line, editor, ChatKind::TextChat, method);
}
BENCHMARK(DeliverLine)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  QString prefix = QStringLiteral(LYROVA_DEFAULT_PREFIX);
  std::vector<char*> rest = {argv[0]};
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--wine-prefix") == 0 && i + 1 < argc) {
      prefix = QString::fromLocal8Bit(argv[++i]);
    } else {
      rest.push_back(argv[i]);
    }
  }
  QTemporaryDir dir;
  work = &dir;
  const QString bin = QStringLiteral(LYROVA_BIN_DIR);
  const QString log = dir.filePath(QStringLiteral("client.log"));

  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert(QStringLiteral("WINEPREFIX"), prefix);
  environment.insert(QStringLiteral("WINEDEBUG"), QStringLiteral("-all"));
  environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("zh_CN.UTF-8"));
  QProcess client;
  client.setProcessEnvironment(environment);
  client.start(QStringLiteral("wine"), {bin + u"/lyrova-chatclient.exe", QStringLiteral("--log"),
                                        u"Z:"_qs + log});
  for (int i = 0; i < 600 && !QFile(log).exists(); ++i) QThread::msleep(100);

  SettingsStore settings(kPlayerProgram, dir.filePath(QStringLiteral("config")));
  settings.WriteSetting(kWinePrefixKey, prefix);
  settings.WriteSetting(kWineLocaleKey, QStringLiteral("zh_CN.UTF-8"));
  auto windows = MakeChatWindowSystem(settings, bin);
  bridge = dynamic_cast<WineBridgeWindowSystem*>(windows.get());
  if (bridge == nullptr || !bridge->WaitUntilReady(120'000)) {
    std::fprintf(stderr, "the bridge did not start (Wine, prefix %s, DISPLAY?)\n",
                 qPrintable(prefix));
    return 1;
  }
  ScriptedPrompts prompts;
  NoLauncher launcher;
  ChatController controller(ChatController::Services{
      windows.get(), &prompts, &settings, &launcher, dir.filePath(QStringLiteral("emotions.ini"))});
  chat = &controller;
  // Wait for the client's windows, then take the text chat's input control.
  for (int i = 0; i < 100 && editor == 0; ++i) {
    for (const ChatTarget& target : ScanChatWindows(bridge->Snapshot())) {
      if (target.kind == ChatKind::TextChat) editor = target.editor;
    }
    if (editor == 0) QThread::msleep(100);
  }
  if (editor == 0) {
    std::fprintf(stderr, "the stand-in client's windows were not found\n");
    return 1;
  }

  int count = static_cast<int>(rest.size());
  benchmark::Initialize(&count, rest.data());
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  chat = nullptr;
  windows.reset();
  client.kill();
  client.waitForFinished(5'000);
  return 0;
}
