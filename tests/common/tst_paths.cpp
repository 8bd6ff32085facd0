#include "common/paths.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace lyrova;

class TestPaths : public QObject {
  Q_OBJECT

 private slots:
  void joinPath_data() {
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("expected");
    QTest::newRow("plain") << "/music" << "a.lrc" << "/music/a.lrc";
    QTest::newRow("trailing slash") << "/music/" << "a.lrc" << "/music/a.lrc";
    QTest::newRow("root") << "/" << "a.lrc" << "/a.lrc";
    QTest::newRow("empty folder") << "" << "a.lrc" << "/a.lrc";
    QTest::newRow("colon is ordinary") << "/m:x" << "b" << "/m:x/b";
  }
  void joinPath() {
    QFETCH(QString, folder);
    QFETCH(QString, name);
    QFETCH(QString, expected);
    QCOMPARE(JoinPath(folder, name), expected);
  }

  void parts_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("dir");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("stripped");
    QTest::addColumn<QString>("ext");
    QTest::newRow("full") << "/home/u/歌曲.mp3" << "/home/u/" << "歌曲.mp3" << "/home/u/歌曲" << "mp3";
    QTest::newRow("blanks trimmed") << "  /a/b.c  " << "/a/" << "b.c" << "/a/b" << "c";
    QTest::newRow("no folder") << "song.ogg" << "" << "song.ogg" << "song" << "ogg";
    QTest::newRow("no extension") << "/a/song" << "/a/" << "song" << "/a/song" << "";
    QTest::newRow("dot in folder only") << "/a.b/song" << "/a.b/" << "song" << "/a.b/song" << "";
    QTest::newRow("two dots") << "/a/x.y.lrc" << "/a/" << "x.y.lrc" << "/a/x.y" << "lrc";
    QTest::newRow("folder path") << "/a/b/" << "/a/b/" << "" << "/a/b/" << "";
    QTest::newRow("root") << "/" << "/" << "" << "/" << "";
    QTest::newRow("colon ordinary") << "C:song.mp3" << "" << "C:song.mp3" << "C:song" << "mp3";
    QTest::newRow("empty") << "" << "" << "" << "" << "";
  }
  void parts() {
    QFETCH(QString, path);
    QFETCH(QString, dir);
    QFETCH(QString, name);
    QFETCH(QString, stripped);
    QFETCH(QString, ext);
    QCOMPARE(DirectoryPart(path), dir);
    QCOMPARE(FileNamePart(path), name);
    QCOMPARE(StripExtension(path), stripped);
    QCOMPARE(PathExtension(path), ext);
  }

  void unquote_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("player");
    QTest::addColumn<QString>("editor");
    QTest::newRow("quoted") << "  \"/a b/c.mp3\" " << "/a b/c.mp3" << "/a b/c.mp3";
    QTest::newRow("inner blanks") << "\" x \"" << " x " << "x";
    QTest::newRow("unquoted") << " /a/b " << "/a/b" << "/a/b";
    QTest::newRow("lone quote") << "\"" << "\"" << "\"";
    QTest::newRow("only opening") << "\"abc" << "\"abc" << "\"abc";
    QTest::newRow("empty quotes") << "\"\"" << "" << "";
    QTest::newRow("switch") << "/R" << "/R" << "/R";
  }
  void unquote() {
    QFETCH(QString, text);
    QFETCH(QString, player);
    QFETCH(QString, editor);
    QCOMPARE(Unquote(text), player);
    QCOMPARE(UnquoteTrimmed(text), editor);
  }

  void trimBlanksOnlyBlanks() {
    QCOMPARE(TrimBlanks(QStringLiteral("\t a \t")), QStringLiteral("\t a \t"));
    QCOMPARE(TrimBlanks(QStringLiteral("   ")), QString());
  }

  void lyricsNames() {
    QCOMPARE(LrcNameFor(QStringLiteral("/m/song.mp3")), QStringLiteral("/m/song.lrc"));
    QCOMPARE(LrcNameFor(QStringLiteral("/m/song")), QStringLiteral("/m/song.lrc"));
    QCOMPARE(LrcNameFor(QStringLiteral("   ")), QString());
    QVERIFY(IsLyricsOrTextFile(QStringLiteral("/a/b.LRC")));
    QVERIFY(IsLyricsOrTextFile(QStringLiteral("/a/b.txt")));
    QVERIFY(IsLyricsOrTextFile(QStringLiteral("/a/b.Lrc")));
    QVERIFY(!IsLyricsOrTextFile(QStringLiteral("/a/b.mp3")));
    QVERIFY(!IsLyricsOrTextFile(QStringLiteral("/a.lrc/b")));
  }

  void existence() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString file = dir.filePath(QStringLiteral("歌.lrc"));
    QFile f(file);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.close();
    QVERIFY(FileExists(file));
    QVERIFY(!DirExists(file));
    QVERIFY(DirExists(dir.path()));
    QVERIFY(!FileExists(dir.path()));
    QVERIFY(!FileExists(dir.filePath(QStringLiteral("missing"))));
    QVERIFY(!DirExists(dir.filePath(QStringLiteral("missing"))));
    QVERIFY(!FileExists(QString()));
    QVERIFY(!DirExists(QString()));
  }
};

QTEST_GUILESS_MAIN(TestPaths)
#include "tst_paths.moc"
