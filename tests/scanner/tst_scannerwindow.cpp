// The Scanner window under the offscreen platform: what it shows, the scan and its questions,
// stopping, closing at any moment and the start of the Player.
#include "scannerfixture.h"
#include "tests/common/filesizelimit.h"

#include "scanner/window/scannertexts.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

using lyrova::PromptKind;
using namespace Qt::StringLiterals;
namespace texts = lyrova::scannertexts;

class TestScannerWindow : public QObject {
  Q_OBJECT

 private slots:
  void startsIdleWithTheFileLoaded() {
    ScannerFixture f;
    QVERIFY(f.tree.Make(L(u"disk/A/|disk/B/")));
    QVERIFY(f.tree.WriteBytes(u"$/data/LrcDir.ini"_s,
                              f.tree.Expand(u"$/disk/B\r\n$/gone\r\n$/disk/A/\r\n$/disk/B\r\n"_s).toUtf8()));
    auto& w = f.Open();
    QCOMPARE(w.windowTitle(), u"Scoutel"_s);
    QCOMPARE(w.Command2()->text(), u"点击这里开始自动添加,如果你打开了《Lyrova》,请先关闭后再点击"_s);
    QCOMPARE(w.Check1()->text(), u"搜索光驱"_s);
    QVERIFY(w.Check1()->isEnabled());
    QVERIFY(!w.Check1()->isChecked());
    QCOMPARE(w.Text1(0)->text(), u"尚未搜索"_s);
    QCOMPARE(w.Text1(1)->text(), u"2"_s);
    QCOMPARE(w.Text1(2)->text(), u"0"_s);
    QCOMPARE(f.Rows(), f.tree.Expand(L(u"$/disk/B|$/disk/A")));
    QVERIFY(!w.windowIcon().isNull());
  }

  void completeScanAsksAndCloses_data() {
    QTest::addColumn<QString>("commandLine");
    QTest::addColumn<bool>("answer");
    QTest::addColumn<bool>("playerPresent");
    QTest::addColumn<bool>("started");
    QTest::newRow("by hand, Yes") << u""_s << true << true << true;
    QTest::newRow("by hand, No") << u""_s << false << true << false;
    QTest::newRow("/R, No") << u"/R"_s << false << true << true;
    QTest::newRow("/r in small letters with blanks, No") << u"  /r "_s << false << true << true;
    QTest::newRow("Yes without the Player") << u""_s << true << false << false;
  }
  void completeScanAsksAndCloses() {
    QFETCH(QString, commandLine);
    QFETCH(bool, answer);
    QFETCH(bool, playerPresent);
    QFETCH(bool, started);
    ScannerFixture f(commandLine, playerPresent);
    QVERIFY(f.tree.Make(L(u"disk/Music/a.lrc|disk/Music/b.lrc|disk/Music/sub/c.lrc|disk/x/")));
    auto& w = f.Open();
    f.prompts.AnswerQuestion(answer);
    w.Command2()->click();

    QVERIFY(!w.isVisible());
    QCOMPARE(f.prompts.ShownCount(PromptKind::Question), 1);
    const lyrova::ShownPrompt question = f.prompts.Shown().first();
    QCOMPARE(question.text, u"搜索完毕,你要打开《Lyrova》吗"_s);
    QCOMPARE(question.title, u"提示"_s);
    // Music once (after its first file), then its subfolder.
    const QStringList found = f.tree.Expand(L(u"$/disk/Music|$/disk/Music/sub"));
    QCOMPARE(f.Rows(), found);
    QCOMPARE(f.FileLines(), found);
    QCOMPARE(w.Text1(1)->text(), u"2"_s);
    QCOMPARE(w.Text1(2)->text(), u"4"_s);  // disk, Music, sub and x entered
    QVERIFY(w.Text1(0)->text().startsWith(f.tree.Expand(u"$/disk/"_s)));

    const QString player = f.tree.Expand(u"$/bin/lyrova"_s);
    QCOMPARE(f.launcher.started, started ? QStringList{player + u'|'} : QStringList{});
    const bool wanted = answer || TrimmedIsR(commandLine);
    if (wanted && !playerPresent) {
      QCOMPARE(f.prompts.ShownCount(PromptKind::Message), 1);
      const lyrova::ShownPrompt message = f.prompts.Last();
      QCOMPARE(message.text, u"找不到《Lyrova》的运行文件，文件\" "_s + player + u"\" 可能被改名或丢失"_s);
      QCOMPARE(message.title, u"错误"_s);
      QCOMPARE(message.icon, lyrova::MessageIcon::Critical);
    } else {
      QCOMPARE(f.prompts.ShownCount(PromptKind::Message), 0);
    }
  }

