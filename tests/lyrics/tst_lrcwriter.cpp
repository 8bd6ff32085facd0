#include "lyrics/lrcreader.h"
#include "lyrics/lrcwriter.h"

#include "lyricstestutil.h"
#include "tests/common/filesizelimit.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>

using namespace lyrova;
using lyricstest::Doc;
using lyricstest::ReadFile;
using lyricstest::WriteFile;

namespace {

LyricsDocument WithInfo(LyricsDocument doc, const QString& title, const QString& artist,
                        const QString& album, const QString& by) {
  doc.title = title;
  doc.artist = artist;
  doc.album = album;
  doc.by = by;
  return doc;
}

QString Fixture(const QString& name) {
  return QStringLiteral(LYROVA_TEST_DATA_DIR "/") + name;
}

}  // namespace

class TestLrcWriter : public QObject {
  Q_OBJECT

 private slots:
  void text_data() {
    QTest::addColumn<LyricsDocument>("doc");
    QTest::addColumn<bool>("compressed");
    QTest::addColumn<QString>("text");
    QTest::newRow("empty document") << LyricsDocument() << false << QString();
    QTest::newRow("info fields, blank ones left out, written untrimmed")
        << WithInfo(Doc({{1000, u"a"_qs, true}}), u" My Song"_qs, u"   "_qs, u"Al"_qs, QString())
        << false << u"[ti: My Song]\r\n[al:Al]\r\n[00:01.00]a\r\n"_qs;
    QTest::newRow("other header tags verbatim after the known ones and the offset")
        << [] {
             LyricsDocument d = WithInfo(Doc({{-100, u"a"_qs, true}}), u"T"_qs, {}, {}, {});
             d.tags = {{u"kuwo"_qs, u"1"_qs, u"[kuwo:1]"_qs}, {u"Length"_qs, u" 3:20"_qs, u" [Length: 3:20] "_qs}};
             return d;
           }()
        << true << u"[ti:T]\r\n[offset:100]\r\n[kuwo:1]\r\n [Length: 3:20] \r\n[00:00.00]a\r\n"_qs;
    QTest::newRow("read offset is never written")
        << [] { LyricsDocument d = Doc({{500, u"a"_qs, true}}); d.offset = 500; return d; }()
        << false << u"[00:00.50]a\r\n"_qs;
    QTest::newRow("negative times give an offset")
        << Doc({{-1500, u"a"_qs, true}, {1000, u"b"_qs, true}}) << false
        << u"[offset:1500]\r\n[00:00.00]a\r\n[00:02.50]b\r\n"_qs;
    QTest::newRow("untimed lines count for the offset")
        << Doc({{-500, u"x"_qs, false}, {1000, u"b"_qs, true}}) << false
        << u"[offset:500]\r\nx\r\n[00:01.50]b\r\n"_qs;
    QTest::newRow("sub-hundredths truncated")
        << Doc({{1239, u"a"_qs, true}}) << false << u"[00:01.23]a\r\n"_qs;
    QTest::newRow("milliseconds truncated, not rounded")
        << Doc({{12345, u"a"_qs, true}, {62999, u"b"_qs, true}}) << true
        << u"[00:12.34]a\r\n[01:02.99]b\r\n"_qs;
    QTest::newRow("minutes run up to 99")
        << Doc({{4500000, u"a"_qs, true}, {5999990, u"b"_qs, true}}) << false
        << u"[75:00.00]a\r\n[99:59.99]b\r\n"_qs;
    QTest::newRow("100 minutes and more untagged")
        << Doc({{5999999, u"a"_qs, true}, {6000000, u"b"_qs, true}}) << false
        << u"[99:59.99]a\r\nb\r\n"_qs;
    QTest::newRow("shift pushes a line past 100 minutes")
        << Doc({{-10, u"a"_qs, true}, {5999995, u"b"_qs, true}}) << false
        << u"[offset:10]\r\n[00:00.00]a\r\nb\r\n"_qs;
    QTest::newRow("times below the Editor's range are written at its floor")
        << Doc({{std::numeric_limits<qint32>::min(), u"a"_qs, true}, {-5000000, u"b"_qs, true}})
        << false << u"[offset:5999999]\r\n[00:00.00]a\r\n[16:39.99]b\r\n"_qs;
    QTest::newRow("untimed lines stay in place, expanded")
        << Doc({{1000, u"a"_qs, true}, {0, u"plain"_qs, false}, {3000, u"b"_qs, true}}) << false
        << u"[00:01.00]a\r\nplain\r\n[00:03.00]b\r\n"_qs;
    QTest::newRow("compressed folds equal texts")
        << Doc({{1000, u"A"_qs, true}, {2000, u"B"_qs, true}, {3000, u"A"_qs, true}}) << true
        << u"[00:01.00][00:03.00]A\r\n[00:02.00]B\r\n"_qs;
    QTest::newRow("compressed keeps list order of tags")
        << Doc({{3000, u"A"_qs, true}, {1000, u"A"_qs, true}, {2000, u"A"_qs, true}}) << true
        << u"[00:03.00][00:01.00][00:02.00]A\r\n"_qs;
    QTest::newRow("compressed is case-sensitive")
        << Doc({{1000, u"a"_qs, true}, {2000, u"A"_qs, true}}) << true
        << u"[00:01.00]a\r\n[00:02.00]A\r\n"_qs;
    QTest::newRow("compressed: untimed lines stand alone at their places")
        << Doc({{1000, u"A"_qs, true}, {0, u"A"_qs, false}, {0, u"x"_qs, false},
                {3000, u"A"_qs, true}})
        << true << u"[00:01.00][00:03.00]A\r\nA\r\nx\r\n"_qs;
    QTest::newRow("compressed: untagged long line not folded")
        << Doc({{1000, u"A"_qs, true}, {6000000, u"A"_qs, true}}) << true
        << u"[00:01.00]A\r\nA\r\n"_qs;
    QTest::newRow("compressed with an offset")
        << Doc({{-1000, u"A"_qs, true}, {0, u"B"_qs, true}, {1000, u"A"_qs, true}}) << true
        << u"[offset:1000]\r\n[00:00.00][00:02.00]A\r\n[00:01.00]B\r\n"_qs;
    QTest::newRow("line breaks inside texts become blanks")
        << WithInfo(Doc({{1000, u"a\r\n[00:05.00]b"_qs, true}, {0, QStringLiteral("c\0d"), false}}),
                    u"t\nx"_qs, {}, {}, {})
        << false << u"[ti:t x]\r\n[00:01.00]a  [00:05.00]b\r\nc d\r\n"_qs;
  }
  void text() {
    QFETCH(LyricsDocument, doc);
    QFETCH(bool, compressed);
    QFETCH(QString, text);
    QCOMPARE(LrcText(doc, compressed), text);
  }

