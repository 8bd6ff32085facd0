// The Editor's interactive costs on a 10,000-line document, measured through the real window
// (offscreen) over the fake audio system:
//   BM_OpenLargeFile    drop a 10,000-line lyrics file: read, list model reset, list laid out
//   BM_StampPress       one stamp press: tag the selected line, rewrite its row, select the next
//   BM_StampNoView      the same press in the session alone, without the window's redrawing
//   BM_ShiftAllTags     all tags 0.5 s later (command 17) and the list repainted once
// Targets: open at most 300 ms, a stamp at most 1 ms, a shift of all tags at most 50 ms.
#include "common/clock.h"
#include "common/prompts/scriptedprompts.h"
#include "common/settings.h"
#include "editor/core/commandtable.h"
#include "editor/window/editorwidgets.h"
#include "editor/window/editorwindow.h"
#include "media/commanddevice.h"
#include "media/fakeaudio.h"
#include "media/mediacontrol.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>

#include <memory>

using namespace lyrova;

namespace {

class NoDialogs : public EditorDialogs {
 public:
  ChooserResult ChooseNewOrClear(QWidget*, int) override { return {}; }
  OffsetResult AskOffset(QWidget*) override { return {}; }
  LayoutResult ChooseLayout(QWidget*, bool) override { return {}; }
  void ShowAbout(QWidget*) override {}
};

class AlwaysNo : public SaveQuestion {
 public:
  SaveAnswer Ask(QWidget*, const QString&, bool) override { return SaveAnswer::No; }
};

// A window with a song open and playing, and a 10,000-line file beside it.
struct Bench {
  QTemporaryDir root;
  FakeAudio audio;
  CommandDevice device{audio.Factory()};
  MediaControl media{device, FormatEditorClock, MediaControl::VolumeControl::Absent};
  SettingsStore settings{kEditorProgram, root.filePath(QStringLiteral("config"))};
  ScriptedPrompts prompts;
  NoDialogs dialogs;
  AlwaysNo saveQuestion;
  std::unique_ptr<EditorWindow> window;
  QString lyrics;

  Bench() {
    const QString song = root.filePath(QStringLiteral("song.ogg"));
    QFile(song).open(QIODevice::WriteOnly);
    audio.AddFile(song, 50LL * 60 * 1000);
    lyrics = root.filePath(QStringLiteral("big.lrc"));
    QFile file(lyrics);
    file.open(QIODevice::WriteOnly);
    for (int i = 0; i < 10'000; ++i) {
      const int cs = i * 29;  // hundredths
      file.write(QStringLiteral("[%1:%2.%3]第 %4 行歌词 line number %4\r\n")
                     .arg(cs / 6000, 2, 10, QChar(u'0'))
                     .arg(cs / 100 % 60, 2, 10, QChar(u'0'))
                     .arg(cs % 100, 2, 10, QChar(u'0'))
                     .arg(i)
                     .toUtf8());
    }
    file.close();
    EditorServices services;
    services.settings = &settings;
    services.media = &media;
    services.prompts = &prompts;
    services.saveQuestion = &saveQuestion;
    services.dialogs = &dialogs;
    services.programFolder = root.path();
    window = std::make_unique<EditorWindow>(services);
    window->resize(640, 600);
    window->Start({song});
    window->Session().RunCommand(kCmdPlay);
    QApplication::processEvents();
  }
  EditorSession& S() { return window->Session(); }
};

void BM_OpenLargeFile(benchmark::State& state) {
  Bench b;
  for (auto _ : state) {
    b.S().OpenDroppedFile(b.lyrics);
    QApplication::processEvents();  // the list lays out and paints its rows
  }
  state.counters["lines"] = double(b.S().Document().count());
}
BENCHMARK(BM_OpenLargeFile)->Unit(benchmark::kMillisecond);

void BM_StampPress(benchmark::State& state) {
  Bench b;
  b.S().OpenDroppedFile(b.lyrics);
  b.S().ClickRow(0);
  QApplication::processEvents();
  for (auto _ : state) {
    b.audio.Advance(10);
    b.S().RunCommand(kCmdStamp);
    if (b.S().Selection() >= 9'999) b.S().ClickRow(0);
  }
  QApplication::processEvents();
}
BENCHMARK(BM_StampPress)->Unit(benchmark::kMicrosecond);
void BM_StampNoView(benchmark::State& state) {
  Bench b;
  b.S().OpenDroppedFile(b.lyrics);
  b.S().ClickRow(0);
  QApplication::processEvents();
  b.S().SetView(nullptr);
  for (auto _ : state) {
    b.audio.Advance(10);
    b.S().RunCommand(kCmdStamp);
    if (b.S().Selection() >= 9'999) b.S().ClickRow(0);
  }
  b.S().SetView(b.window.get());
}
BENCHMARK(BM_StampNoView)->Unit(benchmark::kMicrosecond);

void BM_ShiftAllTags(benchmark::State& state) {
  Bench b;
  b.S().OpenDroppedFile(b.lyrics);
  QApplication::processEvents();
  for (auto _ : state) {
    b.S().RunCommand(kCmdAllLater);
    QApplication::processEvents();
  }
}
BENCHMARK(BM_ShiftAllTags)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
