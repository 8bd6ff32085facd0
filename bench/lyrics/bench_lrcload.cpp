// Loading lyrics files as the programs do: LoadLrc from disk (read, detect the encoding, decode,
// parse, sort, apply the offset), in both reader modes, over the corpora that make_corpora.py
// writes into $LYROVA_CORPUS_DIR.
#include "lyrics/lrcreader.h"

#include <benchmark/benchmark.h>

#include <QDir>
#include <QString>

#include <cstdio>
#include <cstdlib>

namespace {

void LoadOne(benchmark::State& state, const QString& path, lyrova::ReaderMode mode) {
  lyrova::LyricsDocument doc;
  for (auto _ : state) {
    if (!lyrova::LoadLrc(doc, path, mode)) state.SkipWithError("load failed");
    benchmark::DoNotOptimize(doc.lines.data());
  }
  state.counters["lines"] = double(doc.count());
}

}  // namespace

int main(int argc, char** argv) {
  const char* dir = std::getenv("LYROVA_CORPUS_DIR");
  if (!dir) {
    std::fprintf(stderr, "set LYROVA_CORPUS_DIR to the folder make_corpora.py wrote\n");
    return 2;
  }
  const QDir corpora(QString::fromLocal8Bit(dir));
  for (const char* corpus : {"typical", "big", "multi"}) {
    for (const char* encoding : {"utf8", "gbk"}) {
      const QString file = corpora.filePath(QString::fromLatin1(corpus) + u'.' +
                                            QString::fromLatin1(encoding) + QStringLiteral(".lrc"));
      const std::string suffix = std::string(corpus) + "." + encoding;
      benchmark::RegisterBenchmark(("LoadLrc/editor/" + suffix).c_str(), LoadOne, file,
                                   lyrova::ReaderMode::Editor)
          ->Unit(benchmark::kMicrosecond);
      benchmark::RegisterBenchmark(("LoadLrc/player/" + suffix).c_str(), LoadOne, file,
                                   lyrova::ReaderMode::Player)
          ->Unit(benchmark::kMicrosecond);
    }
  }
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
