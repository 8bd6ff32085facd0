// The Scanner's directory list over "LrcDir.ini": merging on load, duplicates ignoring letter
// case, and keeping the file in step with a growing list.
#include "scanner/engine/dirfile.h"
#include "scanner/engine/dirlist.h"

#include "common/textcodec.h"
#include "common/textlines.h"

#include "scantree.h"

#include <QTest>

using lyrova::DirList;
using lyrova::SearchDirFile;
using namespace Qt::StringLiterals;

class TestScanDirList : public QObject {
  Q_OBJECT

 private slots:
  void addsDistinctNormalisedFolders_data() {
    QTest::addColumn<QStringList>("folders");  // existing folders of the tree
    QTest::addColumn<QStringList>("added");    // AddDir calls in order
    QTest::addColumn<QString>("results");      // "+" added, "-" refused, per call
    QTest::addColumn<QStringList>("list");
    QTest::newRow("trailing slash and blanks are normalised away")
        << L(u"M/") << L(u"$/M/| $/M |$/M") << u"+--"_s << L(u"$/M");
    QTest::newRow("other letter case of a folder that exists once is the same")
        << L(u"Music/") << L(u"$/Music|$/MUSIC/|$/music") << u"+--"_s << L(u"$/Music");
    QTest::newRow("two existing folders differing in case stay two")
        << L(u"M/|m/") << L(u"$/M|$/m|$/m/") << u"++-"_s << L(u"$/M|$/m");
    QTest::newRow("Chinese letters have no case")
        << L(u"歌词/") << L(u"$/歌词|$/歌词/") << u"+-"_s << L(u"$/歌词");
    QTest::newRow("texts that cannot be a line are refused")
        << L(u"") << QStringList{u"  "_s, u"$/a\nb"_s, u"$/a\rb"_s} << u"---"_s << L(u"");
    QTest::newRow("the root stays the root") << L(u"") << L(u"/|/") << u"+-"_s << L(u"/");
  }
  void addsDistinctNormalisedFolders() {
    QFETCH(QStringList, folders);
    QFETCH(QStringList, added);
    QFETCH(QString, results);
    QFETCH(QStringList, list);
    ScanTree tree;
    QVERIFY(tree.Make(folders));
    DirList dirs;
    QString got;
    for (QString folder : added) got += dirs.AddDir(folder.replace(u'$', tree.Root())) ? u'+' : u'-';
    QCOMPARE(got, results);
    QCOMPARE(dirs.Dirs(), tree.Expand(list));
    QCOMPARE(dirs.Count(), list.size());
  }

  void loadsAndMergesTheFile_data() {
    QTest::addColumn<QStringList>("folders");
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QStringList>("list");
    QTest::newRow("vanished folders and duplicates are dropped, order kept")
        << L(u"B/|A/")
        << QByteArray("$/B\r\n$/gone\r\n  $/A/  \r\n$/B/\r\n\r\n$/b\r\n")
        << L(u"$/B|$/A");
    QTest::newRow("any run of CR, LF and NUL is one break")
        << L(u"A/|B/") << QByteArray("$/A\n\n\0$/B\r", 10) << L(u"$/A|$/B");
    QTest::newRow("ANSI code page names")
        << L(u"歌词/") << QByteArray("$/\xb8\xe8\xb4\xca\r\n") << L(u"$/歌词");
    QTest::newRow("UTF-8 names") << L(u"歌词/") << QByteArray("$/\xe6\xad\x8c\xe8\xaf\x8d\r\n")
                                 << L(u"$/歌词");
    QTest::newRow("the Player's built-in folder is not added")
        << L(u"data/Lrc/") << QByteArray("") << L(u"");
  }
  void loadsAndMergesTheFile() {
    QFETCH(QStringList, folders);
    QFETCH(QByteArray, file);
    QFETCH(QStringList, list);
    ScanTree tree;
    QVERIFY(tree.Make(folders));
    QVERIFY(tree.WriteBytes(u"$/LrcDir.ini"_s, file.replace('$', tree.Root().toUtf8())));
    DirList dirs;
    QVERIFY(dirs.AddDir(u"/"_s));  // LoadDirs starts from an empty list
    dirs.LoadDirs(tree.Expand(u"$/LrcDir.ini"_s));
    QCOMPARE(dirs.Dirs(), tree.Expand(list));
  }

  void savesOneFolderALineInTheAnsiCodePage() {
    ScanTree tree;
    QVERIFY(tree.Make(L(u"歌词/|b/")));
    DirList dirs;
    dirs.AddDir(tree.Expand(u"$/歌词"_s));
    dirs.AddDir(tree.Expand(u"$/b"_s));
    QVERIFY(dirs.SaveDirs(tree.Expand(u"$/LrcDir.ini"_s)));
    const QByteArray root = tree.Root().toUtf8();
    QCOMPARE(tree.ReadBytes(u"$/LrcDir.ini"_s), root + "/\xb8\xe8\xb4\xca\r\n" + root + "/b\r\n");
    QVERIFY(!dirs.SaveDirs(tree.Expand(u"$/none/LrcDir.ini"_s)));
  }

  // The file during a scan: first flush rewrites, later ones append; the bytes written are
  // the bytes of the final file plus the one rewrite.
  void keepsFileInStepWithGrowingList() {
    ScanTree tree;
    const QString path = tree.Expand(u"$/LrcDir.ini"_s);
    QVERIFY(tree.WriteBytes(u"$/LrcDir.ini"_s, "stale line\r\n"));
    QStringList all{u"/old"_s};
    SearchDirFile file(path);
    file.Restart();
    QVERIFY(file.Flush(all));  // nothing pending: the file is left alone
    QCOMPARE(tree.ReadBytes(u"$/LrcDir.ini"_s), QByteArray("stale line\r\n"));

    all << u"/a"_s;
    file.Append(u"/a"_s);
    QVERIFY(file.HasPending());
    QVERIFY(file.Flush(all));
    QVERIFY(!file.HasPending());
    QCOMPARE(lyrova::ReadTextLines(path).value_or(QStringList()), all);
    const qint64 afterRewrite = file.BytesWritten();
    QCOMPARE(afterRewrite, qint64(strlen("/old\r\n/a\r\n")));

    for (int i = 0; i < 200; ++i) {
      const QString dir = u"/歌词/"_s + QString::number(i);
      all << dir;
      file.Append(dir);
      if (i % 7 == 0) QVERIFY(file.Flush(all));
    }
    QVERIFY(file.Flush(all));
    QCOMPARE(lyrova::ReadTextLines(path).value_or(QStringList()), all);
    const QByteArray bytes = tree.ReadBytes(u"$/LrcDir.ini"_s);
    QCOMPARE(file.BytesWritten(), qint64(bytes.size()));
    QCOMPARE(lyrova::DetectEncoding(bytes), lyrova::TextEncoding::Ansi);
  }

  void rewritesWhenTheFileVanished() {
    ScanTree tree;
    const QString path = tree.Expand(u"$/LrcDir.ini"_s);
    SearchDirFile file(path);
    file.Restart();
    QStringList all{u"/a"_s};
    file.Append(u"/a"_s);
    QVERIFY(file.Flush(all));
    QVERIFY(QFile::remove(path));
    all << u"/b"_s;
    file.Append(u"/b"_s);
    QVERIFY(file.Flush(all));
    QCOMPARE(lyrova::ReadTextLines(path).value_or(QStringList()), all);
  }

};

QTEST_GUILESS_MAIN(TestScanDirList)
#include "tst_scan_dirlist.moc"
