// The walk of DirScan and FolderScan: event order, what is entered and what is not, skipping,
// stopping, re-entrant requests and depth; the Scanner's command line.
#include "scanner/engine/drvscan.h"
#include "scanner/engine/namepattern.h"
#include "scanner/engine/scanargs.h"

#include "scanrecorder.h"
#include "scantree.h"

#include <QDirIterator>
#include <QSet>
#include <QTest>

#include <sys/wait.h>

using lyrova::DrvScan;
using namespace Qt::StringLiterals;

class TestScanWalk : public QObject {
  Q_OBJECT

 private:
  // A scan of the test tree's root with an empty mount table, so only the tree counts.
  static void Prepare(DrvScan& scan, const ScanTree& tree, const QString& pattern) {
    scan.SetMountSource([] { return QList<lyrova::MountEntry>(); });
    scan.SetScanPath(tree.Root());
    scan.SetScanName(pattern);
  }

 private slots:
  void ordersEventsOnSmallTrees_data() {
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QStringList>("events");
    QTest::newRow("folder, its file, then its subfolder")
        << L(u"a/b/|a/x.lrc") << u"*.lrc"_s << L(u"D:$/|D:$/a/|N:$/a/>x.lrc|D:$/a/b/");
    QTest::newRow("folders starting with a dot are not entered")
        << L(u".cache/x.lrc|a/.git/y.lrc|a/z.lrc") << u"*.lrc"_s
        << L(u"D:$/|D:$/a/|N:$/a/>z.lrc");
    QTest::newRow("files starting with a dot are reported")
        << L(u".x.lrc") << u"*.lrc"_s << L(u"D:$/|N:$/>.x.lrc");
    QTest::newRow("letter case of the name does not matter")
        << L(u"k/A.LRC|k/b.lrc.bak|k/c.lrcx") << u"*.lrc"_s << L(u"D:$/|D:$/k/|N:$/k/>A.LRC");
    QTest::newRow("a folder matching the pattern is reported and entered")
        << L(u"d.lrc/") << u"*.lrc"_s << L(u"D:$/|N:$/>d.lrc|D:$/d.lrc/");
    QTest::newRow("a link to a folder is not followed")
        << L(u"real/|link -> $/real") << u"*.lrc"_s << L(u"D:$/|D:$/real/");
    QTest::newRow("a link loop ends at once")
        << L(u"a/|a/up -> $/a") << u"*.lrc"_s << L(u"D:$/|D:$/a/");
    QTest::newRow("a link with a matching name is reported, not entered")
        << L(u"top.lrc -> $") << u"*.lrc"_s << L(u"D:$/|N:$/>top.lrc");
    QTest::newRow("an empty pattern reports folders only")
        << L(u"a/x.lrc") << u""_s << L(u"D:$/|D:$/a/");
    QTest::newRow("question mark is one character")
        << L(u"q/a.lrc|q/ab.lrc|q/歌.lrc") << u"?.lrc"_s
        << L(u"D:$/|D:$/q/|N:$/q/>a.lrc|N:$/q/>歌.lrc");
    QTest::newRow("Chinese names")
        << L(u"歌词/周杰伦.lrc") << u"*.lrc"_s << L(u"D:$/|D:$/歌词/|N:$/歌词/>周杰伦.lrc");
    QTest::newRow("empty tree") << L(u"") << u"*.lrc"_s << L(u"D:$/");
  }
  void ordersEventsOnSmallTrees() {
    QFETCH(QStringList, entries);
    QFETCH(QString, pattern);
    QFETCH(QStringList, events);
    ScanTree tree;
    QVERIFY(tree.Make(entries));
    DrvScan scan;
    Prepare(scan, tree, pattern);
    ScanRecorder recorder(scan, tree.Root());
    scan.DirScan();
    // Two matches in one folder come in listing order, which the table cannot know.
    if (pattern == u"?.lrc" && recorder.events.size() == 4 && events.size() == 4 &&
        recorder.events.at(2) == events.at(3))
      std::swap(events[2], events[3]);
    QCOMPARE(recorder.events, events);
    QVERIFY(!scan.IsBusy());
  }

