#include "common/prompts/namefilters.h"

#include <QRegularExpression>
#include <QTest>

using namespace lyrova;
using namespace Qt::StringLiterals;

class TestNameFilters : public QObject {
  Q_OBJECT

 private slots:
  void toQtNameFilters_data() {
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("player audio")
        << QStringLiteral("全部音频|*.ac3;*.dts;*.mp3;*.mpa;*.mp2;*.m1a;*.m2a;*.mid;*.midi;*.rmi;*.aac;*.wma;*.ogg;*.wav"
                          "|MP3 格式音频|*.mp3|MPEG 音频文件|*.mpa;*.mp2;*.m1a;*.m2a"
                          "|Windows Media 音频文件|*.wma|WAV 音频文件|*.wav"
                          "|Ogg Vorbis 音频文件|*.ogg|MPEG4 音频文件|*.aac"
                          "|DVD 音频文件|*.ac3;*.dts|MIDI 文件|*.mid;*.midi;*.rmi|所有文件|*.*")
        << QStringList{
               QStringLiteral("全部音频 (*.ac3 *.dts *.mp3 *.mpa *.mp2 *.m1a *.m2a *.mid *.midi *.rmi *.aac *.wma *.ogg *.wav)"),
               QStringLiteral("MP3 格式音频 (*.mp3)"),
               QStringLiteral("MPEG 音频文件 (*.mpa *.mp2 *.m1a *.m2a)"),
               QStringLiteral("Windows Media 音频文件 (*.wma)"),
               QStringLiteral("WAV 音频文件 (*.wav)"),
               QStringLiteral("Ogg Vorbis 音频文件 (*.ogg)"),
               QStringLiteral("MPEG4 音频文件 (*.aac)"),
               QStringLiteral("DVD 音频文件 (*.ac3 *.dts)"),
               QStringLiteral("MIDI 文件 (*.mid *.midi *.rmi)"),
               QStringLiteral("所有文件 (*)")};
    QTest::newRow("lyrics browse") << QStringLiteral("歌词文件(*.lrc)|*.lrc")
                                   << QStringList{QStringLiteral("歌词文件(*.lrc) (*.lrc)")};
    QTest::newRow("all files") << "*.*|*.*" << QStringList{u"*.* (*)"_s};
    QTest::newRow("empty") << "" << QStringList{};
    QTest::newRow("description only") << "Lyrics" << QStringList{};
    QTest::newRow("trailing bar") << "A|*.a|" << QStringList{u"A (*.a)"_s};
    QTest::newRow("odd description dropped") << "A|*.a|B" << QStringList{u"A (*.a)"_s};
    QTest::newRow("empty element ends the list") << "A|*.a||B|*.b" << QStringList{u"A (*.a)"_s};
    QTest::newRow("empty description ends the list") << "|*.a|B|*.b" << QStringList{};
    QTest::newRow("blanks and empty patterns") << "T| *.txt ; ;*.TXT;" << QStringList{u"T (*.txt *.TXT)"_s};
    QTest::newRow("no pattern in a pair") << "N|;|T|*.txt" << QStringList{u"T (*.txt)"_s};
    QTest::newRow("star stays") << "All|*" << QStringList{u"All (*)"_s};
  }
  void toQtNameFilters() {
    QFETCH(QString, filter);
    QFETCH(QStringList, expected);
    QCOMPARE(ToQtNameFilters(filter), expected);
  }

  void caseInsensitive_data() {
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QString>("folded");
    QTest::newRow("mp3") << QStringLiteral("MP3 格式音频 (*.mp3)") << QStringLiteral("MP3 格式音频 (*.[mM][pP]3)");
    QTest::newRow("two patterns") << "DVD (*.ac3 *.dts)" << "DVD (*.[aA][cC]3 *.[dD][tT][sS])";
    QTest::newRow("description with parentheses")
        << QStringLiteral("歌词文件(*.lrc) (*.lrc)") << QStringLiteral("歌词文件(*.lrc) (*.[lL][rR][cC])");
    QTest::newRow("all files") << "*.* (*)" << "*.* (*)";
    QTest::newRow("bare patterns") << "*.Wav *.ogg" << "*.[wW][aA][vV] *.[oO][gG][gG]";
    QTest::newRow("class kept") << "X (*.[ab]c)" << "X (*.[ab][cC])";
  }
  void caseInsensitive() {
    QFETCH(QString, filter);
    QFETCH(QString, folded);
    QCOMPARE(CaseInsensitiveNameFilter(filter), folded);
  }

  // The folded patterns select what a case-insensitive file system would.
  void foldedPatternsMatch_data() {
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("matches");
    QTest::newRow("lower") << "*.mp3" << "song.mp3" << true;
    QTest::newRow("upper") << "*.mp3" << "SONG.MP3" << true;
    QTest::newRow("mixed") << "*.Wav" << "a.wAv" << true;
    QTest::newRow("other extension") << "*.mp3" << "song.mp4" << false;
    QTest::newRow("chinese name") << "*.lrc" << QString::fromUtf8("歌.LRC") << true;
  }
  void foldedPatternsMatch() {
    QFETCH(QString, pattern);
    QFETCH(QString, name);
    QFETCH(bool, matches);
    const QRegularExpression re(QRegularExpression::wildcardToRegularExpression(CaseInsensitiveNameFilter(pattern)));
    QCOMPARE(re.match(name).hasMatch(), matches);
  }
};

QTEST_GUILESS_MAIN(TestNameFilters)
#include "tst_namefilters.moc"
