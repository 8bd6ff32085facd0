// LookupIndex: the index keeps up with changes on disk and in the list files, and whatever
// the disk or the list holds, it answers as the lookup without an index does.
#include "lookuptree.h"
#include "player/lookup/lookupindex.h"
#include "player/lookup/lyricslookup.h"

#include <QDir>
#include <QFile>
#include <QTest>

#include <sys/stat.h>
#include <sys/time.h>

#include <atomic>
#include <thread>

using namespace lyrova;

namespace {

constexpr int kBuildMs = 20000;

// Applies "add P", "remove P", "rename A B", "rmdir P" (with what it holds), "file P" (a
// folder replaced by a file) or "mkdir P", paths with "$".
bool Apply(const LookupTree& t, const QString& change) {
  const QStringList parts = change.split(u' ');
  const QString op = parts.value(0);
  const QString a = t.Expand(parts.value(1));
  const QString b = t.Expand(parts.value(2));
  if (op == u"add") return t.Make({parts.value(1)});
  if (op == u"remove") return QFile::remove(a);
  if (op == u"rename") return QDir().rename(a, b);
  if (op == u"rmdir") return QDir(a).removeRecursively();
  if (op == u"file") return QDir(a).removeRecursively() && LookupTree::WriteBytes(a, {});
  if (op == u"mkdir") return QDir().mkpath(a);
  return false;
}

// Sets the folder's times an hour back, as in a library at rest: a folder compared by stat is
// then trusted once listed instead of being checked on disk for the next two seconds.
bool Age(const QString& path) {
  struct timeval old[2] {};
  ::gettimeofday(&old[0], nullptr);
  old[0].tv_sec -= 3600;
  old[1] = old[0];
  return ::utimes(QFile::encodeName(path).constData(), old) == 0;
}

}  // namespace

class TestLookupIndex : public QObject {
  Q_OBJECT

 private slots:
  // The tree, a change after the build, and what the next lookup of "a.lrc" finds: at once,
  // without a new build, whether the folders are watched or compared by stat.
  void seesChangesInFolders_data() {
    QTest::addColumn<bool>("watched");
    QTest::addColumn<QString>("changes");
    QTest::addColumn<QString>("expected");
    for (const bool watched : {true, false}) {
      const char* mode = watched ? "watched: " : "by stat: ";
      auto row = [&](const char* name, const char* changes, const char* expected) {
        QTest::newRow(QByteArray(mode).append(name).constData())
            << watched << QString::fromUtf8(changes) << QString::fromUtf8(expected);
      };
      row("none", "", "$/d2/a.lrc");
      row("new file in an earlier folder", "add $/d1/a.lrc", "$/d1/a.lrc");
      row("new case variant", "add $/d1/A.LRC", "$/d1/A.LRC");
      row("renamed to the name", "rename $/d1/x.lrc $/d1/a.lrc", "$/d1/a.lrc");
      row("renamed to another case", "rename $/d2/a.lrc $/d2/A.lrc", "$/d2/A.lrc");
      row("removed", "remove $/d2/a.lrc", "");
      row("moved to the first folder", "rename $/d2/a.lrc $/d1/a.lrc", "$/d1/a.lrc");
      row("removed, then made again", "remove $/d2/a.lrc|add $/d3/a.lrc", "$/d3/a.lrc");
      row("a folder of that name", "remove $/d2/a.lrc|add $/d1/a.lrc/", "");
    }
  }
  void seesChangesInFolders() {
    QFETCH(bool, watched);
    QFETCH(QString, changes);
    QFETCH(QString, expected);
    LookupTree t;
    QVERIFY(t.Make(L(u"$/m/a.mp3|$/d1/x.lrc|$/d2/a.lrc|$/d3/"_qs)));
    for (const char* dir : {"$/d1", "$/d2", "$/d3"}) QVERIFY(Age(t.Expand(QString::fromUtf8(dir))));
    QVERIFY(t.WriteLines(t.DataFolder() + u"/LrcDir.ini"_qs, L(u"$/d1|$/d2|$/d3"_qs)));
    const LookupIndex index(t.DataFolder(), {true, watched});
    QVERIFY(index.WaitUntilReady(kBuildMs));
    QCOMPARE(index.CurrentStatus().watched, watched ? 3 : 0);
    const LyricsLookup lookup(t.DataFolder(), &index);
    const LyricsLookup plain(t.DataFolder());
    const QString song = t.Expand(u"$/m/a.mp3"_qs);
    QCOMPARE(lookup.FindLyricsFile(song), t.Expand(u"$/d2/a.lrc"_qs));
    for (const QString& change : L(changes)) QVERIFY2(Apply(t, change), qPrintable(change));
    QCOMPARE(lookup.FindLyricsFile(song), t.Expand(expected));
    QCOMPARE(plain.FindLyricsFile(song), t.Expand(expected));
    // The same once the worker has listed the changed folders again.
    QTRY_VERIFY(changes.isEmpty() || index.CurrentStatus().relisted > 0);
    QCOMPARE(lookup.FindLyricsFile(song), t.Expand(expected));
    QCOMPARE(index.CurrentStatus().builds, 1);
    QVERIFY(index.IsReady());
  }