  void matchesWildcards_data() {
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("matches");
    QTest::newRow("suffix") << u"*.lrc"_s << u"a.LrC"_s << true;
    QTest::newRow("suffix longer than the name") << u"*.lrc"_s << u"lrc"_s << false;
    QTest::newRow("star in the middle backtracks") << u"a*b.lrc"_s << u"a.b.xb.lrc"_s << true;
    QTest::newRow("star in the middle, no match") << u"a*b.lrc"_s << u"a.b.lrc.x"_s << false;
    QTest::newRow("trailing star") << u"track*"_s << u"track"_s << true;
    QTest::newRow("question mark needs a character") << u"?*.lrc"_s << u".lrc"_s << false;
    QTest::newRow("question mark over a Chinese character") << u"?词.lrc"_s << u"歌词.lrc"_s << true;
    QTest::newRow("exact name") << u"LrcDir.ini"_s << u"lrcdir.INI"_s << true;
    QTest::newRow("empty pattern matches nothing") << u""_s << u"a"_s << false;
  }
  void matchesWildcards() {
    QFETCH(QString, pattern);
    QFETCH(QString, name);
    QTEST(lyrova::NamePattern(pattern).Matches(name), "matches");
  }

  // A bushy tree: every folder's events form one block in pre-order, its own files first, its
  // subfolders in the order the system lists them.
  void walksBushyTreeInPreOrder() {
    ScanTree tree;
    QStringList entries;
    for (int i = 0; i < 6; ++i)
      for (int j = 0; j < 4; ++j)
        entries << QStringLiteral("$/t%1/u%2/").arg(i).arg(j)
                << QStringLiteral("$/t%1/f%2.lrc").arg(i).arg(j)
                << QStringLiteral("$/t%1/u%2/v/g.lrc").arg(i).arg(j);
    QVERIFY(tree.Make(entries));
    DrvScan scan;
    Prepare(scan, tree, QStringLiteral("*.lrc"));
    ScanRecorder recorder(scan, tree.Root());
    scan.DirScan();

    QStringList dirs;
    for (const QString& event : recorder.events) {
      if (event.startsWith(u'D')) {
        dirs.append(event.mid(2));
        continue;
      }
      // A name belongs to the folder entered last.
      QCOMPARE(event.mid(2, event.indexOf(u'>') - 2), dirs.last());
    }
    QCOMPARE(dirs.size(), 1 + 6 + 24 + 24);
    for (qsizetype i = 0; i < dirs.size(); ++i) {
      // Everything after a folder until its block ends lies inside it.
      qsizetype end = i + 1;
      while (end < dirs.size() && dirs.at(end).startsWith(dirs.at(i))) ++end;
      for (qsizetype k = end; k < dirs.size(); ++k)
        QVERIFY2(!dirs.at(k).startsWith(dirs.at(i)), qPrintable(dirs.at(k)));
      // Its direct subfolders come in listing order.
      QStringList children;
      for (qsizetype k = i + 1; k < end; ++k)
        if (dirs.at(k).count(u'/') == dirs.at(i).count(u'/') + 1) children.append(dirs.at(k));
      QStringList listed;
      QDirIterator it(tree.Expand(dirs.at(i)), QDir::Dirs | QDir::NoDotAndDotDot);
      while (it.hasNext()) listed.append(recorder.Short(it.next()) + u'/');
      QCOMPARE(children, listed);
    }
  }

