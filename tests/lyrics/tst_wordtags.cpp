// Word timing: what the Player makes of "<mm:ss.xx>" tags inside a line, and that the Editor
// keeps them as typed.
#include "lyrics/lrcreader.h"
#include "lyrics/lrcwriter.h"
#include "lyrics/wordtags.h"

#include "lyricstestutil.h"

#include <QTemporaryDir>
#include <QTest>

using namespace lyrova;

namespace {

// The Player's lines after its empty first line: `time "text" [time "word", …]` joined by " | ".
QString DescribeWords(const LyricsDocument& doc) {
  QStringList parts;
  for (const LyricLine& line : doc.lines) {
    if (line.time == 0 && line.text.isEmpty()) continue;
    QString part = QString::number(line.time) + u" \"" + line.text + u'"';
    if (line.words >= 0) {
      const QList<LyricWord>& words = doc.words[line.words];
      QStringList described;
      for (qsizetype w = 0; w < words.size(); ++w)
        described.append(QString::number(line.time + words[w].time) + u" \"" +
                         WordText(line.text, words, w) + u'"');
      part += u" [" + described.join(u", ") + u']';
    }
    parts.append(part);
  }
  return parts.join(u" | ");
}

}  // namespace

class TestWordTags : public QObject {
  Q_OBJECT

 private slots:
  void playerWords_data() {
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("expected");
    QTest::newRow("hundredths") << QByteArray("[00:05.00]<00:05.00>逐<00:05.50>字")
                                << u"5000 \"逐字\" [5000 \"逐\", 5500 \"字\"]"_qs;
    QTest::newRow("milliseconds, blanks inside words")
        << QByteArray("[00:06.513]<00:06.513>I<00:06.582> see")
        << u"6513 \"I see\" [6513 \"I\", 6582 \" see\"]"_qs;
    QTest::newRow("text before the first tag starts with the line")
        << QByteArray("[00:01.00]前<00:01.50>后") << u"1000 \"前后\" [1000 \"前\", 1500 \"后\"]"_qs;
    QTest::newRow("a tag after the last word ends it")
        << QByteArray("[00:01.00]<00:01.00>a<00:02.25>")
        << u"1000 \"a\" [1000 \"a\", 2250 \"\"]"_qs;
    QTest::newRow("blanks left at the ends go")
        << QByteArray("[00:01.02] <00:02.50> Line 1 <01:10.00> ")
        << u"1020 \"Line 1\" [2500 \"Line 1\", 70000 \"\"]"_qs;
    QTest::newRow("a word before the line starts with it")
        << QByteArray("[00:10.00]<00:09.90>a<00:10.50>b")
        << u"10000 \"ab\" [10000 \"a\", 10500 \"b\"]"_qs;
    QTest::newRow("a word never starts before the one in front")
        << QByteArray("[00:10.00]<00:10.00>a<00:12.00>b<00:11.00>c")
        << u"10000 \"abc\" [10000 \"a\", 12000 \"b\", 12000 \"c\"]"_qs;
    QTest::newRow("invalid tags stay as typed")
        << QByteArray("[00:01.00]<3 a<02:83.375>b<00:01.0450>c<>d< 00:01>e<00:02")
        << u"1000 \"<3 a<02:83.375>b<00:01.0450>c<>d< 00:01>e<00:02\""_qs;
    QTest::newRow("brackets around a tag stay")
        << QByteArray("[00:01.00]<<00:02.00>>x<a<00:03>")
        << u"1000 \"<>x<a\" [1000 \"<\", 2000 \">x<a\", 3000 \"\"]"_qs;
    // Every line a tag gives has the words, shifted with it; the offset moves them all.
    QTest::newRow("several times and an offset")
        << QByteArray("[offset:500]\r\n[00:10.00][00:20.00]<00:10.00>a<00:10.30>b\r\n[00:15.00]c")
        << u"9500 \"ab\" [9500 \"a\", 9800 \"b\"] | 14500 \"c\" | 19500 \"ab\" [19500 \"a\", 19800 \"b\"]"_qs;
  }
  void playerWords() {
    QFETCH(QByteArray, file);
    QFETCH(QString, expected);
    LyricsDocument doc;
    QVERIFY(ReadLrcBytes(doc, file, ReaderMode::Player));
    QCOMPARE(DescribeWords(doc), expected);
    lyricstest::CheckInvariants(doc, ReaderMode::Player);
    QVERIFY(!QTest::currentTestFailed());

    // The Editor keeps the text as typed, and saves it back byte for byte.
    LyricsDocument editor;
    QVERIFY(ReadLrcBytes(editor, file, ReaderMode::Editor));
    QVERIFY(editor.words.isEmpty());
    for (const LyricLine& line : editor.lines) {
      QCOMPARE(line.words, -1);
      QVERIFY2(file.contains(line.text.toUtf8()), qPrintable(line.text));
    }
    QTemporaryDir dir;
    for (const bool compressed : {false, true}) {
      const QString path = dir.filePath(u"saved.lrc"_qs);
      QVERIFY(SaveLrc(editor, path, compressed));
      LyricsDocument again;
      QVERIFY(ReadLrcBytes(again, lyricstest::ReadFile(path), ReaderMode::Editor));
      // Times are written in hundredths; the texts come back exactly.
      QCOMPARE(again.count(), editor.count());
      for (qsizetype i = 0; i < again.count(); ++i) {
        QCOMPARE(again.lines[i].text, editor.lines[i].text);
        QVERIFY(qAbs(again.lines[i].time - editor.lines[i].time) < 10);
      }
    }
  }

  // Taken out of a plain text, the tags leave it untouched when none is valid.
  void textWithoutValidTags() {
    for (const QString& typed : {u"a < b > c"_qs, u"<<<"_qs, u"<99:59.999"_qs, u""_qs}) {
      QString text = typed;
      QList<LyricWord> words{LyricWord{7, 7}};
      QVERIFY(!TakeWordTags(text, 0, &words));
      QCOMPARE(text, typed);
      QCOMPARE(words, (QList<LyricWord>{LyricWord{7, 7}}));
    }
  }
};

QTEST_GUILESS_MAIN(TestWordTags)
#include "tst_wordtags.moc"
