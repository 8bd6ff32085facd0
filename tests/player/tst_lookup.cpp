// FindLyricsFile: the order link, beside the song, built-in folder, listed folders; letter case.
#include "lookuptree.h"
#include "player/lookup/lookupindex.h"
#include "player/lookup/lyricslookup.h"

#include <QDir>
#include <QTest>

using namespace lyrova;

class TestLookup : public QObject {
  Q_OBJECT

 private slots:
  // Tree entries, "LrcDir.ini" lines, "LrcLink.ini" lines, the song and the lyrics file found.
  void findLyricsFile_data() {
    QTest::addColumn<QString>("tree");
    QTest::addColumn<QString>("dirs");
    QTest::addColumn<QString>("links");
    QTest::addColumn<QString>("song");
    QTest::addColumn<QString>("expected");
    const QString d12 = u"$/d1|$/d2/"_qs;
    QTest::newRow("empty song") << "$/m/.lrc" << "" << "" << "" << "";
    QTest::newRow("blank song") << "$/m/.lrc" << "" << "" << "   " << "";
    QTest::newRow("nothing anywhere") << "$/m/a.mp3|$/d1/" << d12 << "" << "$/m/a.mp3" << "";
    QTest::newRow("beside, dotted name")
        << "$/m/a.b.mp3|$/m/a.b.lrc|$/m/a.lrc" << "" << "" << "$/m/a.b.mp3" << "$/m/a.b.lrc";
    QTest::newRow("dotted name in a folder") << "$/m/a.b.mp3|$/m/a.lrc|$/d1/a.lrc|$/d2/a.b.lrc"
                                             << d12 << "" << "$/m/a.b.mp3" << "$/d2/a.b.lrc";
    QTest::newRow("no extension") << "$/m/song.lrc" << "" << "" << "$/m/song" << "$/m/song.lrc";
    QTest::newRow("dot in folder only")
        << "$/m.x/song.lrc|$/m.lrc" << "" << "" << "$/m.x/song" << "$/m.x/song.lrc";
    QTest::newRow("blanks around song")
        << "$/m/a.lrc" << "" << "" << "  $/m/a.mp3  " << "$/m/a.lrc";
    QTest::newRow("song need not exist") << "$/m/a.lrc" << "" << "" << "$/m/a.mp3" << "$/m/a.lrc";
    QTest::newRow("beside wins over folders")
        << "$/m/a.mp3|$/m/a.lrc|$/data/Lrc/a.lrc|$/d1/a.lrc" << d12 << "" << "$/m/a.mp3"
        << "$/m/a.lrc";
    QTest::newRow("built-in folder first") << "$/m/a.mp3|$/data/Lrc/a.lrc|$/d1/a.lrc" << d12
                                           << "" << "$/m/a.mp3" << "$/data/Lrc/a.lrc";
    QTest::newRow("built-in, no list file")
        << "$/m/a.mp3|$/data/Lrc/a.lrc" << "" << "" << "$/m/a.mp3" << "$/data/Lrc/a.lrc";
    QTest::newRow("folders in file order") << "$/m/a.mp3|$/d1/a.lrc|$/d2/a.lrc" << "$/d2|$/d1"
                                           << "" << "$/m/a.mp3" << "$/d2/a.lrc";
    QTest::newRow("missing folder skipped")
        << "$/m/a.mp3|$/d2/a.lrc" << "$/gone|$/d2" << "" << "$/m/a.mp3" << "$/d2/a.lrc";
    QTest::newRow("a folder named like the lyrics")
        << "$/m/a.mp3|$/m/a.lrc/|$/d1/a.lrc/|$/d2/a.lrc" << d12 << "" << "$/m/a.mp3"
        << "$/d2/a.lrc";
    QTest::newRow("link wins") << "$/m/a.mp3|$/m/a.lrc|$/x/o.lrc" << "" << "$/m/a.mp3|$/x/o.lrc"
                               << "$/m/a.mp3" << "$/x/o.lrc";
    QTest::newRow("vanished link returned") << "$/m/a.mp3|$/m/a.lrc" << ""
                                            << "$/m/a.mp3|$/x/gone.lrc" << "$/m/a.mp3"
                                            << "$/x/gone.lrc";
    QTest::newRow("link of a missing song ignored")
        << "$/m/a.lrc|$/x/o.lrc" << "" << "$/m/a.mp3|$/x/o.lrc" << "$/m/a.mp3" << "$/m/a.lrc";
    // Letter case: the exact name first, then a name differing only in case.
    QTest::newRow("case variant beside") << "$/m/A.MP3|$/m/a.lrc" << "" << "" << "$/m/A.MP3"
                                         << "$/m/a.lrc";
    QTest::newRow("exact name beats variants") << "$/m/A.MP3|$/m/A.LRC|$/m/A.lrc|$/m/a.lrc" << ""
                                               << "" << "$/m/A.MP3" << "$/m/A.lrc";
    QTest::newRow("variants: first in code-point order")
        << "$/m/a.mp3|$/m/a.LRC|$/m/A.lrc|$/m/A.Lrc" << "" << "" << "$/m/a.mp3" << "$/m/A.Lrc";
    QTest::newRow("case variant in a folder") << "$/m/Song.mp3|$/d1/SONG.LRC" << d12 << ""
                                              << "$/m/Song.mp3" << "$/d1/SONG.LRC";
    QTest::newRow("variant beside beats exact in a folder")
        << "$/m/a.mp3|$/m/A.LRC|$/d1/a.lrc" << d12 << "" << "$/m/a.mp3" << "$/m/A.LRC";
    QTest::newRow("variant in first folder beats exact in second")
        << "$/m/a.mp3|$/d1/A.lrc|$/d2/a.lrc" << d12 << "" << "$/m/a.mp3" << "$/d1/A.lrc";
    QTest::newRow("folder part keeps its case") << "$/M/a.lrc" << "" << "" << "$/m/a.mp3" << "";
    QTest::newRow("no partial names")
        << "$/m/a.mp3|$/m/a .lrc|$/m/ab.lrc|$/d1/a.lrc.bak|$/d1/xa.lrc" << d12 << ""
        << "$/m/a.mp3" << "";
    QTest::newRow("hidden file") << "$/d1/.a.LRC" << d12 << "" << "$/m/.a.mp3" << "$/d1/.a.LRC";
    QTest::newRow("chinese") << "$/音乐/周杰伦 - 晴天.mp3|$/歌词/周杰伦 - 晴天.lrc" << "$/歌词/"
                             << "" << "$/音乐/周杰伦 - 晴天.mp3" << "$/歌词/周杰伦 - 晴天.lrc";
  }
  void findLyricsFile() {
    QFETCH(QString, tree);
    QFETCH(QString, dirs);
    QFETCH(QString, links);
    QFETCH(QString, song);
    QFETCH(QString, expected);
    LookupTree t;
    QVERIFY(t.Make(L(tree)));
    const LyricsLookup lookup(t.DataFolder());
    if (!dirs.isEmpty()) QVERIFY(t.WriteLines(lookup.SearchDirFile(), L(dirs)));
    if (!links.isEmpty()) QVERIFY(t.WriteLines(lookup.LinkFile(), L(links)));
    QCOMPARE(lookup.FindLyricsFile(t.Expand(song)), t.Expand(expected));
    // Through an index the same, before its build, once built, and with folders compared by
    // stat instead of watched.
    for (const LookupIndexOptions options : {LookupIndexOptions{false, true}, LookupIndexOptions{},
                                             LookupIndexOptions{true, false}}) {
      const LookupIndex index(t.DataFolder(), options);
      if (options.buildNow) QVERIFY(index.WaitUntilReady(5000));
      QCOMPARE(LyricsLookup(t.DataFolder(), &index).FindLyricsFile(t.Expand(song)),
               t.Expand(expected));
    }
  }

