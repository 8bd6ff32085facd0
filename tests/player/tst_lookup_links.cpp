// Song links in "LrcLink.ini": FindLink and SetLink on real file trees.
#include "lookuptree.h"
#include "player/lookup/lookupindex.h"
#include "player/lookup/lyricslookup.h"

#include <QDir>
#include <QTest>

using namespace lyrova;

class TestLookupLinks : public QObject {
  Q_OBJECT

 private slots:
  // Tree entries, the lines of "LrcLink.ini", the song asked for and the answer.
  void findLink_data() {
    QTest::addColumn<QString>("tree");
    QTest::addColumn<QString>("lines");
    QTest::addColumn<QString>("song");
    QTest::addColumn<QString>("expected");
    const QString both = u"$/m/s.mp3|$/l/s.lrc"_qs;
    QTest::newRow("no link file") << both << "" << "$/m/s.mp3" << "";
    QTest::newRow("linked") << both << both << "$/m/s.mp3" << "$/l/s.lrc";
    QTest::newRow("song missing") << "$/l/s.lrc" << both << "$/m/s.mp3" << "";
    QTest::newRow("empty song") << both << "|$/l/s.lrc" << "" << "";
    QTest::newRow("vanished lyrics returned")
        << "$/m/s.mp3" << "$/m/s.mp3|$/l/gone.lrc" << "$/m/s.mp3" << "$/l/gone.lrc";
    QTest::newRow("other song only") << "$/m/s.mp3" << "$/m/t.mp3|$/l/t.lrc" << "$/m/s.mp3" << "";
    QTest::newRow("first of two pairs wins")
        << both << "$/m/t.mp3|$/l/t.lrc|$/m/s.mp3|$/l/1.lrc|$/m/s.mp3|$/l/2.lrc" << "$/m/s.mp3"
        << "$/l/1.lrc";
    QTest::newRow("three lines: one pair")
        << "$/m/s.mp3|$/m/t.mp3" << "$/m/s.mp3|$/l/s.lrc|$/m/t.mp3" << "$/m/t.mp3" << "";
    QTest::newRow("lyrics line is no song") << "$/m/s.mp3|$/m/t.mp3" << "$/m/t.mp3|$/m/s.mp3"
                                            << "$/m/s.mp3" << "";
    QTest::newRow("blanks trimmed")
        << both << "   $/m/s.mp3  |  $/l/s.lrc " << "  $/m/s.mp3 " << "$/l/s.lrc";
    QTest::newRow("stored in other case, naming nothing")
        << "$/m/s.mp3" << "$/M/S.MP3|$/l/s.lrc" << "$/m/s.mp3" << "$/l/s.lrc";
    QTest::newRow("distinct song differing in case")
        << "$/m/s.mp3|$/m/S.mp3" << "$/m/S.mp3|$/l/S.lrc" << "$/m/s.mp3" << "";
    QTest::newRow("chinese") << "$/音乐/七里香.mp3" << "$/音乐/七里香.mp3|$/歌词/七里香.lrc"
                             << "$/音乐/七里香.mp3" << "$/歌词/七里香.lrc";
  }
  void findLink() {
    QFETCH(QString, tree);
    QFETCH(QString, lines);
    QFETCH(QString, song);
    QFETCH(QString, expected);
    LookupTree t;
    QVERIFY(t.Make(L(tree)));
    const LyricsLookup lookup(t.DataFolder());
    if (!lines.isEmpty()) QVERIFY(t.WriteLines(lookup.LinkFile(), L(lines)));
    QCOMPARE(lookup.FindLink(t.Expand(song)), t.Expand(expected));
    const LookupIndex index(t.DataFolder(), {false});
    QCOMPARE(LyricsLookup(t.DataFolder(), &index).FindLink(t.Expand(song)), t.Expand(expected));
  }

