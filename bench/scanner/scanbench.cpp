// scan-bench ROOT [--ini FILE]
//
// Runs DirScan on ROOT with the Scanner's own handlers: the first "*.lrc" of a directory adds
// the directory to the list and skips the directory's other files. Prints each added directory,
// one a line, in the order found; then the timing on standard error. With --ini the list is
// also kept in FILE as the Scanner keeps "LrcDir.ini" during a scan.
#include "scanner/engine/dirfile.h"
#include "scanner/engine/dirlist.h"
#include "scanner/engine/drvscan.h"

#include <QElapsedTimer>
#include <QFile>
#include <QString>

#include <cstdio>
#include <cstring>
#include <vector>

int main(int argc, char** argv) {
  if (argc != 2 && !(argc == 4 && std::strcmp(argv[2], "--ini") == 0)) {
    std::fputs("usage: scan-bench ROOT [--ini FILE]\n", stderr);
    return 2;
  }
  static std::vector<char> outBuffer(1 << 20);
  std::setvbuf(stdout, outBuffer.data(), _IOFBF, outBuffer.size());

  lyrova::DrvScan scan;
  lyrova::DirList list;
  const QString ini = argc == 4 ? QFile::decodeName(argv[3]) : QString();
  lyrova::SearchDirFile file(ini);
  QElapsedTimer sinceFlush;
  sinceFlush.start();
  qint64 entered = 0;

  scan.SetScanPath(QFile::decodeName(argv[1]));
  scan.SetScanName(QStringLiteral("*.lrc"));
  QObject::connect(&scan, &lyrova::DrvScan::FindingDir, [&entered](const QString&) { ++entered; });
  QObject::connect(&scan, &lyrova::DrvScan::FindingName,
                   [&](const QString& directory, const QString&) {
                     if (list.AddDir(directory)) {
                       const QByteArray line = QFile::encodeName(list.Dirs().last());
                       std::fwrite(line.constData(), 1, static_cast<size_t>(line.size()), stdout);
                       std::fputc('\n', stdout);
                       if (!ini.isEmpty()) {
                         file.Append(list.Dirs().last());
                         if (sinceFlush.elapsed() >= 500) {
                           file.Flush(list.Dirs());
                           sinceFlush.restart();
                         }
                       }
                     }
                     scan.SkipIsDirFile();
                   });

  QElapsedTimer timer;
  timer.start();
  scan.DirScan();
  if (!ini.isEmpty()) file.Flush(list.Dirs());
  std::fflush(stdout);
  const double ms = static_cast<double>(timer.nsecsElapsed()) / 1e6;
  std::fprintf(stderr, "scan-bench: %lld directories entered, %lld added, %.1f ms", 
               static_cast<long long>(entered), static_cast<long long>(list.Count()), ms);
  if (!ini.isEmpty())
    std::fprintf(stderr, ", %lld bytes written to the list file", static_cast<long long>(file.BytesWritten()));
  std::fputc('\n', stderr);
  return 0;
}