  // Folders that vanish or change identity: the answer is today's at once, or (for a change
  // above a folder, which no watch sees) no lyrics until the check after a lookup has found
  // it; never a file that is not there. The search list follows too.
  void followsFoldersThatGoOrCome_data() {
    QTest::addColumn<QString>("changes");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<bool>("atOnce");
    QTest::newRow("folder removed") << "rmdir $/p/d1" << "$/d2/a.lrc" << true;
    QTest::newRow("folder replaced by a file") << "file $/p/d1" << "$/d2/a.lrc" << true;
    QTest::newRow("folder moved away, another made")
        << "rename $/p/d1 $/gone|add $/p/d1/A.lrc" << "$/p/d1/A.lrc" << true;
    QTest::newRow("listed folder that was missing made")
        << "add $/later/a.lrc" << "$/later/a.lrc" << true;
    QTest::newRow("built-in folder made") << "add $/data/Lrc/a.lrc" << "$/data/Lrc/a.lrc" << true;
    QTest::newRow("parent renamed, folder made again")
        << "rename $/p $/q|add $/p/d1/a.lrc" << "$/p/d1/a.lrc" << false;
  }
  void followsFoldersThatGoOrCome() {
    QFETCH(QString, changes);
    QFETCH(QString, expected);
    QFETCH(bool, atOnce);
    LookupTree t;
    QVERIFY(t.Make(L(u"$/m/a.mp3|$/p/d1/a.lrc|$/d2/a.lrc"_qs)));
    QVERIFY(t.WriteLines(t.DataFolder() + u"/LrcDir.ini"_qs, L(u"$/later|$/p/d1|$/d2"_qs)));
    const LookupIndex index(t.DataFolder());
    QVERIFY(index.WaitUntilReady(kBuildMs));
    const LyricsLookup lookup(t.DataFolder(), &index);
    const LyricsLookup plain(t.DataFolder());
    const QString song = t.Expand(u"$/m/a.mp3"_qs);
    QCOMPARE(lookup.FindLyricsFile(song), t.Expand(u"$/p/d1/a.lrc"_qs));
    for (const QString& change : L(changes)) QVERIFY2(Apply(t, change), qPrintable(change));
    QCOMPARE(plain.FindLyricsFile(song), t.Expand(expected));
    const QString first = lookup.FindLyricsFile(song);
    if (atOnce)
      QCOMPARE(first, t.Expand(expected));
    else
      QVERIFY2(first.isEmpty() || first == t.Expand(expected), qPrintable(first));
    QTRY_COMPARE(lookup.FindLyricsFile(song), t.Expand(expected));
    QVERIFY(index.WaitUntilReady(kBuildMs));
    QCOMPARE(lookup.FindLyricsFile(song), t.Expand(expected));
    QCOMPARE(lookup.ReadSearchDirs(), plain.ReadSearchDirs());
  }