  // A song without a folder part is looked up in the current folder.
  void relativeSongPath() {
    LookupTree t;
    QVERIFY(t.Make({u"$/REL.LRC"_qs}));
    const QString before = QDir::currentPath();
    QVERIFY(QDir::setCurrent(t.Root()));
    const QString found = LyricsLookup(t.DataFolder()).FindLyricsFile(u"rel.mp3"_qs);
    QDir::setCurrent(before);
    QCOMPARE(found, u"REL.LRC"_qs);
  }

  // Every call reads the list files anew, or an index notices their change at once.
  void listChangesCountAtOnce_data() {
    QTest::addColumn<bool>("indexed");
    QTest::newRow("no index") << false;
    QTest::newRow("index") << true;
  }
  void listChangesCountAtOnce() {
    QFETCH(bool, indexed);
    LookupTree t;
    QVERIFY(t.Make(L(u"$/m/a.mp3|$/d1/a.lrc|$/d2/a.lrc|$/x/linked.lrc"_qs)));
    const LookupIndex index(t.DataFolder());
    QVERIFY(index.WaitUntilReady(5000));
    const LyricsLookup lookup(t.DataFolder(), indexed ? &index : nullptr);
    const QString song = t.Expand(u"$/m/a.mp3"_qs);
    QCOMPARE(lookup.FindLyricsFile(song), QString());
    QVERIFY(lookup.WriteSearchDirs(t.Expand(L(u"$/d2|$/d1"_qs))));
    QCOMPARE(lookup.FindLyricsFile(song), t.Expand(u"$/d2/a.lrc"_qs));
    QVERIFY(lookup.WriteSearchDirs(t.Expand(L(u"$/d1"_qs))));
    QCOMPARE(lookup.FindLyricsFile(song), t.Expand(u"$/d1/a.lrc"_qs));
    QVERIFY(lookup.SetLink(song, t.Expand(u"$/x/linked.lrc"_qs)));
    QCOMPARE(lookup.FindLyricsFile(song), t.Expand(u"$/x/linked.lrc"_qs));
    QVERIFY(lookup.SetLink(song, QString()));
    QVERIFY(t.Make({u"$/m/a.lrc"_qs}));
    QCOMPARE(lookup.FindLyricsFile(song), t.Expand(u"$/m/a.lrc"_qs));
  }
};

QTEST_GUILESS_MAIN(TestLookup)
#include "tst_lookup.moc"
