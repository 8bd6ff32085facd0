// The search-directory list: NormalizeDir and ReadSearchDirs / WriteSearchDirs on real trees.
#include "common/listfiles.h"
#include "lookuptree.h"
#include "player/lookup/lookupindex.h"
#include "player/lookup/lyricslookup.h"

#include <QDir>
#include <QFile>
#include <QTest>

using namespace lyrova;

class TestLookupListFiles : public QObject {
  Q_OBJECT

 private slots:
  void normalizeDir_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    QTest::newRow("plain") << "/home/u/lyrics" << "/home/u/lyrics";
    QTest::newRow("trailing slash") << "/home/u/lyrics/" << "/home/u/lyrics";
    QTest::newRow("only one slash removed") << "/home/u/lyrics//" << "/home/u/lyrics/";
    QTest::newRow("blanks") << "   /a/b   " << "/a/b";
    QTest::newRow("blank before slash") << "  /a/b /  " << "/a/b";
    QTest::newRow("root") << "/" << "/";
    QTest::newRow("root in blanks") << "  /  " << "/";
    QTest::newRow("double root") << "//" << "/";
    QTest::newRow("colon is ordinary") << "/mnt/c:" << "/mnt/c:";
    QTest::newRow("drive-like text with slash") << "D:/" << "D:";
    QTest::newRow("chinese") << " /音乐/歌词/ " << "/音乐/歌词";
    QTest::newRow("only blanks") << "    " << "";
  }
  void normalizeDir() {
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QCOMPARE(NormalizeDir(text), expected);
  }

  // Tree entries, the lines of "LrcDir.ini" ("-": no file) and the list read back.
  void readSearchDirs_data() {
    QTest::addColumn<QString>("tree");
    QTest::addColumn<QString>("lines");
    QTest::addColumn<QString>("expected");
    QTest::newRow("no file, no built-in") << "" << "-" << "";
    QTest::newRow("no file, built-in") << "$/data/Lrc/" << "-" << "$/data/Lrc";
    QTest::newRow("built-in first, file order kept")
        << "$/data/Lrc/|$/b/|$/a/" << "$/b|$/a" << "$/data/Lrc|$/b|$/a";
    QTest::newRow("built-in written back is not repeated")
        << "$/data/Lrc/|$/a/" << "$/a|$/data/Lrc" << "$/data/Lrc|$/a";
    QTest::newRow("a built-in that is a file is no folder") << "$/data/Lrc|$/a/" << "$/a" << "$/a";
    QTest::newRow("normalised; a case variant naming nothing skipped")
        << "$/x:/|$/x/Lyrics/" << "$/x:|  $/x/Lyrics/  |$/x/LYRICS" << "$/x:|$/x/Lyrics";
    QTest::newRow("repeat with trailing slash") << "$/a/" << "$/a|$/a/| $/a " << "$/a";
    QTest::newRow("other spelling of the same folder skipped")
        << "$/Lyrics/|$/LYRICS -> $/Lyrics" << "$/Lyrics|$/LYRICS" << "$/Lyrics";
    QTest::newRow("distinct folders differing in case kept")
        << "$/Lyrics/|$/lyrics/" << "$/Lyrics|$/lyrics" << "$/Lyrics|$/lyrics";
    QTest::newRow("missing folder and plain file skipped")
        << "$/a/|$/file.lrc|$/c/" << "$/gone|$/a|$/file.lrc|$/c" << "$/a|$/c";
    QTest::newRow("blank lines and root") << "" << "   | / " << "/";
    QTest::newRow("chinese folders")
        << "$/音乐/歌词/|$/周杰伦/" << "$/周杰伦/|$/音乐/歌词" << "$/周杰伦|$/音乐/歌词";
  }
  void readSearchDirs() {
    QFETCH(QString, tree);
    QFETCH(QString, lines);
    QFETCH(QString, expected);
    LookupTree t;
    QVERIFY(t.Make(L(tree)));
    const LyricsLookup lookup(t.DataFolder());
    if (lines != u"-") QVERIFY(t.WriteLines(lookup.SearchDirFile(), L(lines)));
    QCOMPARE(lookup.ReadSearchDirs(), t.Expand(L(expected)));
    for (const bool built : {false, true}) {
      const LookupIndex index(t.DataFolder(), {built});
      if (built) QVERIFY(index.WaitUntilReady(5000));
      QCOMPARE(LyricsLookup(t.DataFolder(), &index).ReadSearchDirs(), t.Expand(L(expected)));
    }
  }

  void readSearchDirsEncodings_data() {
    const QByteArray utf8("\xE6\xAD\x8C\xE8\xAF\x8D");
    QTest::addColumn<QByteArray>("prefix");
    QTest::addColumn<QByteArray>("folderBytes");  // "歌词"
    QTest::newRow("gbk") << QByteArray() << QByteArray::fromHex("b8e8b4ca");
    QTest::newRow("utf8") << QByteArray() << utf8;
    QTest::newRow("utf8 mark") << QByteArray("\xEF\xBB\xBF") << utf8;
  }
  void readSearchDirsEncodings() {
    QFETCH(QByteArray, prefix);
    QFETCH(QByteArray, folderBytes);
    LookupTree t;
    QVERIFY(t.Make({u"$/歌词/"_qs}));
    const LyricsLookup lookup(t.DataFolder());
    const QByteArray bytes = prefix + QFile::encodeName(t.Root()) + '/' + folderBytes + "/\r\n";
    QVERIFY(LookupTree::WriteBytes(lookup.SearchDirFile(), bytes));
    const QStringList expected{t.Expand(u"$/歌词"_qs)};
    QCOMPARE(lookup.ReadSearchDirs(), expected);
    QCOMPARE(ParseSearchDirLines(ListFileLines(bytes)), expected);
  }

  void unreadableListIsEmpty() {
    LookupTree t;
    QVERIFY(t.Make({u"$/data/Lrc/"_qs, u"$/data/LrcDir.ini/"_qs}));
    const QStringList builtIn{t.Expand(u"$/data/Lrc"_qs)};
    QCOMPARE(LyricsLookup(t.DataFolder()).ReadSearchDirs(), builtIn);
    QCOMPARE(LyricsLookup(t.Expand(u"$/no/such"_qs)).ReadSearchDirs(), QStringList{});
  }

  void writeSearchDirs_data() {
    QTest::addColumn<QStringList>("dirs");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("empty list, empty file") << QStringList{} << QByteArray();
    QTest::newRow("exactly as given") << L(u"/b/| /a |/"_qs) << QByteArray("/b/\r\n /a \r\n/\r\n");
    QTest::newRow("ansi") << L(u"/音乐|/x"_qs) << QByteArray::fromHex("2fd2f4c0d60d0a2f780d0a");
    QTest::newRow("line breaks cannot be stored")
        << QStringList{u"/a"_qs, u"/b\n/c"_qs, u"/d\re"_qs, u"/f"_qs} << QByteArray("/a\r\n/f\r\n");
  }
  void writeSearchDirs() {
    QFETCH(QStringList, dirs);
    QFETCH(QByteArray, bytes);
    LookupTree t;
    const LyricsLookup lookup(t.DataFolder());
    QVERIFY(LookupTree::WriteBytes(lookup.SearchDirFile(), "/old\r\n/older\r\n"));
    QVERIFY(lookup.WriteSearchDirs(dirs));
    QCOMPARE(LookupTree::ReadBytes(lookup.SearchDirFile()), bytes);
  }

  void failedWritesAreQuiet() {
    LookupTree t;
    const LyricsLookup blocked(t.DataFolder());
    QVERIFY(QDir().mkpath(blocked.SearchDirFile()));
    QVERIFY(!blocked.WriteSearchDirs({u"/a"_qs}));
    QVERIFY(QFileInfo(blocked.SearchDirFile()).isDir());
    QVERIFY(!LyricsLookup(t.Expand(u"$/missing"_qs)).WriteSearchDirs({u"/a"_qs}));
    QVERIFY(!QFileInfo::exists(t.Expand(u"$/missing"_qs)));
  }
};

QTEST_GUILESS_MAIN(TestLookupListFiles)
#include "tst_lookup_listfiles.moc"