  // A rewritten "LrcDir.ini" counts from the next lookup, then the index is built again.
  void rebuildsAfterListChange() {
    LookupTree t;
    QVERIFY(t.Make(L(u"$/m/a.mp3|$/d1/a.lrc|$/d2/A.LRC"_qs)));
    const LyricsLookup plain(t.DataFolder());
    QVERIFY(plain.WriteSearchDirs(t.Expand(L(u"$/d1|$/d2"_qs))));
    const LookupIndex index(t.DataFolder());
    QVERIFY(index.WaitUntilReady(kBuildMs));
    const LyricsLookup lookup(t.DataFolder(), &index);
    const QString song = t.Expand(u"$/m/a.mp3"_qs);
    QCOMPARE(lookup.FindLyricsFile(song), t.Expand(u"$/d1/a.lrc"_qs));
    // Same length, same second: only the contents tell the two lists apart.
    QVERIFY(plain.WriteSearchDirs(t.Expand(L(u"$/d2|$/d1"_qs))));
    QCOMPARE(lookup.FindLyricsFile(song), t.Expand(u"$/d2/A.LRC"_qs));
    QCOMPARE(lookup.ReadSearchDirs(), t.Expand(L(u"$/d2|$/d1"_qs)));
    QVERIFY(index.WaitUntilReady(kBuildMs));
    QCOMPARE(index.CurrentStatus().builds, 2);
    QCOMPARE(lookup.FindLyricsFile(song), t.Expand(u"$/d2/A.LRC"_qs));
    // Rewritten with the same contents: nothing to build.
    QVERIFY(plain.WriteSearchDirs(t.Expand(L(u"$/d2|$/d1"_qs))));
    QCOMPARE(lookup.FindLyricsFile(song), t.Expand(u"$/d2/A.LRC"_qs));
    QVERIFY(index.WaitUntilReady(kBuildMs));
    QCOMPARE(index.CurrentStatus().builds, 2);
  }

  // The list rewritten again and again while the index is built and lookups run on another
  // thread: every answer is one of the lists' answers, and the index ends with the last list.
  void listRewrittenDuringBuild() {
    LookupTree t;
    QStringList entries{u"$/m/a.mp3"_qs, u"$/first/a.lrc"_qs, u"$/second/A.lrc"_qs};
    QStringList many;
    for (int i = 0; i < 2000; ++i) {
      entries.append(u"$/many/%1/b.lrc"_qs.arg(i));
      many.append(u"$/many/%1"_qs.arg(i));
    }
    QVERIFY(t.Make(entries));
    const LyricsLookup plain(t.DataFolder());
    const QStringList lists[] = {L(u"$/first|$/second"_qs) + many, L(u"$/second|$/first"_qs) + many};
    QVERIFY(plain.WriteSearchDirs(t.Expand(lists[0])));
    const QString song = t.Expand(u"$/m/a.mp3"_qs);
    const QStringList answers = t.Expand(L(u"$/first/a.lrc|$/second/A.lrc"_qs));

    const LookupIndex index(t.DataFolder());
    const LyricsLookup lookup(t.DataFolder(), &index);
    std::atomic<bool> done{false};
    std::atomic<int> wrong{0};
    std::thread reader([&] {
      while (!done) {
        if (!answers.contains(lookup.FindLyricsFile(song))) ++wrong;
        if (lookup.ReadSearchDirs().size() != many.size() + 2) ++wrong;
      }
    });
    for (int round = 1; round <= 12; ++round) {
      QVERIFY(plain.WriteSearchDirs(t.Expand(lists[round % 2])));
      QTest::qWait(15 * round);
    }
    done = true;
    reader.join();
    QCOMPARE(wrong.load(), 0);
    QVERIFY(index.WaitUntilReady(kBuildMs));
    QCOMPARE(index.CurrentStatus().folders, many.size() + 2);
    QCOMPARE(lookup.FindLyricsFile(song), answers.at(0));
    QCOMPARE(lookup.ReadSearchDirs(), plain.ReadSearchDirs());
  }