  void skipsRemainingFilesOfOneFolder_data() {
    QTest::addColumn<bool>("skip");
    QTest::addColumn<int>("namesInA");
    QTest::addColumn<int>("namesInB");
    QTest::newRow("no skip") << false << 3 << 2;
    QTest::newRow("skip at the first match") << true << 1 << 1;
  }
  void skipsRemainingFilesOfOneFolder() {
    QFETCH(bool, skip);
    QFETCH(int, namesInA);
    QFETCH(int, namesInB);
    ScanTree tree;
    QVERIFY(tree.Make(L(u"a/1.lrc|a/2.lrc|a/3.lrc|a/b/4.lrc|a/b/5.lrc|a/b/c/")));
    DrvScan scan;
    Prepare(scan, tree, QStringLiteral("*.lrc"));
    ScanRecorder recorder(scan, tree.Root());
    recorder.onName = [&](const QString&, const QString&) {
      if (skip) scan.SkipIsDirFile();
    };
    scan.DirScan();
    auto namesIn = [&recorder](const QString& dir) {
      return int(std::count_if(recorder.events.cbegin(), recorder.events.cend(),
                               [&dir](const QString& e) { return e.startsWith(dir); }));
    };
    const int inA = namesIn(u"N:$/a/>"_s);
    const int inB = namesIn(u"N:$/a/b/>"_s);
    QCOMPARE(inA, namesInA);
    QCOMPARE(inB, namesInB);
    QVERIFY(recorder.events.contains(QStringLiteral("D:$/a/b/c/")));
  }

  void stopsAndStartsAfresh_data() {
    QTest::addColumn<QString>("where");
    QTest::addColumn<int>("at");
    QTest::addColumn<int>("eventsBeforeStop");
    QTest::newRow("in the root's FindingDir") << u"dir"_s << 1 << 1;
    QTest::newRow("in the second FindingDir") << u"dir"_s << 2 << 2;
    QTest::newRow("in the first FindingName") << u"name"_s << 1 << 3;
    QTest::newRow("in the yield") << u"yield"_s << 1 << 1;
  }
  void stopsAndStartsAfresh() {
    QFETCH(QString, where);
    QFETCH(int, at);
    QFETCH(int, eventsBeforeStop);
    ScanTree tree;
    QVERIFY(tree.Make(L(u"a/b/c/|a/x.lrc|a/y.lrc|a/b/z.lrc")));
    DrvScan scan;
    Prepare(scan, tree, QStringLiteral("*.lrc"));
    ScanRecorder recorder(scan, tree.Root());
    int dirs = 0;
    int names = 0;
    recorder.onDir = [&](const QString&) {
      if (where == u"dir" && ++dirs == at) scan.StopScan();
    };
    recorder.onName = [&](const QString&, const QString&) {
      if (where == u"name" && ++names == at) scan.StopScan();
    };
    int yields = 0;
    scan.SetYield([&] {
      if (where == u"yield" && ++yields == at) scan.StopScan();
    }, 0);
    scan.DirScan();
    QCOMPARE(recorder.events.size(), eventsBeforeStop);
    QVERIFY(!scan.IsBusy());

    // A new scan runs to the end and repeats nothing of the old one's state.
    where.clear();
    recorder.events.clear();
    scan.DirScan();
    QCOMPARE(recorder.Count(u'D'), 4);
    QCOMPARE(recorder.Count(u'N'), 3);
  }

  void refusesRequestsWhileBusy_data() {
    QTest::addColumn<bool>("stopFirst");
    QTest::addColumn<int>("dirs");
    QTest::newRow("while running") << false << 3;
    QTest::newRow("after a stop, before the scan has unwound") << true << 1;
  }
  void refusesRequestsWhileBusy() {
    QFETCH(bool, stopFirst);
    QFETCH(int, dirs);
    ScanTree tree;
    QVERIFY(tree.Make(L(u"a/b/")));
    DrvScan scan;
    Prepare(scan, tree, QStringLiteral("*.lrc"));
    ScanRecorder recorder(scan, tree.Root());
    bool asked = false;
    recorder.onDir = [&](const QString&) {
      if (asked) return;
      asked = true;
      if (stopFirst) scan.StopScan();
      scan.DirScan();
      scan.DriveScan();
    };
    scan.DirScan();
    QCOMPARE(recorder.Count(u'D'), dirs);
  }

  void yieldsWhileWalking() {
    ScanTree tree;
    QStringList entries;
    for (int i = 0; i < 50; ++i) entries << QStringLiteral("$/f%1/x.lrc").arg(i);
    QVERIFY(tree.Make(entries));
    DrvScan scan;
    Prepare(scan, tree, QStringLiteral("*.lrc"));
    int yields = 0;
    scan.SetYield([&] { ++yields; }, 0);
    scan.DirScan();
    // At least once per folder entered and once per reported name.
    QVERIFY2(yields >= 101, qPrintable(QString::number(yields)));
  }