  // A file with millisecond tags is written in hundredths, each time cut down to its hundredth.
  void millisecondFilesSavedInHundredths_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("compressed");
    QTest::addColumn<QByteArray>("written");
    QTest::newRow("expanded") << QByteArray("[00:12.345]a\r\n[00:12.349]b\r\n[99:59.999]c")
                              << false
                              << QByteArray("[00:12.34]a\r\n[00:12.34]b\r\n[99:59.99]c\r\n");
    QTest::newRow("compressed, tenths")
        << QByteArray("[00:01.5][00:03.045]A\r\n[00:02.009]B") << true
        << QByteArray("[00:01.50][00:03.04]A\r\n[00:02.00]B\r\n");
    QTest::newRow("negative offset adds milliseconds")
        << QByteArray("[offset:-7]\r\n[00:00.995]a") << false << QByteArray("[00:01.00]a\r\n");
    QTest::newRow("offset below zero is written back")
        << QByteArray("[offset:5]\r\n[00:00.003]a\r\n[00:01.999]b") << false
        << QByteArray("[offset:2]\r\n[00:00.00]a\r\n[00:01.99]b\r\n");
  }
  void millisecondFilesSavedInHundredths() {
    QFETCH(QByteArray, bytes);
    QFETCH(bool, compressed);
    QFETCH(QByteArray, written);
    LyricsDocument doc;
    QVERIFY(ReadLrcBytes(doc, bytes, ReaderMode::Editor));
    QCOMPARE(LrcFileBytes(doc, compressed), written);
  }

  // A file already in the writer's own layout is written back byte for byte, in its encoding,
  // and reads back into the same document.
  void roundTrip_data() {
    QTest::addColumn<QString>("fixture");
    QTest::addColumn<bool>("compressed");
    QTest::addColumn<int>("encoding");
    for (const auto& [suffix, encoding] :
         {std::pair{"gbk", TextEncoding::Ansi}, std::pair{"utf8", TextEncoding::Utf8},
          std::pair{"bom", TextEncoding::Utf8Bom}}) {
      for (const char* layout : {"expanded", "compressed", "negative"}) {
        const QString name = QStringLiteral("canonical_%1_%2.lrc")
                                 .arg(QLatin1StringView(layout), QLatin1StringView(suffix));
        QTest::newRow(qPrintable(name))
            << name << (qstrcmp(layout, "compressed") == 0) << int(encoding);
      }
    }
  }
  void roundTrip() {
    QFETCH(QString, fixture);
    QFETCH(bool, compressed);
    QFETCH(int, encoding);
    LyricsDocument doc;
    QVERIFY(LoadLrc(doc, Fixture(fixture)));
    QCOMPARE(int(doc.encoding), encoding);
    QVERIFY(doc.count() >= 4);
    QTemporaryDir dir;
    const QString out = dir.filePath(u"out.lrc"_qs);
    QString message = u"stale"_qs;
    TextEncoding used = TextEncoding::Ansi;
    QVERIFY(SaveLrc(doc, out, compressed, &message, &used));
    QVERIFY(message.isEmpty());
    QCOMPARE(int(used), encoding);
    QCOMPARE(ReadFile(out), ReadFile(Fixture(fixture)));
    LyricsDocument again;
    QVERIFY(LoadLrc(again, out));
    QCOMPARE(again, doc);

    // The other layout reads back into the same lines too.
    QVERIFY(SaveLrc(doc, out, !compressed));
    QVERIFY(LoadLrc(again, out));
    QCOMPARE(again.lines, doc.lines);
    QCOMPARE(int(again.encoding), encoding);
  }

  void newDocumentIsSavedInAnsi() {
    LyricsDocument doc = Doc({{1000, u"月光下的歌"_qs, true}});
    QTemporaryDir dir;
    const QString out = dir.filePath(u"new.lrc"_qs);
    QVERIFY(SaveLrc(doc, out, false));
    QCOMPARE(ReadFile(out), QByteArray("[00:01.00]" + QByteArray::fromHex("d4c2b9e2cfc2b5c4b8e8") +
                                       "\r\n"));
  }

  void saveReplacesTheWholeFile() {
    QTemporaryDir dir;
    const QString out = dir.filePath(u"x.lrc"_qs);
    QVERIFY(WriteFile(out, QByteArray(5000, 'z')));
    QVERIFY(SaveLrc(Doc({{0, u"a"_qs, true}}), out, false));
    QCOMPARE(ReadFile(out), QByteArray("[00:00.00]a\r\n"));
  }

  void failedSaves_data() {
    QTest::addColumn<QString>("target");  // relative to a fresh folder
    QTest::addColumn<QString>("description");
    QTest::newRow("missing folder") << u"missing/x.lrc"_qs << u"No such file or directory"_qs;
    QTest::newRow("target is a folder") << u"folder"_qs << u"Is a directory"_qs;
  }
  void failedSaves() {
    QFETCH(QString, target);
    QFETCH(QString, description);
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir(u"folder"_qs));
    QString message;
    QVERIFY(!SaveLrc(Doc({{0, u"a"_qs, true}}), dir.filePath(target), false, &message));
    QCOMPARE(message, u"保存歌词时遇到错误,"_qs + description);
    QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
             QStringList{u"folder"_qs});
  }

  // UTF-16 files (with their byte-order mark) read in both readers and are written back in the
  // same encoding, byte for byte.
  void utf16StaysUtf16_data() {
    QTest::addColumn<bool>("bigEndian");
    QTest::newRow("little endian") << false;
    QTest::newRow("big endian") << true;
  }
  void utf16StaysUtf16() {
    QFETCH(bool, bigEndian);
    QStringEncoder encoder(bigEndian ? QStringConverter::Utf16BE : QStringConverter::Utf16LE);
    const QByteArray bytes = (bigEndian ? QByteArray("\xFE\xFF") : QByteArray("\xFF\xFE")) +
                             QByteArray(encoder.encode(u"[ti:月光]\r\n[00:01.00]一行\r\n[00:02.50]二\r\n"_qs));
    LyricsDocument doc;
    QVERIFY(ReadLrcBytes(doc, bytes, ReaderMode::Editor));
    QCOMPARE(doc.title, u"月光"_qs);
    QCOMPARE(lyricstest::Describe(doc), u"1000 \"一行\" | 2500 \"二\""_qs);
    QCOMPARE(doc.encoding, bigEndian ? TextEncoding::Utf16Be : TextEncoding::Utf16Le);
    QCOMPARE(LrcFileBytes(doc, false), bytes);
    QVERIFY(ReadLrcBytes(doc, bytes, ReaderMode::Player));
    QCOMPARE(lyricstest::Describe(doc, false), u"0 \"\" | 1000 \"一行\" | 2500 \"二\""_qs);
  }

  // Saving what was read from a saved file gives the same bytes, and an untimed line keeps the
  // timed line before it, in both layouts, for documents of repeated texts, equal times and
  // untimed lines in every arrangement.
  void savesAreStable() {
    QRandomGenerator random(20261208);
    const QStringList texts{u"A"_qs, u"B"_qs, u"啦啦"_qs, QString()};
    for (int round = 0; round < 3000; ++round) {
      QByteArray file;
      const int lines = 1 + int(random.bounded(8));
      for (int i = 0; i < lines; ++i) {
        const quint32 kind = random.bounded(4);
        if (kind == 0) {
          file += "note " + QByteArray::number(i) + "\r\n";
          continue;
        }
        for (quint32 t = 0; t < kind; ++t) file += "[00:0" + QByteArray::number(random.bounded(4)) + ".00]";
        file += texts[int(random.bounded(texts.size()))].toUtf8() + "\r\n";
      }
      LyricsDocument doc;
      QVERIFY(ReadLrcBytes(doc, file, ReaderMode::Editor));
      for (const bool compressed : {false, true}) {
        const QByteArray first = LrcFileBytes(doc, compressed);
        LyricsDocument again;
        QVERIFY(ReadLrcBytes(again, first, ReaderMode::Editor));
        QVERIFY2(LrcFileBytes(again, compressed) == first, file.constData());
        if (!compressed) QVERIFY2(again == doc, file.constData());
        // Each untimed line follows the same line as before.
        QStringList before, after;
        for (qsizetype i = 1; i < doc.count(); ++i)
          if (!doc.lines[i].timed) before.append(lyricstest::Describe(Doc({doc.lines[i - 1], doc.lines[i]})));
        for (qsizetype i = 1; i < again.count(); ++i)
          if (!again.lines[i].timed) after.append(lyricstest::Describe(Doc({again.lines[i - 1], again.lines[i]})));
        QVERIFY2(before == after, file.constData());
      }
    }
  }

  // A write that fails half-way (here: the file-size limit) must leave the old file alone and say
  // why. Below Qt's 16 KB write buffer the failure only shows at the flush.
  void failedWriteKeepsTheOldFile_data() {
    QTest::addColumn<int>("lines");
    QTest::newRow("small file") << 300;
    QTest::newRow("large file") << 2000;
  }
  void failedWriteKeepsTheOldFile() {
    QFETCH(int, lines);
    QTemporaryDir dir;
    const QString out = dir.filePath(u"song.lrc"_qs);
    const QByteArray old("[00:01.00]old\r\n");
    QVERIFY(WriteFile(out, old));
    LyricsDocument doc;
    for (int i = 0; i < lines; ++i) doc.lines.append(LyricLine{i * 10, u"a long line of text"_qs, true});

    QString message;
    {
      const testing::FileSizeLimit limit(4096);
      QVERIFY(limit.Active());
      QVERIFY(!SaveLrc(doc, out, false, &message));
    }
    QCOMPARE(message, u"保存歌词时遇到错误,磁盘空间不足，无法保存"_qs);
    QCOMPARE(ReadFile(out), old);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{u"song.lrc"_qs});
  }

  void readOnlyFolderKeepsTheOldFile() {
    QTemporaryDir dir;
    const QString sub = dir.filePath(u"ro"_qs);
    QVERIFY(QDir().mkdir(sub));
    const QString out = sub + u"/song.lrc"_qs;
    const QByteArray old("[00:01.00]old\r\n");
    QVERIFY(WriteFile(out, old));
    QVERIFY(QFile::setPermissions(sub, QFile::ReadOwner | QFile::ExeOwner));
    QString message;
    const bool ok = SaveLrc(Doc({{0, u"new"_qs, true}}), out, false, &message);
    QFile::setPermissions(sub, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    if (ok) QSKIP("this user may write into read-only folders (root)");
    QVERIFY2(message.startsWith(u"保存歌词时遇到错误,"_qs), qPrintable(message));
    QCOMPARE(ReadFile(out), old);
  }
};

QTEST_GUILESS_MAIN(TestLrcWriter)
#include "tst_lrcwriter.moc"
