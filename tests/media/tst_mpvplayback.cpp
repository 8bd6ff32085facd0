// Real playback through the command device and libmpv, on the committed fixtures. The
// machine may have no sound device (libmpv then plays into its null output, in real time)
// and may be busy, so real-time checks allow generous margins.
#include "common/clock.h"
#include "media/mediacontrol.h"
#include "media/mpvengine.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

#include <clocale>
#include <memory>

using namespace lyrova;
using namespace Qt::Literals::StringLiterals;

namespace {

QString DataFile(const QString& name) { return QStringLiteral(LYROVA_TEST_DATA_DIR "/") + name; }

// The decoded length of each fixture, written by make-fixtures.sh.
qint32 FixtureLength(const QString& name) {
  QFile file(DataFile(u"lengths.tsv"_s));
  if (!file.open(QIODevice::ReadOnly)) return -1;
  while (!file.atEnd()) {
    const QStringList fields = QString::fromUtf8(file.readLine()).trimmed().split(u'\t');
    if (fields.size() == 2 && fields[0] == name) return fields[1].toInt();
  }
  return -1;
}

int ThreadCount() { return int(QDir(u"/proc/self/task"_s).entryList(QDir::Dirs | QDir::NoDotAndDotDot).size()); }

int ChildProcessCount() {
  int children = 0;
  const QString self = QString::number(::getpid());
  for (const QString& pid : QDir(u"/proc"_s).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
    QFile stat(u"/proc/"_s + pid + u"/stat"_s);
    if (!stat.open(QIODevice::ReadOnly)) continue;
    const QString text = QString::fromUtf8(stat.readAll());
    // "pid (name) state ppid ...": the name may hold blanks, so read after its ")".
    const QStringList fields = text.mid(text.lastIndexOf(u')') + 2).split(u' ');
    if (fields.size() > 1 && fields[1] == self) ++children;
  }
  return children;
}

// Waits a little for threads that are still finishing; true once the count is back.
bool ThreadsBackTo(int count) {
  QElapsedTimer timer;
  timer.start();
  while (ThreadCount() != count && timer.elapsed() < 1'000) QTest::qSleep(10);
  return ThreadCount() == count;
}

struct Rig {
  CommandDevice device{[] { return std::make_unique<MpvEngine>(); }};
  MediaControl media{device, FormatClock};
  qint32 Position() { return media.GetMediaStatus(false); }
};

// A WAV file whose header promises no samples at all.
QByteArray EmptyWave() {
  QByteArray bytes("RIFF");
  const auto u32 = [&bytes](quint32 v) {
    for (int i = 0; i < 4; ++i) bytes.append(char((v >> (8 * i)) & 0xff));
  };
  const auto u16 = [&bytes](quint16 v) { bytes.append(char(v & 0xff)).append(char(v >> 8)); };
  u32(36);
  bytes.append("WAVEfmt ");
  u32(16);
  u16(1);      // PCM
  u16(1);      // mono
  u32(8000);   // samples per second
  u32(8000);   // bytes per second
  u16(1);      // block size
  u16(8);      // bits
  bytes.append("data");
  u32(0);
  return bytes;
}

bool WriteFile(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

}  // namespace

class TestMpvPlayback : public QObject {
  Q_OBJECT

  int baselineThreads_ = 0;

 private slots:
  void initTestCase() {
    // Anything libmpv starts once per process is started here, before threads are counted.
    MpvEngine engine;
    QString why;
    QVERIFY2(engine.Load(DataFile(u"tone.wav"_s), &why), qPrintable(why));
    engine.Unload();
    baselineThreads_ = ThreadCount();
  }

  void formats_data() {
    QTest::addColumn<QString>("file");
    QTest::newRow("wav") << "tone.wav";
    QTest::newRow("flac") << "tone.flac";
    QTest::newRow("ogg") << "tone.ogg";
    QTest::newRow("mp3") << "tone.mp3";
  }

  void length_data() { formats_data(); }
  void length() {
    QFETCH(QString, file);
    const qint32 expected = FixtureLength(file);
    QVERIFY(expected > 0);
    Rig rig;
    rig.media.OpenMedia(DataFile(file));
    QVERIFY2(rig.media.IsOpen(), qPrintable(rig.device.LastOpenError()));
    QVERIFY2(qAbs(rig.media.MediaLength() - expected) <= 20,
             qPrintable(u"length %1, decoded %2"_s.arg(rig.media.MediaLength()).arg(expected)));
    QCOMPARE(rig.media.MediaLengthText(), FormatClock(rig.media.MediaLength()));
    QCOMPARE(rig.Position(), 0);
    rig.media.CloseMedia();
    QVERIFY(ThreadsBackTo(baselineThreads_));
  }

  // Plays, pauses, seeks and runs into the end of each format in real time.
  void playback_data() { formats_data(); }
  void playback() {
    QFETCH(QString, file);
    Rig rig;
    rig.media.OpenMedia(DataFile(file));
    QVERIFY2(rig.media.IsOpen(), qPrintable(rig.device.LastOpenError()));
    const qint32 length = rig.media.MediaLength();

    QElapsedTimer wall;
    rig.media.PlayMedia();
    wall.start();
    QTest::qSleep(1'000);
    qint32 position = rig.Position();
    qint64 elapsed = wall.elapsed();
    QVERIFY2(position >= 0.7 * elapsed && position <= 1.5 * elapsed,
             qPrintable(u"%1 ms of position after %2 ms"_s.arg(position).arg(elapsed)));

    rig.media.TogglePause();
    const qint32 pausedAt = rig.Position();
    QVERIFY(pausedAt >= position);
    QTest::qSleep(300);
    QCOMPARE(rig.Position(), pausedAt);
    QCOMPARE(rig.media.MciCommand(u"status WAV mode"), u"paused"_s);

    const qint32 target = length - 700;
    QCOMPARE(rig.media.SeekMedia(target), target);
    QCOMPARE(rig.Position(), target);
    rig.media.TogglePause();
    wall.restart();
    QTest::qSleep(200);
    position = rig.Position();
    elapsed = wall.elapsed();
    QVERIFY2(position >= target + 0.5 * elapsed && position <= target + 1.5 * elapsed + 50,
             qPrintable(u"%1 ms of position %2 ms after resuming at %3"_s.arg(position).arg(elapsed).arg(target)));

    // Polled as the Player does; the position never goes back and ends exactly at the length.
    qint32 last = position;
    while (position != length && wall.elapsed() < 3'000) {
      QTest::qSleep(10);
      position = rig.Position();
      QVERIFY2(position >= last, qPrintable(u"%1 after %2"_s.arg(position).arg(last)));
      last = position;
    }
    QCOMPARE(position, length);
    QVERIFY2(wall.elapsed() >= 400, qPrintable(u"the last 700 ms took %1 ms"_s.arg(wall.elapsed())));
    QTest::qSleep(200);
    QCOMPARE(rig.Position(), length);
    QTRY_COMPARE_WITH_TIMEOUT(rig.media.MciCommand(u"status WAV mode"), u"stopped"_s, 2'000);

    // Playing a finished file starts it again.
    rig.media.PlayMedia();
    wall.restart();
    QTest::qSleep(300);
    position = rig.Position();
    QVERIFY2(position >= 100 && position <= 1.5 * wall.elapsed() + 50, qPrintable(QString::number(position)));

    rig.media.CloseMedia();
    QVERIFY(ThreadsBackTo(baselineThreads_));
  }

  // Between two reads from libmpv the position runs on with the clock: polled every few
  // milliseconds it moves with the wall clock, without jumps, and keeps to libmpv's time.
  void runningPositionFollowsTheClock() {
    Rig rig;
    rig.media.OpenMedia(DataFile(u"tone.mp3"_s));
    QVERIFY2(rig.media.IsOpen(), qPrintable(rig.device.LastOpenError()));
    rig.media.PlayMedia();
    QTest::qSleep(300);  // the output is running
    QElapsedTimer wall;
    wall.start();
    const qint32 first = rig.Position();
    qint32 last = first;
    while (wall.elapsed() < 1'500) {
      QTest::qSleep(3);
      const qint64 before = wall.elapsed();
      const qint32 position = rig.Position();
      const qint64 after = wall.elapsed();
      QVERIFY2(position >= last, qPrintable(u"%1 after %2"_s.arg(position).arg(last)));
      QVERIFY2(position - first >= before - 40 && position - first <= after + 40,
               qPrintable(u"%1 ms after %2 ms, from %3"_s.arg(position).arg(before).arg(first)));
      last = position;
    }
    // A pause holds the position libmpv has at that moment, not one run on from an older read.
    rig.media.TogglePause();
    const qint32 held = rig.Position();
    QVERIFY(held >= last);
    QVERIFY2(held - last <= 40, qPrintable(u"paused at %1 after %2"_s.arg(held).arg(last)));
  }

  void volume() {
    Rig rig;
    qint32 volume = 1'300;
    rig.media.OpenMedia(DataFile(u"tone.ogg"_s), volume);
    QVERIFY(rig.media.IsOpen());
    QCOMPARE(volume, 1'000);
    volume = 250;
    QVERIFY(rig.media.SetVolume(volume));
    QCOMPARE(rig.media.MciCommand(u"status WAV volume"), u"250"_s);
  }

  // Nothing that is not an audio file of known length opens; each fails in time, leaves no
  // thread or process behind and does not keep the alias from the next file.
  void badInput_data() {
    QTest::addColumn<QString>("kind");
    QTest::newRow("missing file") << "missing";
    QTest::newRow("empty file") << "empty";
    QTest::newRow("random bytes") << "random";
    QTest::newRow("text named .mp3") << "text";
    QTest::newRow("playlist") << "m3u";
    QTest::newRow("playlist named .mp3") << "m3u-as-mp3";
    QTest::newRow("folder") << "folder";
    QTest::newRow("video without audio") << "video";
    QTest::newRow("no samples") << "no-samples";
    QTest::newRow("unreadable") << "unreadable";
  }
  void badInput() {
    QFETCH(QString, kind);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString good = DataFile(u"tone.wav"_s);
    QString path = dir.filePath(u"song.mp3"_s);
    if (kind == u"empty") {
      QVERIFY(WriteFile(path, {}));
    } else if (kind == u"random") {
      QByteArray noise(4096, '\0');
      QRandomGenerator generator(20240611);
      for (char& byte : noise) byte = char(generator.bounded(256));
      QVERIFY(WriteFile(path, noise));
    } else if (kind == u"text") {
      QVERIFY(WriteFile(path, u"这不是一首歌\nJust some words.\n"_s.toUtf8()));
    } else if (kind == u"m3u") {
      path = dir.filePath(u"list.m3u"_s);
      QVERIFY(WriteFile(path, good.toUtf8() + '\n'));
    } else if (kind == u"m3u-as-mp3") {
      QVERIFY(WriteFile(path, "#EXTM3U\n" + good.toUtf8() + '\n'));
    } else if (kind == u"folder") {
      QVERIFY(QDir(dir.path()).mkdir(u"song.mp3"_s));
      QVERIFY(QFile::copy(good, dir.filePath(u"song.mp3/tone.wav"_s)));
    } else if (kind == u"video") {
      path = DataFile(u"video-only.mkv"_s);
    } else if (kind == u"no-samples") {
      path = dir.filePath(u"song.wav"_s);
      QVERIFY(WriteFile(path, EmptyWave()));
    } else if (kind == u"unreadable") {
      QVERIFY(QFile::copy(good, path));
      QVERIFY(QFile::setPermissions(path, {}));
      QFile probe(path);
      if (probe.open(QIODevice::ReadOnly)) QSKIP("running with rights that read any file");
    }

    Rig rig;
    QElapsedTimer wall;
    wall.start();
    rig.media.OpenMedia(path);
    QVERIFY(wall.elapsed() < 5'500);
    QVERIFY(!rig.media.IsOpen());
    QCOMPARE(rig.media.MediaLength(), 0);
    QCOMPARE(rig.device.OpenCount(), 0);
    QVERIFY(!rig.device.LastOpenError().isEmpty());
    QVERIFY2(ThreadsBackTo(baselineThreads_), qPrintable(QString::number(ThreadCount())));
    QCOMPARE(ChildProcessCount(), 0);

    rig.media.OpenMedia(good);
    QVERIFY(rig.media.IsOpen());
    QCOMPARE(rig.media.MediaLength(), FixtureLength(u"tone.wav"_s));
  }

  void loadTimeout() {
    MpvEngine::Options options;
    options.loadTimeoutMs = 1;
    MpvEngine engine(options);
    QString why;
    QVERIFY(!engine.Load(DataFile(u"tone.flac"_s), &why));
    QVERIFY2(why.contains(u"in time"), qPrintable(why));
    QCOMPARE(engine.CurrentState(), AudioEngine::State::Empty);
    QVERIFY(ThreadsBackTo(baselineThreads_));
  }

  // libmpv needs C number formatting; whatever numeric locale the program runs under, the
  // engine switches to "C" before starting libmpv. (This machine may lack a locale with a
  // decimal comma, which libmpv refuses outright, so any locale other than "C" stands in.)
  void numericLocale() {
    if (std::setlocale(LC_NUMERIC, "C.UTF-8") == nullptr) QSKIP("no C.UTF-8 locale");
    MpvEngine engine;
    QString why;
    QVERIFY2(engine.Load(DataFile(u"tone.mp3"_s), &why), qPrintable(why));
    QCOMPARE(QByteArray(std::setlocale(LC_NUMERIC, nullptr)), QByteArray("C"));
    QVERIFY(engine.Seek(1'234));
    QCOMPARE(engine.PositionMs(), 1'234);
  }
};

QTEST_GUILESS_MAIN(TestMpvPlayback)
#include "tst_mpvplayback.moc"