  void startsAtTheGivenFolder_data() {
    QTest::addColumn<QString>("start");
    QTest::addColumn<QStringList>("events");
    QTest::newRow("without") << u"$/Lyrics"_s << L(u"D:$/Lyrics/|N:$/Lyrics/>a.lrc");
    QTest::newRow("with") << u"$/Lyrics/"_s << L(u"D:$/Lyrics/|N:$/Lyrics/>a.lrc");
    QTest::newRow("missing") << u"$/none"_s << L(u"D:$/none/");
  }
  void startsAtTheGivenFolder() {
    QFETCH(QString, start);
    QFETCH(QStringList, events);
    ScanTree tree;
    QVERIFY(tree.Make(L(u"Lyrics/a.lrc")));
    DrvScan scan;
    Prepare(scan, tree, QStringLiteral("*.lrc"));
    scan.SetScanPath(tree.Expand(start));
    ScanRecorder recorder(scan, tree.Root());
    scan.DirScan();
    QCOMPARE(recorder.events, events);
  }

  // FolderScan: the named folders only, in order, by the rules of the drive scan; "mnt" below
  // Music is another mount.
  void scansNamedFoldersOnly_data() {
    QTest::addColumn<QStringList>("folders");
    QTest::addColumn<QStringList>("events");
    QTest::newRow("one folder") << L(u"$/disk/Music")
                                << L(u"D:$/disk/Music/|N:$/disk/Music/>a.lrc|D:$/disk/Music/sub/|"
                                     u"N:$/disk/Music/sub/>b.lrc");
    QTest::newRow("in the order named, each once")
        << L(u"$/disk/Other/|$/disk/Music/sub|$/disk/Other")
        << L(u"D:$/disk/Other/|N:$/disk/Other/>d.lrc|D:$/disk/Music/sub/|N:$/disk/Music/sub/>b.lrc|"
             u"D:$/disk/Other/|N:$/disk/Other/>d.lrc");
    QTest::newRow("missing folder and file passed over")
        << L(u"$/gone|$/disk/Music/a.lrc|$/disk/Other") << L(u"D:$/disk/Other/|N:$/disk/Other/>d.lrc");
    QTest::newRow("a named link is followed to its real path, links below it are not")
        << L(u"$/musiclink") << L(u"D:$/disk/Music/|N:$/disk/Music/>a.lrc|D:$/disk/Music/sub/|"
                                  u"N:$/disk/Music/sub/>b.lrc");
    QTest::newRow("a named mount point is scanned")
        << L(u"$/disk/Music/mnt") << L(u"D:$/disk/Music/mnt/|N:$/disk/Music/mnt/>m.lrc");
    QTest::newRow("a named dot folder is scanned") << L(u"$/disk/.lyrics")
                                                   << L(u"D:$/disk/.lyrics/|N:$/disk/.lyrics/>h.lrc");
    QTest::newRow("none") << L(u"") << L(u"");
  }
  void scansNamedFoldersOnly() {
    QFETCH(QStringList, folders);
    QFETCH(QStringList, events);
    ScanTree tree;
    QVERIFY(tree.Make(L(u"disk/Music/a.lrc|disk/Music/sub/b.lrc|disk/Music/.cache/c.lrc|"
                        u"disk/Music/mnt/m.lrc|disk/Music/out -> $/elsewhere|elsewhere/e.lrc|"
                        u"disk/Other/d.lrc|disk/.lyrics/h.lrc|musiclink -> $/disk/Music")));
    DrvScan scan;
    Prepare(scan, tree, QStringLiteral("*.lrc"));
    const QString mounted = tree.Expand(u"$/disk/Music/mnt"_s);
    scan.SetMountSource([mounted] {
      return QList<lyrova::MountEntry>{{8, 2, u"/"_s, mounted, u"ext4"_s, {}}};
    });
    ScanRecorder recorder(scan, tree.Root());
    scan.FolderScan(tree.Expand(folders));
    QCOMPARE(recorder.events, events);
    QVERIFY(!scan.IsBusy());
  }