  // A list of 100,000 lines full of what real lists hold by accident: the same answers and
  // search list as without an index, before and after the build.
  void badListsAnswerAsBefore() {
    LookupTree t;
    QVERIFY(t.Make(L(u"$/m/a.mp3|$/m/b.mp3|$/m/c.mp3|$/ok/b.lrc|$/Ok/A.lrc|$/locked/c.lrc|"
                     u"$/plain|$/vanishing/a.lrc|$/alias -> $/ok"_qs)));
    QStringList lines;
    for (int i = 0; i < 100000; ++i) {
      switch (i % 10) {
        case 0: lines.append(u"$/gone/%1"_qs.arg(i)); break;
        case 1: lines.append(u"$/OK/"_qs); break;
        case 2: lines.append(u"   $/ok  "_qs); break;
        case 3: lines.append(u"$/plain"_qs); break;
        case 4: lines.append(QString()); break;
        case 5: lines.append(u"$/vanishing"_qs); break;
        default: lines.append(u"$/gone/%1/"_qs.arg(i)); break;
      }
    }
    lines.insert(50000, u"$/locked"_qs);
    lines.insert(60000, u"$/Ok"_qs);
    lines.insert(70000, u"$/alias"_qs);
    QVERIFY(t.WriteLines(t.DataFolder() + u"/LrcDir.ini"_qs, lines));
    QVERIFY(::chmod(QFile::encodeName(t.Expand(u"$/locked"_qs)).constData(), 0) == 0);
    const LyricsLookup plain(t.DataFolder());
    const LookupIndex unbuilt(t.DataFolder(), {false});
    const LookupIndex index(t.DataFolder());
    QVERIFY(index.WaitUntilReady(kBuildMs));
    const QStringList songs = t.Expand(L(u"$/m/a.mp3|$/m/b.mp3|$/m/c.mp3|$/m/d.mp3"_qs));
    auto same = [&] {
      QStringList expected;
      for (const QString& song : songs) expected.append(plain.FindLyricsFile(song));
      const QStringList dirs = plain.ReadSearchDirs();
      for (const LookupIndex* used : {&unbuilt, &index}) {
        const LyricsLookup lookup(t.DataFolder(), used);
        for (qsizetype i = 0; i < songs.size(); ++i)
          if (lookup.FindLyricsFile(songs.at(i)) != expected.at(i)) return false;
        if (lookup.ReadSearchDirs() != dirs) return false;
      }
      return true;
    };
    QVERIFY(same());
    QVERIFY(!plain.FindLyricsFile(songs.at(0)).isEmpty());
    QVERIFY(Apply(t, u"rmdir $/vanishing"_qs));
    QVERIFY(same());
    QVERIFY(::chmod(QFile::encodeName(t.Expand(u"$/locked"_qs)).constData(), 0755) == 0);
  }

  // An index dropped in the middle of its build stops at once and leaves nothing behind; an
  // index of another data folder is not used.
  void droppedOrForeignIndex() {
    LookupTree t;
    QStringList entries{u"$/m/a.mp3"_qs, u"$/other/Lrc/a.lrc"_qs};
    QStringList dirs;
    for (int i = 0; i < 3000; ++i) {
      entries.append(u"$/d/%1/"_qs.arg(i));
      dirs.append(u"$/d/%1"_qs.arg(i));
    }
    QVERIFY(t.Make(entries));
    QVERIFY(LyricsLookup(t.DataFolder()).WriteSearchDirs(t.Expand(dirs)));
    for (int i = 0; i < 5; ++i) {
      const LookupIndex index(t.DataFolder());
      QTest::qWait(i * 10);
    }
    const LookupIndex other(t.Expand(u"$/other"_qs));
    QVERIFY(other.WaitUntilReady(kBuildMs));
    const LyricsLookup lookup(t.DataFolder(), &other);
    QCOMPARE(lookup.FindLyricsFile(t.Expand(u"$/m/a.mp3"_qs)), QString());
    QCOMPARE(lookup.ReadSearchDirs().size(), dirs.size());
  }
};

QTEST_GUILESS_MAIN(TestLookupIndex)
#include "tst_lookupindex.moc"