  void utf8AndUnreadableLinkFiles() {
    LookupTree t;
    QVERIFY(t.Make({u"$/音乐/歌.mp3"_qs}));
    const LyricsLookup lookup(t.DataFolder());
    const QString song = t.Expand(u"$/音乐/歌.mp3"_qs);
    const QByteArray utf8 = t.Expand(u"$/音乐/歌.mp3\n$/歌.lrc"_qs).toUtf8();
    QVERIFY(LookupTree::WriteBytes(lookup.LinkFile(), utf8));
    QCOMPARE(lookup.FindLink(song), t.Expand(u"$/歌.lrc"_qs));
    // A folder in the file's place reads as no links; writing over it fails quietly.
    QVERIFY(QFile::remove(lookup.LinkFile()) && QDir().mkpath(lookup.LinkFile()));
    QCOMPARE(lookup.FindLink(song), QString());
    QVERIFY(!lookup.SetLink(song, song));
    QVERIFY(QFileInfo(lookup.LinkFile()).isDir());
  }

  // Tree entries, the file's lines before, the call, its result and the lines after. When the
  // call does nothing, the old file stays byte for byte.
  void setLink_data() {
    QTest::addColumn<QString>("tree");
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("song");
    QTest::addColumn<QString>("lyrics");
    QTest::addColumn<bool>("written");
    QTest::addColumn<QString>("after");
    const QString tree =
        u"$/m/a.mp3|$/m/b.mp3|$/m/c.mp3|$/l/a.lrc|$/l/b.lrc|$/l/c.lrc|$/l/n.lrc"_qs;
    const QString abc = u"$/m/a.mp3|$/l/a.lrc|$/m/b.mp3|$/l/b.lrc|$/m/c.mp3|$/l/c.lrc"_qs;
    QTest::newRow("first link") << tree << "" << "$/m/a.mp3" << "$/l/a.lrc" << true
                                << "$/m/a.mp3|$/l/a.lrc";
    QTest::newRow("appended at the end") << tree << "$/m/b.mp3|$/l/b.lrc" << "$/m/a.mp3"
                                         << "$/l/a.lrc" << true
                                         << "$/m/b.mp3|$/l/b.lrc|$/m/a.mp3|$/l/a.lrc";
    QTest::newRow("replace keeps position")
        << tree << abc << "$/m/b.mp3" << "$/l/n.lrc" << true
        << "$/m/a.mp3|$/l/a.lrc|$/m/b.mp3|$/l/n.lrc|$/m/c.mp3|$/l/c.lrc";
    QTest::newRow("replace, blanks trimmed")
        << tree << abc << "  $/m/c.mp3 " << " $/l/n.lrc  " << true
        << "$/m/a.mp3|$/l/a.lrc|$/m/b.mp3|$/l/b.lrc|$/m/c.mp3|$/l/n.lrc";
    QTest::newRow("remove moves later pairs up") << tree << abc << "$/m/a.mp3" << "" << true
                                                 << "$/m/b.mp3|$/l/b.lrc|$/m/c.mp3|$/l/c.lrc";
    QTest::newRow("blank lyrics path removes") << tree << abc << "$/m/b.mp3" << "   " << true
                                               << "$/m/a.mp3|$/l/a.lrc|$/m/c.mp3|$/l/c.lrc";
    QTest::newRow("remove without a link only cleans") << tree << abc << "$/l/n.lrc" << ""
                                                       << true << abc;
    QTest::newRow("vanished files dropped") << "$/m/a.mp3|$/m/c.mp3|$/l/a.lrc|$/l/b.lrc" << abc
                                            << "$/m/a.mp3" << "$/l/a.lrc" << true
                                            << "$/m/a.mp3|$/l/a.lrc";
    QTest::newRow("three lines: last dropped")
        << tree << "$/m/a.mp3|$/l/a.lrc|$/m/b.mp3" << "$/m/c.mp3" << "$/l/c.lrc" << true
        << "$/m/a.mp3|$/l/a.lrc|$/m/c.mp3|$/l/c.lrc";
    QTest::newRow("two pairs for one song: first changed")
        << tree << "$/m/a.mp3|$/l/a.lrc|$/m/a.mp3|$/l/b.lrc" << "$/m/a.mp3" << "$/l/c.lrc"
        << true << "$/m/a.mp3|$/l/c.lrc|$/m/a.mp3|$/l/b.lrc";
    QTest::newRow("other-case spelling naming nothing dropped")
        << tree << "$/M/A.MP3|$/l/a.lrc|$/m/b.mp3|$/l/b.lrc" << "$/m/a.mp3" << "$/l/n.lrc"
        << true << "$/m/b.mp3|$/l/b.lrc|$/m/a.mp3|$/l/n.lrc";
    QTest::newRow("same song, other spelling: replaced")
        << "$/m/a.mp3|$/m/A.MP3 -> $/m/a.mp3|$/l/a.lrc|$/l/n.lrc" << "$/m/A.MP3|$/l/a.lrc"
        << "$/m/a.mp3" << "$/l/n.lrc" << true << "$/m/a.mp3|$/l/n.lrc";
    QTest::newRow("distinct song differing in case: own pair")
        << "$/m/a.mp3|$/m/A.mp3|$/l/a.lrc|$/l/b.lrc" << "$/m/A.mp3|$/l/a.lrc" << "$/m/a.mp3"
        << "$/l/b.lrc" << true << "$/m/A.mp3|$/l/a.lrc|$/m/a.mp3|$/l/b.lrc";
    QTest::newRow("chinese") << "$/音乐/稻香.mp3|$/歌词/稻香.lrc" << "" << "$/音乐/稻香.mp3"
                             << "$/歌词/稻香.lrc" << true << "$/音乐/稻香.mp3|$/歌词/稻香.lrc";
    const QString stale = u"$/m/gone.mp3|$/l/a.lrc"_qs;
    QTest::newRow("song missing") << tree << stale << "$/m/gone.mp3" << "$/l/a.lrc" << false
                                  << stale;
    QTest::newRow("empty song") << tree << stale << "  " << "$/l/a.lrc" << false << stale;
    QTest::newRow("line break in lyrics path")
        << tree << stale << "$/m/a.mp3" << "$/l/a.lrc\n$/m/b.mp3" << false << stale;
  }
  void setLink() {
    QFETCH(QString, tree);
    QFETCH(QString, before);
    QFETCH(QString, song);
    QFETCH(QString, lyrics);
    QFETCH(bool, written);
    QFETCH(QString, after);
    LookupTree t;
    QVERIFY(t.Make(L(tree)));
    const LyricsLookup lookup(t.DataFolder());
    if (!before.isEmpty()) QVERIFY(t.WriteLines(lookup.LinkFile(), L(before)));
    QCOMPARE(lookup.SetLink(t.Expand(song), t.Expand(lyrics)), written);
    QByteArray expected;
    TextEncoder encoder(TextEncoding::Ansi);
    for (const QString& line : L(after)) expected += encoder.Encode(t.Expand(line)) + "\r\n";
    QCOMPARE(LookupTree::ReadBytes(lookup.LinkFile()), expected);
  }