  // Folders on the command line: only they are scanned, "/R" beside them still starts the
  // Player, and a named folder that is not there is said and left out.
  void scansNamedFolders() {
    ScannerFixture f(u"$/disk/Music /r $/gone $/disk/Music/a.lrc"_s);
    QVERIFY(f.tree.Make(L(u"disk/Music/a.lrc|disk/Music/sub/c.lrc|disk/Other/d.lrc|cd/L/x.lrc")));
    auto& w = f.Open();
    QVERIFY(!w.Check1()->isEnabled());
    QTRY_COMPARE(f.prompts.ShownCount(PromptKind::Message), 1);
    const lyrova::ShownPrompt missing = f.prompts.Last();
    QCOMPARE(missing.text, u"找不到要搜索的文件夹\""_s + f.tree.Expand(u"$/gone"_s) + u"\",已跳过\n"_s +
                               u"找不到要搜索的文件夹\""_s + f.tree.Expand(u"$/disk/Music/a.lrc"_s) +
                               u"\",已跳过"_s);
    QCOMPARE(missing.title, u"提示"_s);
    QCOMPARE(missing.icon, lyrova::MessageIcon::Information);

    f.prompts.AnswerQuestion(false);
    w.Command2()->click();
    QVERIFY(!w.isVisible());
    const QStringList found = f.tree.Expand(L(u"$/disk/Music|$/disk/Music/sub"));
    QCOMPARE(f.Rows(), found);
    QCOMPARE(f.FileLines(), found);
    QCOMPARE(w.Text1(2)->text(), u"2"_s);
    QCOMPARE(f.prompts.ShownCount(PromptKind::Message), 1);
    QCOMPARE(f.launcher.started, QStringList{f.tree.Expand(u"$/bin/lyrova|"_s)});
  }

  // A list that cannot be written is said, with its reason, instead of the closing question;
  // the old list stays as it was.
  void failedSaveIsSaid() {
    ScannerFixture f;
    QVERIFY(f.tree.Make(L(u"disk/Music/a.lrc|disk/Music/sub/c.lrc")));
    QVERIFY(lyrova::WriteTextLines(f.DirFile(), {f.tree.Expand(u"$/disk"_s)}));
    auto& w = f.Open();
    {
      const lyrova::testing::FileSizeLimit limit(16);
      QVERIFY(limit.Active());
      w.Command2()->click();
    }
    QVERIFY(w.isVisible());
    QCOMPARE(f.prompts.ShownCount(PromptKind::Question), 0);
    QCOMPARE(f.prompts.ShownCount(PromptKind::Message), 1);
    QCOMPARE(f.prompts.Last().text, u"保存歌词目录列表时遇到错误,磁盘空间不足，无法保存"_s);
    QCOMPARE(f.prompts.Last().icon, lyrova::MessageIcon::Critical);
    QCOMPARE(f.FileLines(), f.tree.Expand(L(u"$/disk")));
    // With room again, closing saves what was found.
    w.close();
    QCOMPARE(f.prompts.ShownCount(PromptKind::Message), 1);
    QCOMPARE(f.FileLines(), f.tree.Expand(L(u"$/disk|$/disk/Music|$/disk/Music/sub")));
  }

  void searchesDrivesByOption_data() {
    QTest::addColumn<bool>("optical");
    QTest::addColumn<QStringList>("found");
    QTest::newRow("without optical drives") << false << L(u"$/disk/L");
    QTest::newRow("with optical drives") << true << L(u"$/cd/L|$/disk/L");
  }
  void searchesDrivesByOption() {
    QFETCH(bool, optical);
    QFETCH(QStringList, found);
    ScannerFixture f;
    QVERIFY(f.tree.Make(L(u"disk/L/a.lrc|stick/L/b.lrc|cd/L/c.lrc")));
    auto& w = f.Open();
    w.Check1()->setChecked(optical);
    bool disabledWhileScanning = false;
    connect(&w.LrcScan(), &lyrova::DrvScan::FindingDir, this, [&] {
      disabledWhileScanning = !w.Check1()->isEnabled() &&
                              w.Command2()->text() == texts::ScanningButton() && w.Scanning();
    });
    f.prompts.AnswerQuestion(false);
    w.Command2()->click();
    QVERIFY(disabledWhileScanning);
    QCOMPARE(f.Rows(), f.tree.Expand(found));
  }

  void keepsFoldersAlreadyListed() {
    ScannerFixture f;
    QVERIFY(f.tree.Make(L(u"disk/Old/a.lrc|disk/New/b.lrc|elsewhere/")));
    QVERIFY(f.tree.WriteBytes(u"$/data/LrcDir.ini"_s,
                              f.tree.Expand(u"$/elsewhere\r\n$/disk/Old/\r\n"_s).toUtf8()));
    auto& w = f.Open();
    f.prompts.AnswerQuestion(false);
    w.Command2()->click();
    QCOMPARE(f.FileLines(), f.tree.Expand(L(u"$/elsewhere|$/disk/Old|$/disk/New")));
    QCOMPARE(f.Rows(), f.FileLines());
  }

