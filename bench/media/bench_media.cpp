// The media device's hot path and its open latency, run by hand (bench/run.sh).
//
// Targets: one position query through MediaControl (build the command, parse it, ask the
// engine, format the reply, read it back) costs at most 5 us while libmpv plays; OpenMedia
// returns, length known, at most 10 ms after libmpv has reported the file loaded.
#include "common/clock.h"
#include "media/fakeaudio.h"
#include "media/mediacontrol.h"
#include "media/mpvengine.h"

#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>

using namespace lyrova;

namespace {

// A minute of silence (8 kHz, 8-bit mono) so that playback outlasts every benchmark.
QString LongSong(const QTemporaryDir& dir) {
  const quint32 samples = 60 * 8000;
  QByteArray bytes("RIFF");
  const auto u32 = [&bytes](quint32 v) {
    for (int i = 0; i < 4; ++i) bytes.append(char((v >> (8 * i)) & 0xff));
  };
  const auto u16 = [&bytes](quint16 v) { bytes.append(char(v & 0xff)).append(char(v >> 8)); };
  u32(36 + samples);
  bytes.append("WAVEfmt ");
  u32(16);
  u16(1);
  u16(1);
  u32(8000);
  u32(8000);
  u16(1);
  u16(8);
  bytes.append("data");
  u32(samples);
  bytes.append(QByteArray(samples, char(0x80)));
  const QString path = dir.filePath(QStringLiteral("silence.wav"));
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) return {};
  return path;
}

void BM_PositionQuery_FakeEngine(benchmark::State& state) {
  FakeAudio audio;
  audio.AddFile(QStringLiteral("/music/song.mp3"), 180'000);
  CommandDevice device(audio.Factory());
  MediaControl media(device, FormatClock);
  media.OpenMedia(QStringLiteral("/music/song.mp3"));
  media.PlayMedia();
  for (auto _ : state) {
    audio.Advance(1);
    benchmark::DoNotOptimize(media.GetMediaStatus(false));
  }
}
BENCHMARK(BM_PositionQuery_FakeEngine);

struct PlayingMpv {
  PlayingMpv() : path(LongSong(dir)) {
    media.OpenMedia(path);
    media.PlayMedia();
  }
  QTemporaryDir dir;
  QString path;
  CommandDevice device{[] { return std::make_unique<MpvEngine>(); }};
  MediaControl media{device, FormatClock};
};

void BM_PositionQuery_Mpv(benchmark::State& state) {
  PlayingMpv rig;
  if (!rig.media.IsOpen()) return state.SkipWithError("cannot open the song");
  for (auto _ : state) benchmark::DoNotOptimize(rig.media.GetMediaStatus(false));
}
BENCHMARK(BM_PositionQuery_Mpv);

// The engine alone: libmpv's property read and the engine's bookkeeping, no command text.
void BM_EnginePosition_Mpv(benchmark::State& state) {
  PlayingMpv rig;
  AudioEngine* engine = rig.device.EngineOf(u"WAV");
  if (engine == nullptr) return state.SkipWithError("cannot open the song");
  for (auto _ : state) benchmark::DoNotOptimize(engine->PositionMs());
}
BENCHMARK(BM_EnginePosition_Mpv);

// The raw command as text in and text out, as a caller of MciCommand sees it.
void BM_MciCommandPosition_Mpv(benchmark::State& state) {
  PlayingMpv rig;
  if (!rig.media.IsOpen()) return state.SkipWithError("cannot open the song");
  for (auto _ : state) benchmark::DoNotOptimize(rig.media.MciCommand(u"status WAV position"));
}
BENCHMARK(BM_MciCommandPosition_Mpv);

// Time from libmpv's file-loaded event to OpenMedia's return (manual time); the whole open
// is reported as a counter.
void BM_OpenAfterLoaded_Mpv(benchmark::State& state) {
  const QString path = QStringLiteral(LYROVA_MEDIA_DATA_DIR "/") +
                       QString::fromLatin1(state.range(0) == 0 ? "tone.wav" : "tone.mp3");
  CommandDevice device([] { return std::make_unique<MpvEngine>(); });
  MediaControl media(device, FormatClock);
  double wholeOpens = 0;
  double worstAfterLoaded = 0;
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    media.OpenMedia(path);
    const auto done = std::chrono::steady_clock::now();
    auto* engine = dynamic_cast<MpvEngine*>(device.EngineOf(u"WAV"));
    if (!media.IsOpen() || engine == nullptr) return state.SkipWithError("cannot open the song");
    const double afterLoaded = std::chrono::duration<double>(done - engine->LoadedAt()).count();
    state.SetIterationTime(afterLoaded);
    worstAfterLoaded = std::max(worstAfterLoaded, afterLoaded);
    wholeOpens += std::chrono::duration<double>(done - start).count();
    media.CloseMedia();
  }
  state.counters["whole_open_ms"] = 1e3 * wholeOpens / double(state.iterations());
  state.counters["worst_after_loaded_ms"] = 1e3 * worstAfterLoaded;
}
BENCHMARK(BM_OpenAfterLoaded_Mpv)->Arg(0)->Arg(1)->UseManualTime()->Iterations(40)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