  // Links written by SetLink read back in step after removals.
  void setThenFind() {
    LookupTree t;
    QVERIFY(t.Make(L(u"$/m/a.mp3|$/m/b.mp3|$/l/a.lrc|$/l/b.lrc"_qs)));
    const LyricsLookup lookup(t.DataFolder());
    const QString a = t.Expand(u"$/m/a.mp3"_qs);
    const QString b = t.Expand(u"$/m/b.mp3"_qs);
    QVERIFY(lookup.SetLink(a, t.Expand(u"$/l/b.lrc"_qs)));
    QVERIFY(lookup.SetLink(b, t.Expand(u"$/l/a.lrc"_qs)));
    QCOMPARE(lookup.FindLink(a), t.Expand(u"$/l/b.lrc"_qs));
    QVERIFY(lookup.SetLink(a, QString()));
    QCOMPARE(lookup.FindLink(a), QString());
    QCOMPARE(lookup.FindLink(b), t.Expand(u"$/l/a.lrc"_qs));
    QVERIFY(lookup.SetLink(b, u"   "_qs));
    QCOMPARE(lookup.FindLink(b), QString());
    QCOMPARE(LookupTree::ReadBytes(lookup.LinkFile()), QByteArray());
  }
};

QTEST_GUILESS_MAIN(TestLookupLinks)
#include "tst_lookup_links.moc"