  void stopAsksFirst_data() {
    QTest::addColumn<bool>("confirm");
    QTest::newRow("Yes stops") << true;
    QTest::newRow("No goes on") << false;
  }
  void stopAsksFirst() {
    QFETCH(bool, confirm);
    ScannerFixture f;
    QVERIFY(f.tree.Make(L(u"disk/a/x.lrc|disk/a/b/y.lrc|disk/a/b/c/z.lrc")));
    auto& w = f.Open();
    int dirs = 0;
    connect(&w.LrcScan(), &lyrova::DrvScan::FindingDir, this, [&] {
      // The click while the walk is inside disk/a/b: disk/a was found already.
      if (++dirs == 3) w.Command2()->click();
    });
    f.prompts.AnswerQuestion(confirm);
    if (!confirm) f.prompts.AnswerQuestion(false);  // the closing question after the end
    w.Command2()->click();

    const lyrova::ShownPrompt stop = f.prompts.Shown().first();
    QCOMPARE(stop.text, u"尚未搜索完毕,你真的要中止搜索吗"_s);
    QCOMPARE(stop.title, u"提示"_s);
    QCOMPARE(stop.preselected, lyrova::DefaultAnswer::No);
    if (confirm) {
      QCOMPARE(dirs, 3);  // nothing after the stop
      QVERIFY(w.isVisible());
      QVERIFY(w.Stopped());
      QCOMPARE(w.Command2()->text(), texts::IdleButton());
      QVERIFY(w.Check1()->isEnabled());
      QCOMPARE(f.prompts.ShownCount(PromptKind::Question), 1);
      const QStringList sofar = f.tree.Expand(L(u"$/disk/a"));
      QCOMPARE(f.Rows(), sofar);
      QCOMPARE(f.FileLines(), sofar);
      // A new scan from the idle window runs to its end.
      f.prompts.AnswerQuestion(false);
      dirs = 100;
      w.Command2()->click();
      QVERIFY(!w.isVisible());
    } else {
      QCOMPARE(dirs, 4);
      QVERIFY(!w.isVisible());
      QCOMPARE(f.prompts.ShownCount(PromptKind::Question), 2);
    }
    // Stopped or not, the scan that ran to its end found all three.
    QCOMPARE(f.FileLines(), f.tree.Expand(L(u"$/disk/a|$/disk/a/b|$/disk/a/b/c")));
    QVERIFY(f.launcher.started.isEmpty());
  }

  void closingMidScanStopsIt_data() {
    QTest::addColumn<QString>("commandLine");
    QTest::addColumn<int>("starts");
    QTest::newRow("by hand") << u""_s << 0;
    QTest::newRow("/R") << u"/R"_s << 1;
  }
  void closingMidScanStopsIt() {
    QFETCH(QString, commandLine);
    QFETCH(int, starts);
    ScannerFixture f(commandLine);
    QVERIFY(f.tree.Make(L(u"disk/a/x.lrc|disk/a/b/y.lrc|disk/a/b/c/z.lrc")));
    auto& w = f.Open();
    int dirs = 0;
    connect(&w.LrcScan(), &lyrova::DrvScan::FindingDir, this, [&] {
      if (++dirs == 3) w.close();
    });
    w.Command2()->click();
    QCOMPARE(dirs, 3);
    QVERIFY(!w.isVisible());
    QVERIFY(!w.LrcScan().IsBusy());
    QCOMPARE(f.prompts.ShownCount(PromptKind::Question), 0);
    QCOMPARE(f.FileLines(), f.tree.Expand(L(u"$/disk/a")));
    QCOMPARE(f.launcher.started.size(), starts);
  }

  void closingWithoutScanning_data() {
    QTest::addColumn<QString>("commandLine");
    QTest::addColumn<int>("starts");
    QTest::newRow("/r starts the Player") << u"/r"_s << 1;
    QTest::newRow("no arguments do not") << u""_s << 0;
  }
  void closingWithoutScanning() {
    QFETCH(QString, commandLine);
    QFETCH(int, starts);
    ScannerFixture f(commandLine);
    auto& w = f.Open();
    w.close();
    w.close();  // a second close starts nothing more
    QCOMPARE(f.launcher.started.size(), starts);
    QVERIFY(!QFile::exists(f.DirFile()));
  }

  // During a scan the file lags the list by less than a second.
  void fileFollowsTheScan() {
    ScannerFixture f;
    QVERIFY(f.tree.Make(L(u"disk/a/x.lrc|disk/b/y.lrc|disk/c/z.lrc")));
    auto& w = f.Open();
    QStringList seen;
    connect(&w.LrcScan(), &lyrova::DrvScan::FindingDir, this, [&] {
      QTest::qWait(700);
      seen.append(QString::number(w.Dirs().Count()) + u':' +
                  QString::number(f.FileLines().size() * (f.FileLines() == w.Dirs().Dirs())));
    });
    f.prompts.AnswerQuestion(false);
    w.Command2()->click();
    // Before each folder's events the file holds everything found before it.
    QCOMPARE(seen.mid(2), L(u"1:1|2:2"));
    QCOMPARE(f.FileLines().size(), 3);
  }

 private:
  static bool TrimmedIsR(const QString& text) {
    return text.trimmed().compare(u"/R", Qt::CaseInsensitive) == 0;
  }
};

QTEST_MAIN(TestScannerWindow)
#include "tst_scannerwindow.moc"
