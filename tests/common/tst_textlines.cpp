#include "common/textlines.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace lyrova;

namespace {
QByteArray ReadAll(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
bool WriteAll(const QString& path, const QByteArray& bytes) {
  QFile f(path);
  return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}
}  // namespace

class TestTextLines : public QObject {
  Q_OBJECT

 private slots:
  void splitting_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("crlf") << QByteArray("a\r\nb\r\n") << QStringList{u"a"_qs, u"b"_qs};
    QTest::newRow("no final break") << QByteArray("a\nb") << QStringList{u"a"_qs, u"b"_qs};
    QTest::newRow("blank lines vanish") << QByteArray("a\r\n\r\n\n\rb") << QStringList{u"a"_qs, u"b"_qs};
    QTest::newRow("nul breaks") << QByteArray("a\0b", 3) << QStringList{u"a"_qs, u"b"_qs};
    QTest::newRow("leading break") << QByteArray("\r\n\r\na") << QStringList{QString(), u"a"_qs};
    QTest::newRow("empty") << QByteArray() << QStringList{};
    QTest::newRow("only breaks") << QByteArray("\r\n") << QStringList{QString()};
    QTest::newRow("blanks kept") << QByteArray(" a \n") << QStringList{u" a "_qs};
  }
  void splitting() {
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, lines);
    QCOMPARE(SplitTextLines(bytes, TextEncoding::Ansi), lines);
  }

  void roundTripKeepsEncoding() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("LrcDir.ini"));
    const QStringList lines{QStringLiteral("/音乐/歌词"), QStringLiteral("/home/u/My Lyrics")};
    QVERIFY(WriteTextLines(path, lines));
    QCOMPARE(ReadAll(path), QByteArray::fromHex("2fd2f4c0d62fb8e8b4ca0d0a") +
                                QByteArray("/home/u/My Lyrics\r\n"));
    TextEncoding found;
    QCOMPARE(ReadTextLines(path, &found).value(), lines);
    QCOMPARE(found, TextEncoding::Ansi);
    QVERIFY(WriteTextLines(path, lines, TextEncoding::Utf8Bom));
    QVERIFY(ReadAll(path).startsWith("\xEF\xBB\xBF/"));
    QCOMPARE(ReadTextLines(path, &found).value(), lines);
    QCOMPARE(found, TextEncoding::Utf8Bom);
  }

  void missingAndFailedWrites() {
    QTemporaryDir dir;
    QVERIFY(!ReadTextLines(dir.filePath(QStringLiteral("missing"))).has_value());
    QVERIFY(!ReadTextLines(dir.path()).has_value());
    QVERIFY(!ReadTextLines(QString()).has_value());
    const QString path = dir.filePath(QStringLiteral("list.ini"));
    QVERIFY(WriteAll(path, "old\r\n"));
    QString error;
    QVERIFY(!WriteTextLines(dir.filePath(QStringLiteral("no/such/list.ini")), {u"x"_qs},
                            TextEncoding::Ansi, &error));
    QVERIFY(!error.isEmpty());
    // Writing over a folder fails and leaves it alone.
    QVERIFY(!WriteTextLines(dir.path(), {u"x"_qs}));
    QCOMPARE(ReadAll(path), QByteArray("old\r\n"));
  }
};

QTEST_GUILESS_MAIN(TestTextLines)
#include "tst_textlines.moc"
