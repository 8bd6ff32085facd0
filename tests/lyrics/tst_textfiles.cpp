#include "lyrics/textfiles.h"

#include "lyricstestutil.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

using namespace lyrova;
using lyricstest::ReadFile;
using lyricstest::WriteFile;

namespace {
const QByteArray kGbk = QByteArray::fromHex("d4c2b9e2cfc2b5c4b8e8");  // 月光下的歌
const QByteArray kBom("\xEF\xBB\xBF");
}  // namespace

class TestTextFiles : public QObject {
  Q_OBJECT

 private slots:
  void load_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("encoding");
    const int ansi = int(TextEncoding::Ansi);
    QTest::newRow("lines get CR LF") << QByteArray("a\nb") << u"a\r\nb\r\n"_qs << ansi;
    QTest::newRow("blank lines disappear") << QByteArray("a\r\n\r\n\n\nb\r\n") << u"a\r\nb\r\n"_qs
                                           << ansi;
    QTest::newRow("leading breaks keep one empty line")
        << QByteArray("\r\n\r\na") << u"\r\na\r\n"_qs << ansi;
    QTest::newRow("empty file") << QByteArray() << QString() << ansi;
    QTest::newRow("only breaks") << QByteArray("\r\n\n") << QString() << ansi;
    QTest::newRow("nul breaks") << QByteArray("a\0b", 3) << u"a\r\nb\r\n"_qs << ansi;
    QTest::newRow("gbk") << QByteArray("[ti:" + kGbk + "]\r\n") << u"[ti:月光下的歌]\r\n"_qs << ansi;
    QTest::newRow("utf8") << u"[ti:月光]"_qs.toUtf8() << u"[ti:月光]\r\n"_qs << int(TextEncoding::Utf8);
    QTest::newRow("utf8 mark dropped") << QByteArray(kBom + u"月光\n"_qs.toUtf8())
                                       << u"月光\r\n"_qs << int(TextEncoding::Utf8Bom);
  }
  void load() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    QFETCH(int, encoding);
    QTemporaryDir dir;
    const QString path = dir.filePath(u"in.txt"_qs);
    QVERIFY(WriteFile(path, bytes));
    QString got = u"stale"_qs;
    QString message = u"stale"_qs;
    TextEncoding found = TextEncoding::Utf8;
    QVERIFY(LoadTextFile(path, &got, &message, &found));
    QCOMPARE(got, text);
    QVERIFY(message.isEmpty());
    QCOMPARE(int(found), encoding);
  }

  void save_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("encoding");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("CR LF appended") << u"a\r\nb"_qs << int(TextEncoding::Ansi)
                                    << QByteArray("a\r\nb\r\n");
    QTest::newRow("empty text") << QString() << int(TextEncoding::Ansi) << QByteArray("\r\n");
    QTest::newRow("ansi is gbk") << u"月光下的歌"_qs << int(TextEncoding::Ansi)
                                 << QByteArray(kGbk + "\r\n");
    QTest::newRow("utf8") << u"月"_qs << int(TextEncoding::Utf8) << QByteArray("\xe6\x9c\x88\r\n");
    QTest::newRow("utf8 with mark") << u"月"_qs << int(TextEncoding::Utf8Bom)
                                    << QByteArray(kBom + "\xe6\x9c\x88\r\n");
  }
  void save() {
    QFETCH(QString, text);
    QFETCH(int, encoding);
    QFETCH(QByteArray, bytes);
    QTemporaryDir dir;
    const QString path = dir.filePath(u"out.txt"_qs);
    QVERIFY(WriteFile(path, QByteArray(1000, 'z')));
    QString message = u"stale"_qs;
    QVERIFY(SaveTextFile(path, text, TextEncoding(encoding), &message));
    QVERIFY(message.isEmpty());
    QCOMPARE(ReadFile(path), bytes);
  }

  void saveThenLoadGivesTheLinesBack() {
    QTemporaryDir dir;
    const QString path = dir.filePath(u"x.txt"_qs);
    const QString text = u"[ti:月光]\r\n[00:01.00]第一句\r\n[00:02.00]😀\r\n"_qs;
    QVERIFY(SaveTextFile(path, text));
    QString back;
    TextEncoding found = TextEncoding::Utf8;
    QVERIFY(LoadTextFile(path, &back, nullptr, &found));
    QCOMPARE(back, text);  // the extra CR LF written after the text is a blank line
    QCOMPARE(found, TextEncoding::Ansi);
  }

  void loadFailures_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("description");
    QTest::newRow("missing") << u"missing.txt"_qs << u"No such file or directory"_qs;
    QTest::newRow("folder") << u"folder"_qs << u"Is a directory"_qs;
  }
  void loadFailures() {
    QFETCH(QString, name);
    QFETCH(QString, description);
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir(u"folder"_qs));
    QString text = u"stale"_qs;
    QString message;
    QVERIFY(!LoadTextFile(dir.filePath(name), &text, &message));
    QCOMPARE(text, QString());
    QCOMPARE(message, u"临时文件不能载入,"_qs + description);
  }

  void saveFailures_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("description");
    QTest::newRow("missing folder") << u"no/such.txt"_qs << u"No such file or directory"_qs;
    QTest::newRow("folder") << u"folder"_qs << u"Is a directory"_qs;
  }
  void saveFailures() {
    QFETCH(QString, name);
    QFETCH(QString, description);
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir(u"folder"_qs));
    const QString path = dir.filePath(name);
    QString message;
    QVERIFY(!SaveTextFile(path, u"x"_qs, TextEncoding::Ansi, &message));
    QCOMPARE(message, u"不能保存或建立文件 \""_qs + path + u"\","_qs + description);
    QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
             QStringList{u"folder"_qs});
  }
};

QTEST_GUILESS_MAIN(TestTextFiles)
#include "tst_textfiles.moc"
