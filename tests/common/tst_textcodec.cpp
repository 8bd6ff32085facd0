#include "common/textcodec.h"

#include <QTest>

using namespace lyrova;

namespace {
const QString kChinese = QString::fromUtf8("月光下的歌");
// GBK bytes of 月光下的歌.
const QByteArray kGbk = QByteArray::fromHex("d4c2b9e2cfc2b5c4b8e8");
}  // namespace

class TestTextCodec : public QObject {
  Q_OBJECT

 private slots:
  void detection_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("encoding");
    QTest::newRow("ascii") << QByteArray("[00:01.00]hello") << int(TextEncoding::Ansi);
    QTest::newRow("empty") << QByteArray() << int(TextEncoding::Ansi);
    QTest::newRow("gbk") << kGbk << int(TextEncoding::Ansi);
    QTest::newRow("utf8") << kChinese.toUtf8() << int(TextEncoding::Utf8);
    QTest::newRow("bom") << QByteArray("\xEF\xBB\xBF[ti:x]") << int(TextEncoding::Utf8Bom);
    QTest::newRow("bom only") << QByteArray("\xEF\xBB\xBF") << int(TextEncoding::Utf8Bom);
    QTest::newRow("truncated utf8") << kChinese.toUtf8().left(4) << int(TextEncoding::Ansi);
    QTest::newRow("overlong") << QByteArray("\xC0\xAF") << int(TextEncoding::Ansi);
    QTest::newRow("surrogate") << QByteArray("\xED\xA0\x80") << int(TextEncoding::Ansi);
    QTest::newRow("above max") << QByteArray("\xF4\x90\x80\x80") << int(TextEncoding::Ansi);
    QTest::newRow("emoji") << QByteArray("\xF0\x9F\x98\x80") << int(TextEncoding::Utf8);
    QTest::newRow("utf-16 le mark") << QByteArray("\xFF\xFE\x00\x01", 4) << int(TextEncoding::Utf16Le);
    QTest::newRow("utf-16 be mark") << QByteArray("\xFE\xFF\x01\x00", 4) << int(TextEncoding::Utf16Be);
    QTest::newRow("binary") << QByteArray("\xFF\xFF\x00\x01", 4) << int(TextEncoding::Ansi);
  }
  void detection() {
    QFETCH(QByteArray, bytes);
    QFETCH(int, encoding);
    QCOMPARE(int(DetectEncoding(bytes)), encoding);
  }

  void decodesBothForms() {
    TextEncoding found;
    QCOMPARE(DecodeFile(kGbk, &found), kChinese);
    QCOMPARE(found, TextEncoding::Ansi);
    QCOMPARE(DecodeFile(kChinese.toUtf8(), &found), kChinese);
    QCOMPARE(found, TextEncoding::Utf8);
    QCOMPARE(DecodeFile(QByteArray(QByteArray("\xEF\xBB\xBF") + kChinese.toUtf8()), &found), kChinese);
    QCOMPARE(found, TextEncoding::Utf8Bom);
  }

  void encodesWithoutLoss() {
    // Characters outside GBK (an emoji, a rare CJK extension character) survive GB18030.
    const QString text = kChinese + QString::fromUtf8(" 😀 𠀀 é ♪");
    TextEncoding used;
    const QByteArray ansi = EncodeFile(text, TextEncoding::Ansi, &used);
    QCOMPARE(used, TextEncoding::Ansi);
    QVERIFY(ansi.startsWith(kGbk));
    QCOMPARE(DecodeFile(ansi), text);
    const QByteArray bom = EncodeFile(text, TextEncoding::Utf8Bom, &used);
    QVERIFY(bom.startsWith("\xEF\xBB\xBF"));
    QCOMPARE(DecodeFile(bom), text);
    QCOMPARE(EncodeFile(text, TextEncoding::Utf8), text.toUtf8());
    QVERIFY(!EncodeFile(text, TextEncoding::Ansi).contains('?'));
  }

  void markInsideTextIsKept() {
    // Only the file's own mark is dropped: a U+FEFF that starts a later line is text.
    const QString text = QString(QChar(0xFEFF)) + QStringLiteral("x");
    TextDecoder decoder(TextEncoding::Utf8);
    QCOMPARE(decoder.Decode(text.toUtf8()), text);
    QCOMPARE(DecodeFile(EncodeFile(text, TextEncoding::Utf8Bom)), text);
    for (const TextEncoding utf16 : {TextEncoding::Utf16Le, TextEncoding::Utf16Be}) {
      QCOMPARE(TextDecoder(utf16).Decode(TextEncoder(utf16).Encode(text)), text);
      QCOMPARE(DecodeFile(EncodeFile(text, utf16)), text);
    }
  }

  void invalidBytesNeverCrash() {
    QByteArray garbage;
    for (int i = 0; i < 4096; ++i) garbage.append(char((i * 37 + 11) & 0xFF));
    TextDecoder decoder(DetectEncoding(garbage));
    const QString text = decoder.Decode(garbage);
    QVERIFY(!text.isEmpty());
    QCOMPARE(TextDecoder(TextEncoding::Utf8).Decode(QByteArray("\xFF")).size(), 1);
  }

  void lineByLineWithOneDecoder() {
    TextDecoder decoder(TextEncoding::Ansi);
    // A lead byte left alone at the end of one line must not swallow the next line's start.
    QCOMPARE(decoder.Decode(QByteArray("\xD4")).size(), 1);
    QCOMPARE(decoder.Decode(kGbk), kChinese);
  }
};

QTEST_GUILESS_MAIN(TestTextCodec)
#include "tst_textcodec.moc"