  // The command line: "/R" anywhere, every other argument a folder, made absolute.
  void parsesCommandLine_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<bool>("returnToPlayer");
    QTest::addColumn<QStringList>("folders");
    QTest::newRow("none") << QStringList{} << false << QStringList{};
    QTest::newRow("/R alone") << L(u"/R") << true << QStringList{};
    QTest::newRow("/r beside folders") << L(u"/m/a|/r|/m/b/") << true << L(u"/m/a|/m/b");
    QTest::newRow("blanks around") << L(u"  /R |  /m/a ") << true << L(u"/m/a");
    QTest::newRow("each once, cleaned") << L(u"/m/a|/m/./a/|/m/x/../b") << false << L(u"/m/a|/m/b");
    QTest::newRow("relative") << L(u"music") << false
                              << QStringList{QDir::currentPath() + u"/music"_s};
    QTest::newRow("a folder named R") << L(u"/R/") << false << L(u"/R");
    QTest::newRow("blank arguments") << L(u"|  ") << false << QStringList{};
  }
  void parsesCommandLine() {
    QFETCH(QStringList, arguments);
    QFETCH(bool, returnToPlayer);
    QFETCH(QStringList, folders);
    const lyrova::ScannerArguments parsed = lyrova::ParseScannerArguments(arguments);
    QCOMPARE(parsed.returnToPlayer, returnToPlayer);
    QCOMPARE(parsed.folders, folders);
  }

  void unreadableFolderYieldsOnlyItsFindingDir();
  void doesNotEnterOtherMountPoints();
  void doesNotCrossIntoOtherDevices();
  void survivesVeryDeepTree();
};

namespace {

// The events of a DirScan of `root` as lines, run as an unprivileged user when the tests run
// as root (who could read any folder).
QStringList ScanAsUser(const QString& root) {
  auto run = [&root] {
    DrvScan scan;
    scan.SetMountSource([] { return QList<lyrova::MountEntry>(); });
    scan.SetScanPath(root);
    scan.SetScanName(QStringLiteral("*.lrc"));
    ScanRecorder recorder(scan, root);
    scan.DirScan();
    return recorder.events;
  };
  if (::geteuid() != 0) return run();
  int pipeFds[2];
  if (::pipe(pipeFds) != 0) return {QStringLiteral("pipe failed")};
  const pid_t child = ::fork();
  if (child == 0) {
    ::close(pipeFds[0]);
    if (::setgid(65534) != 0 || ::setuid(65534) != 0) ::_exit(3);
    const QByteArray out = run().join(u'\n').toUtf8();
    const bool ok = ::write(pipeFds[1], out.constData(), size_t(out.size())) == out.size();
    ::_exit(ok ? 0 : 4);
  }
  ::close(pipeFds[1]);
  QByteArray out;
  char chunk[4096];
  ssize_t got;
  while ((got = ::read(pipeFds[0], chunk, sizeof chunk)) > 0) out.append(chunk, got);
  ::close(pipeFds[0]);
  int status = 0;
  ::waitpid(child, &status, 0);
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return {QStringLiteral("child failed")};
  return QString::fromUtf8(out).split(u'\n');
}

}  // namespace

void TestScanWalk::unreadableFolderYieldsOnlyItsFindingDir() {
  ScanTree tree;
  QVERIFY(tree.Make(L(u"open/x.lrc|locked/y.lrc|locked/sub/")));
  QVERIFY(::chmod(QFile::encodeName(tree.Root()).constData(), 0755) == 0);
  QVERIFY(::chmod(QFile::encodeName(tree.Expand(QStringLiteral("$/locked"))).constData(), 0) == 0);
  QStringList events = ScanAsUser(tree.Root());
  ::chmod(QFile::encodeName(tree.Expand(QStringLiteral("$/locked"))).constData(), 0755);
  QCOMPARE(events.size(), 4);
  QCOMPARE(events.first(), QStringLiteral("D:$/"));
  QVERIFY(events.contains(QStringLiteral("D:$/locked/")));
  const qsizetype open = events.indexOf(QStringLiteral("D:$/open/"));
  QVERIFY(open > 0);
  QCOMPARE(events.value(open + 1), QStringLiteral("N:$/open/>x.lrc"));
}

