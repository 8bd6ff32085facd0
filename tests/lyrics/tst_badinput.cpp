// Files that no lyrics editor wrote: every reader must come back with a result, never crash,
// and keep the document's invariants.
#include "lyrics/lrcreader.h"
#include "lyrics/lrcwriter.h"
#include "lyrics/textfiles.h"

#include "lyricstestutil.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

using namespace lyrova;
using lyricstest::CheckInvariants;

namespace {

QByteArray RandomBytes(qsizetype size, quint32 seed) {
  QRandomGenerator random(seed);
  QByteArray bytes(size, Qt::Uninitialized);
  for (char& c : bytes) c = char(random.bounded(256));
  return bytes;
}

// Random pieces of tag syntax, so that the tag scanner meets every odd combination.
QByteArray TagSoup(qsizetype size, quint32 seed) {
  static const char* const pieces[] = {"[", "]", ":", ".", " ", "\t", "0", "9", "99", "60", "-",
                                       "ti", "offset", "e9", "\r\n", "\xd4\xc2", "\xe6\x9c\x88",
                                       "\xff", "\0", "[00:01.00]", "[offset:-1]", "+", "045",
                                       "1234", "[00:01.5]", "[00:01.999]", "OFFSET", "Ti", "<", ">",
                                       "<00:02.00>", "<00:00.5>", "<00:01.0450>", "<<"};
  QRandomGenerator random(seed);
  QByteArray bytes;
  bytes.reserve(size + 16);
  while (bytes.size() < size) {
    const char* piece = pieces[random.bounded(int(std::size(pieces)))];
    bytes.append(piece, *piece ? qsizetype(qstrlen(piece)) : 1);
  }
  return bytes;
}

QByteArray Repeated(const QByteArray& unit, qsizetype size) {
  QByteArray bytes;
  bytes.reserve(size + unit.size());
  while (bytes.size() < size) bytes.append(unit);
  return bytes;
}

}  // namespace

class TestBadInput : public QObject {
  Q_OBJECT

 private:
  QTemporaryDir dir_;

 private slots:
  void readable_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<qsizetype>("editorLines");  // -1: only the invariants are checked
    QTest::newRow("empty") << QByteArray() << qsizetype(0);
    QTest::newRow("binary garbage") << RandomBytes(1 << 20, 1) << qsizetype(-1);
    QTest::newRow("tag soup") << TagSoup(1 << 20, 2) << qsizetype(-1);
    QTest::newRow("no line break, plain text") << QByteArray(4 << 20, 'x') << qsizetype(1);
    QTest::newRow("no line break, 200000 tags") << Repeated("[00:01.00]", 2000000)
                                                << qsizetype(200000);
    QTest::newRow("no line break, 200000 millisecond tags") << Repeated("[00:01.045]", 2200000)
                                                            << qsizetype(200000);
    QTest::newRow("no line break, tags of four-digit fractions")
        << Repeated("[00:01.0450]", 2400000) << qsizetype(1);
    QTest::newRow("a fraction of a megabyte of digits")
        << QByteArray("[00:01." + QByteArray(1 << 20, '5') + "]x\r\n[00:02.5]y") << qsizetype(2);
    QTest::newRow("no line break, unterminated tags") << Repeated("[ [00:01", 2000000)
                                                      << qsizetype(1);
    // 50 MB of word tags on one line: taken out in one pass, every other form kept.
    QTest::newRow("a line of 50 MB of word tags")
        << QByteArray("[00:05.00]" + Repeated("<00:05.00>\xe5\xad\x97", 50 << 20)) << qsizetype(1);
    QTest::newRow("a line of 20 MB of broken word tags")
        << QByteArray("[00:05.00]" + Repeated("<00:05.00<<00:0>x<60:00.0000>", 20 << 20))
        << qsizetype(1);
    QTest::newRow("invalid byte sequences")
        << QByteArray("[ti:\xff\xfe\x80]\r\n[00:01.00]\x81\r\n[00:02.00]\xe6\x9c\r\n\xc0\xaf")
        << qsizetype(3);
    QTest::newRow("utf-16 with mark") << QByteArray::fromHex("fffe5b0030003a00300031005d006100")
                                      << qsizetype(-1);
    QTest::newRow("breaks only") << QByteArray(1 << 20, '\n') << qsizetype(0);
    QTest::newRow("nul bytes only") << QByteArray(1 << 20, '\0') << qsizetype(0);
  }
  void readable() {
    QFETCH(QByteArray, bytes);
    QFETCH(qsizetype, editorLines);
    const QString path = dir_.filePath(QString::fromLatin1(QTest::currentDataTag()));
    QVERIFY(lyricstest::WriteFile(path, bytes));
    for (const ReaderMode mode : {ReaderMode::Editor, ReaderMode::Player}) {
      LyricsDocument doc;
      QString message;
      QVERIFY(LoadLrc(doc, path, mode, &message));
      QVERIFY(message.isEmpty());
      CheckInvariants(doc, mode);
      if (mode == ReaderMode::Editor && editorLines >= 0) QCOMPARE(doc.count(), editorLines);
      // Whatever was read can be written and read again.
      const QString out = path + u".out"_qs;
      QVERIFY(SaveLrc(doc, out, mode == ReaderMode::Player));
      LyricsDocument again;
      QVERIFY(LoadLrc(again, out, mode));
      CheckInvariants(again, mode);
    }
    QString text;
    QVERIFY(LoadTextFile(path, &text));
    QVERIFY(text.size() <= 2 * bytes.size() + 2);
  }

  void unreadable_data() {
    QTest::addColumn<QString>("path");
    QTest::newRow("missing") << dir_.filePath(u"missing.lrc"_qs);
    QTest::newRow("folder") << dir_.path();
    QTest::newRow("no permission") << dir_.filePath(u"locked.lrc"_qs);
    QTest::newRow("empty path") << QString();
    QTest::newRow("endless device") << u"/dev/zero"_qs;
  }
  void unreadable() {
    QFETCH(QString, path);
    if (QTest::currentDataTag() == QByteArrayView("no permission")) {
      QVERIFY(lyricstest::WriteFile(path, "[00:01.00]secret"));
      QVERIFY(QFile::setPermissions(path, QFileDevice::Permissions()));
      QFile probe(path);
      if (probe.open(QIODevice::ReadOnly)) QSKIP("this user reads files without permission (root)");
    }
    LyricsDocument doc;
    doc.lines.append(LyricLine{5, u"kept"_qs, true});
    const LyricsDocument before = doc;
    QString message;
    QVERIFY(!LoadLrc(doc, path, ReaderMode::Editor, &message));
    QVERIFY2(message.startsWith(u"装入歌词时遇到错误,"_qs), qPrintable(message));
    QVERIFY(message.size() > u"装入歌词时遇到错误,"_qs.size());
    QCOMPARE(doc, before);
    QVERIFY(!LoadLrc(doc, path, ReaderMode::Player, &message));
    QVERIFY(message.isEmpty());
    QCOMPARE(doc.count(), 0);
    QString text = u"stale"_qs;
    QVERIFY(!LoadTextFile(path, &text, &message));
    QVERIFY2(message.startsWith(u"临时文件不能载入,"_qs), qPrintable(message));
    QVERIFY(text.isEmpty());
  }
};

QTEST_GUILESS_MAIN(TestBadInput)
#include "tst_badinput.moc"
