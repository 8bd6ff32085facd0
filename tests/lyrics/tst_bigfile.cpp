// A 100 MB lyrics file loads, and memory stays within a few times the file's size; so does a
// file of one very long line.
#include "lyrics/lrcreader.h"
#include "lyrics/textfiles.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#ifdef __GLIBC__
#include <malloc.h>
#endif

using namespace lyrova;

namespace {

// Peak resident memory of this process so far, in bytes (Linux), or -1.
qint64 PeakResidentBytes() {
  QFile status(QStringLiteral("/proc/self/status"));
  if (!status.open(QIODevice::ReadOnly)) return -1;
  for (const QByteArray& line : status.readAll().split('\n'))
    if (line.startsWith("VmHWM:")) return line.mid(6).trimmed().split(' ').first().toLongLong() * 1024;
  return -1;
}

// Starts a new peak at the memory resident now, after handing freed memory back to the system
// (kept, it would hold a later load without any growth). False where Linux cannot.
bool ResetPeakResident() {
#ifdef __GLIBC__
  malloc_trim(0);
#endif
  QFile clear(QStringLiteral("/proc/self/clear_refs"));
  return clear.open(QIODevice::WriteOnly | QIODevice::Unbuffered) && clear.write("5") == 1;
}

constexpr qint64 kFileBytes = qint64(100) * 1024 * 1024;

// Sanitizers keep freed memory in quarantine and pad every block, so peak memory means nothing.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool kSanitized = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kSanitized = true;
#else
constexpr bool kSanitized = false;
#endif
#else
constexpr bool kSanitized = false;
#endif

}  // namespace

class TestBigFile : public QObject {
  Q_OBJECT

 private:
  QTemporaryDir dir_;
  QString path_;
  qsizetype lines_ = 0;

 private slots:
  void initTestCase() {
    path_ = dir_.filePath(QStringLiteral("big.lrc"));
    QFile file(path_);
    QVERIFY(file.open(QIODevice::WriteOnly));
    const QByteArray text = QStringLiteral("月光照在小河上 moonlight on the river").toUtf8();
    QByteArray chunk;
    qint64 written = 0;
    for (qint64 i = 0; written < kFileBytes; ++i) {
      const qint64 cs = i % 600000;
      chunk += QString::asprintf("[%02lld:%02lld.%02lld]", cs / 6000, cs / 100 % 60, cs % 100)
                   .toLatin1();
      chunk += text;
      chunk += "\r\n";
      ++lines_;
      if (chunk.size() > (1 << 20)) {
        QCOMPARE(file.write(chunk), chunk.size());
        written += chunk.size();
        chunk.clear();
      }
    }
    QCOMPARE(file.write(chunk), chunk.size());
  }

  void loadsWithinMemory() {
    const qint64 before = PeakResidentBytes();
    LyricsDocument doc;
    QVERIFY(LoadLrc(doc, path_));
    QCOMPARE(doc.count(), lines_);
    QCOMPARE(doc.encoding, TextEncoding::Utf8);
    QCOMPARE(doc.lines.last().time, 5999990);
    QCOMPARE(doc.lines.first().text, QStringLiteral("月光照在小河上 moonlight on the river"));
    const qint64 after = PeakResidentBytes();
    if (before < 0 || after < 0) QSKIP("no /proc/self/status here");
    if (kSanitized) QSKIP("peak memory is not meaningful under a sanitizer");
    qInfo("peak memory while loading: %.1f MB for a %.1f MB file", (after - before) / 1048576.0,
          kFileBytes / 1048576.0);
    QVERIFY2(after - before < 4 * kFileBytes, "loading used more than four times the file size");
  }

  // One line of 24 MB of ASCII is 48 MB of text: loading holds the file and that text, no more;
  // loading it again in the Player first lets go of the lines it replaces.
  void longLineWithinMemory() {
    if (kSanitized) QSKIP("peak memory is not meaningful under a sanitizer");
    constexpr qint64 kLineBytes = qint64(24) * 1024 * 1024;
    const QString path = dir_.filePath(QStringLiteral("long.lrc"));
    {
      QFile file(path);
      QVERIFY(file.open(QIODevice::WriteOnly));
      QVERIFY(file.write("[00:01.00]" + QByteArray(kLineBytes, 'x')) > kLineBytes);
    }
    LyricsDocument doc;
    for (const qint64 allowed : {qint64(3.5 * kLineBytes), qint64(2 * kLineBytes)}) {
      if (!ResetPeakResident()) QSKIP("the peak memory cannot be reset here");
      const qint64 before = PeakResidentBytes();
      QVERIFY(LoadLrc(doc, path, ReaderMode::Player));
      const qint64 used = PeakResidentBytes() - before;
      QCOMPARE(doc.lines.last().text.size(), kLineBytes);
      qInfo("peak memory while loading one %.0f MB line: %.1f MB", kLineBytes / 1048576.0, used / 1048576.0);
      QVERIFY(used < allowed);
    }
  }

  void loadsAsText() {
    QString text;
    QVERIFY(LoadTextFile(path_, &text));
    QCOMPARE(text.count(u'\n'), lines_);
  }
};

QTEST_GUILESS_MAIN(TestBigFile)
#include "tst_bigfile.moc"
