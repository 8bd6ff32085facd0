// LyricsWatch: lyrics that arrive while a song is open are found without a reload, by the
// suite's own atomic writer (as the Editor saves) or in place; nothing else makes it report.
#include "common/fileio.h"
#include "lookuptree.h"
#include "player/lookup/lyricslookup.h"
#include "player/lookup/lyricswatch.h"

#include <QSignalSpy>
#include <QTest>

using namespace lyrova;

namespace {

constexpr int kWaitMs = 1000;  // the Player is to show new lyrics within a second
// Long enough for any event and the settle timer, when nothing is to come.
constexpr int kQuietMs = LyricsWatch::kSettleMs * 4;

bool Save(const QString& path, const QByteArray& bytes) {
  QString error;
  return WriteWholeFile(path, bytes, &error);
}

bool WriteInPlace(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  return file.open(QIODevice::ReadWrite | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

}  // namespace

class TestLyricsWatch : public QObject {
  Q_OBJECT

 private slots:
  // Tree before, "LrcDir.ini" lines, the lyrics followed at the start, how new lyrics come,
  // where, and the file reported (after each of `times` writes).
  void newLyricsAreReported_data() {
    QTest::addColumn<QString>("tree");
    QTest::addColumn<QString>("dirs");
    QTest::addColumn<QString>("followed");
    QTest::addColumn<QString>("how");
    QTest::addColumn<QString>("target");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<int>("times");
    const QString tree = u"$/m/a.mp3|$/d1/|$/d2/|$/x/linked.lrc"_qs;
    QTest::newRow("saved beside the song")
        << tree << "" << "" << "save" << "$/m/a.lrc" << "$/m/a.lrc" << 1;
    QTest::newRow("saved into a search folder")
        << tree << "$/d1|$/d2" << "" << "save" << "$/d2/a.lrc" << "$/d2/a.lrc" << 1;
    QTest::newRow("saved into the built-in folder")
        << tree + u"|$/data/Lrc/" << "" << "" << "save" << "$/data/Lrc/a.lrc" << "$/data/Lrc/a.lrc" << 1;
    QTest::newRow("linked in the link dialog")
        << tree << "" << "" << "link" << "$/x/linked.lrc" << "$/x/linked.lrc" << 1;
    QTest::newRow("file in use replaced, again and again")
        << tree + u"|$/m/a.lrc" << "" << "$/m/a.lrc" << "save" << "$/m/a.lrc" << "$/m/a.lrc" << 3;
    QTest::newRow("file in use written in place")
        << tree + u"|$/m/a.lrc" << "" << "$/m/a.lrc" << "inplace" << "$/m/a.lrc" << "$/m/a.lrc" << 2;
    QTest::newRow("a file beside the song wins over the search folder")
        << tree + u"|$/d1/a.lrc" << "$/d1" << "$/d1/a.lrc" << "save" << "$/m/a.lrc" << "$/m/a.lrc" << 1;
  }

  void newLyricsAreReported() {
    QFETCH(QString, tree);
    QFETCH(QString, dirs);
    QFETCH(QString, followed);
    QFETCH(QString, how);
    QFETCH(QString, target);
    QFETCH(QString, expected);
    QFETCH(int, times);
    LookupTree t;
    QVERIFY(t.Make(L(tree)));
    QVERIFY(t.WriteLines(t.DataFolder() + u"/LrcDir.ini", L(dirs)));
    const QString song = t.Expand(u"$/m/a.mp3"_qs);
    const LyricsLookup lookup(t.DataFolder());
    LyricsWatch watch(t.DataFolder());
    watch.Follow(song, t.Expand(followed));
    QSignalSpy spy(&watch, &LyricsWatch::LyricsChanged);

    for (int i = 1; i <= times; ++i) {
      const QByteArray bytes = "[00:01.00]line " + QByteArray::number(i) + "\r\n";
      if (how == u"save")
        QVERIFY(Save(t.Expand(target), bytes));
      else if (how == u"inplace")
        QVERIFY(WriteInPlace(t.Expand(target), bytes));
      else
        QVERIFY(lookup.SetLink(song, t.Expand(target)));
      QVERIFY2(spy.wait(kWaitMs), qPrintable(u"write "_qs + QString::number(i)));
      QCOMPARE(spy.last().value(0).toString(), t.Expand(expected));
      // A file lost by the watcher when it was renamed over is watched again.
      QVERIFY(watch.WatchedPaths().contains(t.Expand(expected)));
    }
    QTest::qWait(kQuietMs);
    QCOMPARE(spy.count(), times);  // each burst is reported once
  }

  // Changes that bring no other lyrics are not reported; lyrics in a search folder beyond the
  // watched ones are found by a lookup on demand, and no more than a few folders are watched.
  void otherChangesAreQuiet() {
    LookupTree t;
    QStringList entries{u"$/m/a.mp3"_qs, u"$/m/a.lrc"_qs};
    QStringList dirs;
    for (int i = 0; i < 20; ++i) {
      entries << u"$/d%1/"_qs.arg(i);
      dirs << u"$/d%1"_qs.arg(i);
    }
    QVERIFY(t.Make(entries));
    QVERIFY(t.WriteLines(t.DataFolder() + u"/LrcDir.ini", dirs));
    const QString song = t.Expand(u"$/m/a.mp3"_qs);
    const QString inUse = t.Expand(u"$/m/a.lrc"_qs);
    QVERIFY(Save(inUse, "[00:01.00]one\r\n"));
    LyricsWatch watch(t.DataFolder());
    watch.Follow(song, inUse);
    QSignalSpy spy(&watch, &LyricsWatch::LyricsChanged);

    const QStringList watched = watch.WatchedPaths();
    QVERIFY(watched.contains(inUse));
    QVERIFY(watched.contains(t.Expand(u"$/m"_qs)));
    QVERIFY(watched.contains(t.DataFolder()));
    QCOMPARE(watched.size(), 3 + LyricsWatch::kWatchedSearchDirs);
    QVERIFY(!watched.contains(t.Expand(u"$/d19"_qs)));

    QVERIFY(Save(t.Expand(u"$/m/other.lrc"_qs), "[00:01.00]other\r\n"));  // another song's
    QVERIFY(Save(inUse, "[00:01.00]one\r\n"));                           // the same bytes
    QVERIFY(Save(t.Expand(u"$/d3/b.lrc"_qs), "[00:01.00]b\r\n"));
    QTest::qWait(kQuietMs);
    QCOMPARE(spy.count(), 0);
    QVERIFY(QFile::remove(inUse));  // the lyrics shown stay
    QTest::qWait(kQuietMs);
    QCOMPARE(spy.count(), 0);

    QVERIFY(Save(t.Expand(u"$/d19/a.lrc"_qs), "[00:01.00]far\r\n"));
    QTest::qWait(kQuietMs);
    QCOMPARE(spy.count(), 0);
    watch.Check();
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.last().value(0).toString(), t.Expand(u"$/d19/a.lrc"_qs));

    watch.Follow(QString(), QString());
    QVERIFY(watch.WatchedPaths().isEmpty());
  }
};

QTEST_MAIN(TestLyricsWatch)
#include "tst_lyricswatch.moc"
