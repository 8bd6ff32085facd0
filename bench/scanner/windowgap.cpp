// scan-window-gap ROOT
//
// Runs the Scanner window's own scan over ROOT (given to it as the one fixed drive) and
// measures how long window events wait during the scan: a 1 ms timer runs throughout, and the
// longest interval between two of its firings is the longest time the window could not react
// to a click. Prints the figures on standard output. Runs on the offscreen platform unless
// QT_QPA_PLATFORM says otherwise. "LrcDir.ini" goes to a temporary folder. With GAPS set in
// the environment every interval is printed on standard error.
#include "common/prompts/prompts.h"
#include "scanner/window/scannerwindow.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>

namespace {

// Answers No to the closing question; shows nothing.
class SilentPrompts : public lyrova::Prompts {
 public:
  void Message(const QString&, const QString&, lyrova::MessageIcon) override {}
  bool Question(const QString&, const QString&, lyrova::DefaultAnswer) override { return false; }
  std::optional<QString> InputText(const QString&, const QString&, const QString&) override {
    return std::nullopt;
  }
  std::optional<lyrova::FileDialogAnswer> FileDialog(const lyrova::FileDialogRequest&) override {
    return std::nullopt;
  }
  std::optional<QString> ChooseFolder(const QString&, const QString&) override {
    return std::nullopt;
  }
};

class NoLauncher : public lyrova::Launcher {
 public:
  bool Start(const QString&, const QStringList&, QString*) override { return true; }
};

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fputs("usage: scan-window-gap ROOT\n", stderr);
    return 2;
  }
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  const QString root = QFile::decodeName(argv[1]);
  QTemporaryDir data;
  SilentPrompts prompts;
  NoLauncher launcher;
  lyrova::ScannerServices services;
  services.prompts = &prompts;
  services.launcher = &launcher;
  services.programFolder = data.path();
  services.dataFolder = data.path();
  services.mounts = [root] {
    return QList<lyrova::MountEntry>{
        {8, 1, QStringLiteral("/"), root, QStringLiteral("ext4"), {}}};
  };
  services.removable = [](int, int) { return false; };
  lyrova::ScannerWindow window(services);
  window.show();

  QElapsedTimer clock;
  qint64 last = -1;
  qint64 longestNs = 0;
  qint64 ticks = 0;
  QTimer tick;
  tick.setTimerType(Qt::PreciseTimer);
  tick.setInterval(1);
  QObject::connect(&tick, &QTimer::timeout, [&] {
    const qint64 now = clock.nsecsElapsed();
    if (last >= 0) longestNs = std::max(longestNs, now - last);
    if (qEnvironmentVariableIsSet("GAPS")) std::fprintf(stderr, "%.1f ", (now - last) / 1e6);
    last = now;
    ++ticks;
  });
  qint64 scanNs = 0;
  // The click comes once the window has been painted, as a user's click would.
  QTimer::singleShot(300, [&] {
    clock.start();
    tick.start();
    window.Command2()->click();  // returns when the scan is done and the window closed
    tick.stop();
    scanNs = clock.nsecsElapsed();
    QCoreApplication::quit();
  });
  app.exec();
  std::printf("scan in the window: %.1f ms, %lld folders listed, %lld timer events, longest gap %.1f ms\n",
              scanNs / 1e6, static_cast<long long>(window.Dirs().Count()),
              static_cast<long long>(ticks), longestNs / 1e6);
  return 0;
}