void TestScanWalk::doesNotEnterOtherMountPoints() {
  // A bind mount has the device of the folder it sits in; only the mount table tells it.
  ScanTree tree;
  QVERIFY(tree.Make(L(u"a/x.lrc|a/mnt/y.lrc|b/z.lrc")));
  DrvScan scan;
  scan.SetScanPath(tree.Root());
  scan.SetScanName(QStringLiteral("*.lrc"));
  const QString mounted = tree.Expand(QStringLiteral("$/a/mnt"));
  const QString start = tree.Root();
  scan.SetMountSource([mounted, start] {
    return QList<lyrova::MountEntry>{{8, 1, QStringLiteral("/"), start, QStringLiteral("ext4"), {}},
                                     {8, 1, QStringLiteral("/x"), mounted, QStringLiteral("ext4"), {}}};
  });
  ScanRecorder recorder(scan, tree.Root());
  scan.DirScan();
  QCOMPARE(recorder.Count(u'D'), 3);
  QVERIFY(!recorder.events.join(u' ').contains(QStringLiteral("mnt/")));
  QVERIFY(recorder.events.contains(QStringLiteral("N:$/b/>z.lrc")));
}

void TestScanWalk::doesNotCrossIntoOtherDevices() {
  // With no mount table at all, the device number alone keeps the walk on its file system.
  QStringList below;
  for (const lyrova::MountEntry& entry : lyrova::ReadMountTable())
    if (entry.mountPoint.startsWith(QStringLiteral("/dev/"))) below.append(entry.mountPoint + u'/');
  if (below.isEmpty()) QSKIP("no mount below /dev on this machine");
  DrvScan scan;
  scan.SetMountSource([] { return QList<lyrova::MountEntry>(); });
  scan.SetScanPath(QStringLiteral("/dev"));
  scan.SetScanName(QStringLiteral("*.lrc"));
  ScanRecorder recorder(scan, QStringLiteral("/dev"));
  scan.DirScan();
  QVERIFY(recorder.Count(u'D') >= 1);
  for (const QString& event : std::as_const(recorder.events))
    for (const QString& point : std::as_const(below))
      QVERIFY2(!event.startsWith(QStringLiteral("D:$") + point.mid(4)), qPrintable(event));
}

void TestScanWalk::survivesVeryDeepTree() {
  constexpr int kDepth = 10000;
  // Ten thousand folders are made much faster in memory than on a disk.
  const QString memory = u"/dev/shm"_s;
  const bool inMemory = QFileInfo(memory).isDir() && QFileInfo(memory).isWritable();
  ScanTree tree = inMemory ? ScanTree(memory) : ScanTree();
  QVERIFY(tree.IsValid());
  QCOMPARE(tree.MakeChain(QStringLiteral("deep"), kDepth, "x.lrc"), kDepth);
  // A second branch after the deep one, so the walk must come all the way back up.
  QVERIFY(tree.Make(L(u"zz/y.lrc")));
  DrvScan scan;
  Prepare(scan, tree, QStringLiteral("*.lrc"));
  int dirs = 0;
  int deepest = 0;
  QStringList names;
  QObject::connect(&scan, &DrvScan::FindingDir, [&](const QString& dir) {
    ++dirs;
    deepest = std::max(deepest, int(dir.count(u'/')));
  });
  QObject::connect(&scan, &DrvScan::FindingName, [&](const QString& dir, const QString& name) {
    names.append(name + u'@' + QString::number(dir.count(u'/')));
  });
  scan.DirScan();
  const int rootSlashes = int(QString(tree.Root() + u'/').count(u'/'));
  tree.RemoveChain(QStringLiteral("deep"));
  QCOMPARE(dirs, 1 + kDepth + 1);
  QCOMPARE(deepest, rootSlashes + kDepth);
  names.sort();
  QCOMPARE(names, QStringList({QStringLiteral("x.lrc@%1").arg(rootSlashes + kDepth),
                               QStringLiteral("y.lrc@%1").arg(rootSlashes + 1)}));
}

QTEST_GUILESS_MAIN(TestScanWalk)
#include "tst_scan_walk.moc"
