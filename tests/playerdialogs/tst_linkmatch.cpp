// Name similarity and the candidate list of the link dialog.
#include "dialogtree.h"
#include "player/dialogs/candidates.h"
#include "player/dialogs/similarity.h"

#include <QTest>

using namespace lyrova;

class TstLinkMatch : public QObject {
  Q_OBJECT

 private slots:
  void scoresNames_data() {
    QTest::addColumn<QString>("song");
    QTest::addColumn<QString>("lyrics");
    QTest::addColumn<int>("score");
    QTest::newRow("one character") << u"A"_qs << u"A"_qs << 1;
    QTest::newRow("two characters") << u"AB"_qs << u"AB"_qs << 4;
    QTest::newRow("three, letter case ignored") << u"abc"_qs << u"ABC"_qs << 10;
    QTest::newRow("nothing in common") << u"A"_qs << u"B"_qs << 0;
    QTest::newRow("empty song name") << QString() << u"ABC"_qs << 0;
    QTest::newRow("run inside a longer name") << u"ABC"_qs << u"XABCX"_qs << 10;
    QTest::newRow("run at the end") << u"AB"_qs << u"XAB"_qs << 4;
    QTest::newRow("mismatch ends the run") << u"AB"_qs << u"AC"_qs << 1;
    // An occurrence at the very last place of the lyrics name is not searched again.
    QTest::newRow("last occurrence not retried") << u"A"_qs << u"AA"_qs << 1;
    QTest::newRow("every earlier occurrence tried") << u"A"_qs << u"AAA"_qs << 2;
    QTest::newRow("repeated song character") << u"AA"_qs << u"AA"_qs << 4;
    QTest::newRow("repeated characters across runs") << u"ABA"_qs << u"ABA"_qs << 11;
    QTest::newRow("ideographic spaces become one blank")
        << u"月亮\u3000\u3000代表"_qs << u"月亮 代表"_qs << 35;
    QTest::newRow("blank runs collapse, ends trimmed")
        << u"  Hello World "_qs << u"hello   world"_qs << 254;
    QTest::newRow("title after the artist") << u"月光 - 晴天"_qs << u"晴天"_qs << 4;
    QTest::newRow("tab is no blank") << u"A\tB"_qs << u"A B"_qs << 2;
  }
  void scoresNames() {
    QFETCH(QString, song);
    QFETCH(QString, lyrics);
    QFETCH(int, score);
    QCOMPARE(SimilarityScore(song, lyrics), score);
  }

  // Each step "path:score", or "?" to read the list in between; the expected list "path:score|...".
  void ordersCandidates_data() {
    QTest::addColumn<QStringList>("added");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("descending") << L(u"/a:4|/b:10|/c:6"_qs) << L(u"/b:10|/c:6|/a:4"_qs);
    QTest::newRow("equal scores keep arrival order")
        << L(u"/a:4|/b:4|/c:10|/d:4"_qs) << L(u"/c:10|/a:4|/b:4|/d:4"_qs);
    QTest::newRow("duplicate ignoring case is dropped")
        << L(u"/m/a.lrc:4|/M/A.LRC:10"_qs) << L(u"/m/a.lrc:4"_qs);
    QTest::newRow("exact duplicate is dropped") << L(u"/x:5|/x:5|/y:5"_qs) << L(u"/x:5|/y:5"_qs);
    QTest::newRow("added after a reading")
        << L(u"/a:4|/b:6|?|/c:10|/d:6|?|/e:4"_qs) << L(u"/c:10|/b:6|/d:6|/a:4|/e:4"_qs);
  }
  void ordersCandidates() {
    QFETCH(QStringList, added);
    QFETCH(QStringList, expected);
    CandidateList list;
    for (const QString& step : added) {
      if (step == u"?") {
        QVERIFY(!list.Entries().isEmpty());
        continue;
      }
      const qsizetype colon = step.lastIndexOf(u':');
      list.AddCandidate(step.left(colon), step.mid(colon + 1).toInt());
    }
    QStringList got;
    for (const LinkCandidate& c : list.Entries()) got.append(c.path + u':' + QString::number(c.score));
    QCOMPARE(got, expected);
  }

  void buildsCandidates_data() {
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QString>("song");
    QTest::addColumn<QStringList>("searchDirs");
    QTest::addColumn<QStringList>("expected");  // "path:score", best first
    QTest::newRow("song folder, then search dirs in order")
        << L(u"$/m/abc.mp3|$/m/abc.lrc|$/l1/ab.lrc|$/l2/abcd.lrc"_qs) << u"$/m/abc.mp3"_qs
        << L(u"$/l1|$/l2"_qs) << L(u"$/m/abc.lrc:10|$/l2/abcd.lrc:10|$/l1/ab.lrc:4"_qs);
    QTest::newRow("one common character is not enough")
        << L(u"$/m/abc.mp3|$/m/a.lrc|$/m/xyz.lrc"_qs) << u"$/m/abc.mp3"_qs << QStringList()
        << QStringList();
    QTest::newRow("extension in any case, hidden files, no other files or folders")
        << L(u"$/m/abc.mp3|$/m/ABC.LRC|$/m/.abc.lrc|$/m/abc.txt|$/m/abc x.lrc/"_qs)
        << u"$/m/abc.mp3"_qs << QStringList()
        << L(u"$/m/.abc.lrc:10|$/m/ABC.LRC:10"_qs);
    QTest::newRow("same file through song folder and search dir listed once")
        << L(u"$/m/abc.mp3|$/m/abc.lrc"_qs) << u"$/m/abc.mp3"_qs << L(u"$/m"_qs)
        << L(u"$/m/abc.lrc:10"_qs);
    QTest::newRow("missing song gives nothing")
        << L(u"$/m/abc.lrc"_qs) << u"$/m/abc.mp3"_qs << L(u"$/m"_qs) << QStringList();
    QTest::newRow("missing search dir is skipped")
        << L(u"$/m/abc.mp3|$/l/abc.lrc"_qs) << u"$/m/abc.mp3"_qs << L(u"$/gone|$/l"_qs)
        << L(u"$/l/abc.lrc:10"_qs);
  }
  void buildsCandidates() {
    QFETCH(QStringList, files);
    QFETCH(QString, song);
    QFETCH(QStringList, searchDirs);
    QFETCH(QStringList, expected);
    DialogTree tree;
    QVERIFY(tree.Make(files));
    CandidateList list;
    list.AddCandidate(u"/stale.lrc"_qs, 99);
    list.BuildCandidates(tree.X(song), tree.X(searchDirs));
    QStringList got;
    for (const LinkCandidate& c : list.Entries())
      got.append(tree.Unx(c.path) + u':' + QString::number(c.score));
    QCOMPARE(got, expected);
  }
};

QTEST_GUILESS_MAIN(TstLinkMatch)
#include "tst_linkmatch.moc"
