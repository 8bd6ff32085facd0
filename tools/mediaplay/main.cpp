// mediaplay [--volume N] FILE
//
// Opens FILE through the programs' media device over libmpv and runs a short script: play
// for about a second, pause, seek to the middle, play to the end, close. Every step prints
// the position and the length. Exit status: 0 when the file played to its end, 1 when it
// did not open or did not reach its end, 2 for a wrong command line.
#include "common/clock.h"
#include "media/mediacontrol.h"
#include "media/mpvengine.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QStringList>

#include <chrono>
#include <cstdio>
#include <memory>
#include <thread>

using namespace lyrova;

namespace {

void Sleep(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

void Say(const QString& text) {
  std::fputs(qPrintable(text + u'\n'), stdout);
  std::fflush(stdout);
}

void Step(MediaControl& media, const char* what) {
  const qint32 position = media.GetMediaStatus(false);
  Say(QString::fromLatin1(what).leftJustified(8) + FormatClock(position) + QStringLiteral(" / ") +
      media.MediaLengthText() + QStringLiteral("  (") + QString::number(position) +
      QStringLiteral(" / ") + QString::number(media.MediaLength()) + QStringLiteral(" ms)"));
}

int Usage() {
  std::fputs("usage: mediaplay [--volume 0..1000] FILE\n", stderr);
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  QStringList args = app.arguments().mid(1);
  qint32 volume = 1000;
  if (args.size() == 3 && args[0] == u"--volume") {
    bool ok = false;
    volume = args[1].toInt(&ok);
    if (!ok) return Usage();
    args = args.mid(2);
  }
  if (args.size() != 1 || args[0].startsWith(u"--")) return Usage();
  const QString path = args[0];

  CommandDevice device([] { return std::make_unique<MpvEngine>(); });
  MediaControl media(device, FormatClock);
  media.OpenMedia(path, volume);
  if (!media.IsOpen()) {
    std::fputs(qPrintable(QStringLiteral("mediaplay: cannot open ") + path + QStringLiteral(": ") +
                          device.LastOpenError() + u'\n'),
               stderr);
    return 1;
  }
  Say(QStringLiteral("open    ") + media.MediaFile() + QStringLiteral(" at volume ") +
      QString::number(volume));
  Step(media, "opened");

  media.PlayMedia();
  Step(media, "play");
  Sleep(1'000);
  Step(media, "played");
  media.TogglePause();
  Step(media, "pause");
  Sleep(300);
  Step(media, "paused");
  media.SeekMedia(media.MediaLength() / 2);
  Step(media, "seek");

  media.TogglePause();
  Step(media, "resume");
  // Polled the way the Player does, with a second of grace after the expected end.
  const qint64 limit = media.MediaLength() - media.GetMediaStatus(false) + 1'000;
  QElapsedTimer wall;
  wall.start();
  qint64 nextReport = 1'000;
  while (media.GetMediaStatus(false) != media.MediaLength() && wall.elapsed() < limit) {
    Sleep(10);
    if (wall.elapsed() >= nextReport) {
      Step(media, "playing");
      nextReport += 1'000;
    }
  }
  const bool ended = media.GetMediaStatus(false) == media.MediaLength();
  Step(media, ended ? "end" : "no end");
  media.CloseMedia();
  Say(QStringLiteral("closed"));
  return ended ? 0 : 1;
}
