#include "playerfixture.h"

#include "common/commandline.h"
#include "common/displaytext.h"
#include "common/fileio.h"
#include "player/lookup/lyricslookup.h"
#include "player/window/bars.h"

#include <QAction>
#include <QPaintEvent>
#include <QScreen>
#include <QTest>

using namespace lyrova;

namespace {

// Lines at 1 s, 3 s (twice, same time), 6 s; the Player adds an empty line at 0.
const QByteArray kLyrics =
    "[ti:Test]\r\n[00:01.00]one\r\n[00:03.00]two a\r\n[00:03.00]two b\r\n[00:06.00]three\r\n";

// Gathers the parts of a widget its paint events covered.
class PaintedParts : public QObject {
 public:
  explicit PaintedParts(QWidget* widget) { widget->installEventFilter(this); }
  QRegion region;

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint) region += static_cast<QPaintEvent*>(event)->region();
    return false;
  }
};

}  // namespace

class TestPlayerPlayback : public QObject {
  Q_OBJECT

 private slots:
  void commandLineSongPlaysWithItsLyrics() {
    PlayerFixture f;
    const QString song = f.Song(QStringLiteral("歌 one.mp3"), 10'000);
    PlayerFixture::Write(f.root.filePath(QStringLiteral("music/歌 one.lrc")), kLyrics);
    f.settings.WriteBoolSetting(playerkeys::kBilingual, false);
    // The name holds a blank, so the shell hands it over in two pieces; quotes are allowed.
    const qsizetype blank = song.indexOf(u' ');
    PlayerWindow& w = f.Start({u'"' + song.left(blank), song.mid(blank + 1) + u'"'});
    QCOMPARE(w.Session().OpenName(), song);
    QVERIFY(w.Session().LyricsLoaded());
    QVERIFY(f.media.IsOpen());
    QVERIFY(f.media.IsPlaying());
    QVERIFY(w.Session().PlaybackTimer().isActive());
    QCOMPARE(w.Session().Lyrics().count(), 5);

    f.PlayFor(500);
    QCOMPARE(w.CurrentLineText(), QString());
    QCOMPARE(w.NextLineText(), u"one"_qs);
    QCOMPARE(w.StatusText(), u"00:00/00:10"_qs);
    f.PlayFor(500);
    QCOMPARE(w.CurrentLineText(), u"one"_qs);
    QCOMPARE(w.NextLineText(), u"two a"_qs);
    f.PlayFor(2'000);  // exactly 3 s: the first of the two equal lines
    QCOMPARE(w.CurrentLineText(), u"two a"_qs);
    f.PlayFor(10);  // beyond 3 s: the second
    QCOMPARE(w.CurrentLineText(), u"two b"_qs);
    QCOMPARE(w.NextLineText(), u"three"_qs);
    f.PlayFor(4'000);
    QCOMPARE(w.CurrentLineText(), u"three"_qs);
    QCOMPARE(w.NextLineText(), QString());
    // After the last line the span to the "next line" runs to the end of the song.
    QCOMPARE(w.Session().Cursor().nextLineTime, 10'000);
    QCOMPARE(f.echoed, u"\none\ntwo a\ntwo b\nthree\n"_qs);
  }

  // A line of megabytes: both labels show its start ending in "…"; the document, the echo and
  // chat sending keep the whole line.
  void longLineShownCutPassedOnWhole() {
    PlayerFixture f;
    const QString song = f.Song(QStringLiteral("long.mp3"), 10'000);
    const QString line = u"la la 月光照在河面上"_qs.repeated(250'000);
    PlayerFixture::Write(f.root.filePath(QStringLiteral("music/long.lrc")),
                         "[00:01.00]" + line.toUtf8() + "\r\n[00:02.00]next\r\n");
    f.hooks.sending = true;
    PlayerWindow& w = f.Start({song});
    const auto isLineStart = [&line](const QString& shown) {
      return shown.size() == kDisplayTextChars && shown.endsWith(u'…') && line.startsWith(shown.chopped(1));
    };
    QVERIFY(isLineStart(w.NextLineText()));
    f.PlayFor(1'000);
    QVERIFY(isLineStart(w.CurrentLineText()));
    QCOMPARE(w.NextLineText(), u"next"_qs);
    QVERIFY(w.Session().Lyrics().lines[1].text == line);
    QVERIFY(f.echoed == u'\n' + line + u'\n');
    QVERIFY(f.hooks.sent.contains(line));
  }

  void shiftByMenuAndKeys() {
    PlayerFixture f;
    const QString song = f.Song(QStringLiteral("a.mp3"), 10'000);
    PlayerFixture::Write(f.root.filePath(QStringLiteral("music/a.lrc")), kLyrics);
    PlayerWindow& w = f.Start({song});
    f.PlayFor(500);
    QCOMPARE(w.CurrentLineText(), QString());
    // Advancing the lyrics by 0.5 s shows "one" at 0.5 s of media time.
    w.LA2x()[0]->trigger();
    QCOMPARE(w.Session().SyncOffset(), 500);
    QCOMPARE(w.CurrentLineText(), u"one"_qs);
    w.LA2x()[29]->trigger();
    QCOMPARE(w.Session().SyncOffset(), 15'000);
    w.RunButton(PlayerButton::ShiftTiming);
    QVERIFY(w.LA2x()[29]->isChecked());
    QCOMPARE(w.LA2()->title(), u"歌词提前↑: 15 秒"_qs);
    QVERIFY(!w.LA1()->isChecked());
    w.LA3x()[1]->trigger();
    QCOMPARE(w.Session().SyncOffset(), -1'000);
    w.LA1()->trigger();
    QCOMPARE(w.Session().SyncOffset(), 0);

    // Each key-down steps 0.5 s at once; the label tells the shift.
    QTest::keyPress(&w, Qt::Key_Down);
    QCOMPARE(w.Session().SyncOffset(), -500);
    QCOMPARE(w.HintText(), u"减慢 00.5秒"_qs);
    QVERIFY(w.Session().ShiftTimer().isActive());
    QTest::keyRelease(&w, Qt::Key_Down);
    w.Session().StepShiftByKey();  // the repeat tick after release stops and restores the status
    QVERIFY(!w.Session().ShiftTimer().isActive());
    QVERIFY(!w.HintShown());
    for (int i = 0; i < 300; ++i) QTest::keyPress(&w, Qt::Key_Up);
    QCOMPARE(w.Session().SyncOffset(), 120'000);
    QCOMPARE(w.HintText(), u"加快 120.0秒"_qs);
    // A shift beyond the menu's range checks no item.
    w.SetOffsetMenus(16'000);
    for (QAction* item : w.LA2x()) QVERIFY(!item->isChecked());
  }

  void stopAndPlayReloadsTheSong() {
    PlayerFixture f;
    const QString song = f.Song(QStringLiteral("a.mp3"), 10'000);
    PlayerWindow& w = f.Start({song});
    QCOMPARE(w.Session().LyricsPath(), QString());
    w.RunButton(PlayerButton::Stop);
    QVERIFY(!f.media.IsOpen());
    QCOMPARE(w.StatusText(), u"播放已停止"_qs);
    QCOMPARE(w.NextLineText(), u"歌词未找到"_qs);
    // Lyrics that appeared meanwhile are found by the next Play.
    PlayerFixture::Write(f.root.filePath(QStringLiteral("music/A.LRC")), kLyrics);
    w.RunButton(PlayerButton::Play);
    QVERIFY(f.media.IsPlaying());
    QVERIFY(w.Session().LyricsLoaded());
    QCOMPARE(w.Session().LyricsPath(), f.root.filePath(QStringLiteral("music/A.LRC")));
  }

  // Lyrics written while the song plays (as the Editor saves them, again, and by a link) are
  // shown within a second, without a stop or reload and without sending the line again; the
  // reload menu item looks for lyrics that were not found before.
  void lyricsArriveWhilePlaying() {
    PlayerFixture f;
    const QString song = f.Song(QStringLiteral("a.mp3"), 10'000);
    PlayerWindow& w = f.Start({song});
    f.hooks.sending = true;
    f.PlayFor(1'500);
    QCOMPARE(w.NextLineText(), u"歌词未找到"_qs);
    QString error;
    const QString beside = f.root.filePath(QStringLiteral("music/a.lrc"));
    QVERIFY(WriteWholeFile(beside, kLyrics, &error));
    QTRY_COMPARE_WITH_TIMEOUT(w.CurrentLineText(), u"one"_qs, 1000);
    QCOMPARE(w.NextLineText(), u"two a"_qs);
    QCOMPARE(w.Session().LyricsPath(), beside);
    QVERIFY(f.media.IsPlaying());
    QVERIFY(w.Session().PlaybackTimer().isActive());
    QVERIFY(WriteWholeFile(beside, "[00:01.00]uno\r\n[00:04.00]dos\r\n", &error));
    QTRY_COMPARE_WITH_TIMEOUT(w.CurrentLineText(), u"uno"_qs, 1000);
    QCOMPARE(w.NextLineText(), u"dos"_qs);
    const QString linked = f.root.filePath(QStringLiteral("linked.lrc"));
    QVERIFY(WriteWholeFile(linked, "[00:01.00]linked\r\n", &error));
    QVERIFY(LyricsLookup(f.DataFolder()).SetLink(song, linked));
    QTRY_COMPARE_WITH_TIMEOUT(w.CurrentLineText(), u"linked"_qs, 1000);
    f.PlayFor(3'000);
    QCOMPARE(w.CurrentLineText(), u"linked"_qs);  // the tick goes on with the new lyrics
    QCOMPARE(f.hooks.sent, QStringList());

    const QString other = f.Song(QStringLiteral("b.mp3"), 10'000);
    w.OpenDroppedFile(other);
    QCOMPARE(w.Session().LyricsPath(), QString());
    const QString otherLyrics = f.root.filePath(QStringLiteral("music/b.lrc"));
    QVERIFY(WriteWholeFile(otherLyrics, kLyrics, &error));
    // Before the watch can have seen the file: the menu item alone finds it.
    w.SetMenu()->findChild<QAction*>(QStringLiteral("RestLrc_M"))->trigger();
    QCOMPARE(w.Session().LyricsPath(), otherLyrics);
    QVERIFY(w.Session().LyricsLoaded());
    QCOMPARE(w.Session().Lyrics().count(), 5);
  }

  void openByDialogAndDrop() {
    PlayerFixture f;
    const QString first = f.Song(QStringLiteral("first.mp3"), 10'000);
    const QString second = f.Song(QStringLiteral("second.ogg"), 8'000);
    PlayerWindow& w = f.Start();
    QCOMPARE(w.Session().OpenName(), QString());
    f.prompts.AnswerFiles({first});
    w.RunButton(PlayerButton::Open);
    const ShownPrompt shown = f.prompts.Last();
    QCOMPARE(shown.kind, PromptKind::OpenFile);
    QCOMPARE(shown.request.title, u"打开音频文件"_qs);
    QCOMPARE(shown.request.startFolder, f.root.path());  // the stored folder does not exist yet
    QCOMPARE(shown.request.nameFilters.value(0).left(5), u"全部音频 "_qs);
    QVERIFY(shown.request.nameFilters.value(0).contains(u" *.flac "_qs));
    QVERIFY(shown.request.fileMustExist);
    QCOMPARE(w.Session().OpenName(), first);
    QCOMPARE(w.Session().OpenDir(), f.root.filePath(QStringLiteral("music")));
    QVERIFY(f.media.IsPlaying());
    // No lyrics and the offer is on: the link dialog was asked for.
    QCOMPARE(f.hooks.linkDialogs, QStringList{first});

    f.prompts.CancelFileDialog();
    w.RunButton(PlayerButton::Open);
    QCOMPARE(w.Session().OpenName(), first);
    QVERIFY(f.media.IsPlaying());

    w.Session().SetShift(1'500);
    w.OpenDroppedFile(second);
    QCOMPARE(w.Session().OpenName(), second);
    QCOMPARE(w.Session().SyncOffset(), 0);
    QCOMPARE(f.media.MediaLength(), 8'000);
    w.OpenDroppedFile(f.root.filePath(QStringLiteral("missing.mp3")));
    QCOMPARE(w.Session().OpenName(), second);
    QVERIFY(!f.prompts.Unanswered());
  }

  void settingsAreWrittenAtShutdown() {
    PlayerFixture f;
    f.settings.WriteSetting(QStringLiteral("Volume"), QStringLiteral("1200"));
    const QString song = f.Song(QStringLiteral("a.mp3"), 10'000);
    {
      PlayerWindow& w = f.Start({song});
      QCOMPARE(w.Session().Volume(), 1000);
      w.resize(600, w.height());
      w.close();
    }
    QVERIFY(!f.media.IsOpen());
    QCOMPARE(f.settings.ReadSetting(QStringLiteral("Volume"), QString()), u"1000"_qs);
    QCOMPARE(f.settings.ReadSetting(QStringLiteral("Width"), QString()), u"9000"_qs);
    QCOMPARE(f.settings.ReadSetting(QStringLiteral("OpenName"), QString()), song);
    QCOMPARE(f.settings.ReadSetting(QStringLiteral("SendType"), QString()), u"0"_qs);
    // A restart without a command line does not reopen the song.
    PlayerWindow& again = f.Start();
    QCOMPARE(again.Session().OpenName(), QString());
    QVERIFY(!f.media.IsOpen());
    QCOMPARE(again.width(), 600);
  }

  // The offscreen platform has no real screen: 4096 px is the most a window may take.
  void storedWidthIsFittedAndRepaired_data() {
    QTest::addColumn<QString>("stored");
    QTest::addColumn<int>("width");
    QTest::addColumn<QString>("storedAfterStart");
    QTest::newRow("absurd") << u"99999999999"_qs << 4096 << u"61440"_qs;
    QTest::newRow("no number") << u"abc"_qs << 500 << u"7500"_qs;
    QTest::newRow("negative") << u"-4500"_qs << 500 << u"7500"_qs;
    QTest::newRow("below the minimum") << u"30"_qs << 379 << u"5685"_qs;
    QTest::newRow("usable, kept as written") << u"9010"_qs << 600 << u"9010"_qs;
  }
  void storedWidthIsFittedAndRepaired() {
    QFETCH(QString, stored);
    QFETCH(int, width);
    QFETCH(QString, storedAfterStart);
    PlayerFixture f;
    f.settings.WriteSetting(QStringLiteral("Width"), stored);
    PlayerWindow& w = f.Start();
    QCOMPARE(w.width(), width);
    QCOMPARE(f.settings.ReadSetting(QStringLiteral("Width"), QString()), storedAfterStart);
    w.close();
    QCOMPARE(f.settings.ReadSetting(QStringLiteral("Width"), QString()), QString::number(width * 15));
  }

  // With --quit-at-end a song that cannot be opened ends the Player before its window shows;
  // a song without lyrics is no such failure, and without the option nothing ends.
  void quitAtEndGivesUpOnASongThatCannotOpen_data() {
    QTest::addColumn<bool>("quitAtEnd");
    QTest::addColumn<QString>("song");  // a name in the music folder; "" for none
    QTest::addColumn<QString>("reason");
    QTest::newRow("missing") << true << u"missing.mp3"_qs << u"音频文件\"%1\"找不到"_qs;
    QTest::newRow("not audio") << true << u"notes.mp3"_qs << u"无法打开音频文件 %1"_qs;
    QTest::newRow("no song") << true << QString() << u"没有指定音频文件"_qs;
    QTest::newRow("plays without lyrics") << true << u"a.mp3"_qs << QString();
    QTest::newRow("not audio, without the option") << false << u"notes.mp3"_qs << QString();
  }
  void quitAtEndGivesUpOnASongThatCannotOpen() {
    QFETCH(bool, quitAtEnd);
    QFETCH(QString, song);
    QFETCH(QString, reason);
    PlayerFixture f;
    f.quitAtEnd = quitAtEnd;
    f.Song(QStringLiteral("a.mp3"), 4'000);
    PlayerFixture::Write(f.root.filePath(QStringLiteral("music/notes.mp3")), "no audio here");
    const QString path = song.isEmpty() ? QString() : f.root.filePath(u"music/"_qs + song);
    PlayerWindow& w = f.Start(song.isEmpty() ? QStringList() : QStringList{path});
    QCOMPARE(f.songFailures, reason.isEmpty() ? QStringList() : QStringList{reason.arg(path)});
    QCOMPARE(w.Session().SongFailed(), !reason.isEmpty());
    QCOMPARE(w.isVisible(), reason.isEmpty());
    QCOMPARE(f.media.IsPlaying(), song == u"a.mp3");
    QCOMPARE(f.prompts.ShownCount(PromptKind::Message), 0);
  }

  // A name whose bytes are not UTF-8 decodes to another name (here one that exists): it is
  // refused with a message, never opened in its stead.
  void unreadableCommandLineNameIsRefused_data() {
    QTest::addColumn<bool>("quitAtEnd");
    QTest::newRow("message") << false;
    QTest::newRow("quit at end") << true;
  }
  void unreadableCommandLineNameIsRefused() {
    QFETCH(bool, quitAtEnd);
    PlayerFixture f;
    f.quitAtEnd = quitAtEnd;
    const QString lookalike = f.Song(u"song\uFFFD.mp3"_qs, 4'000);
    const QByteArray bytes = QFile::encodeName(f.root.filePath(QStringLiteral("music/song"))) + "\xff.mp3";
    const char* argv[] = {"lyrova", bytes.constData()};
    const CommandLine commandLine(2, argv);
    QCOMPARE(commandLine.Arguments(), QStringList{lookalike});
    PlayerWindow& w = f.Start(commandLine.Arguments(), commandLine.Unreadable());
    const QString message = u"文件名含有无法识别的字符，无法打开:"_qs + lookalike;
    QVERIFY(!f.media.IsOpen());
    QCOMPARE(w.Session().OpenName(), QString());
    if (quitAtEnd) {
      QCOMPARE(f.songFailures, QStringList{message});
      QCOMPARE(f.prompts.ShownCount(PromptKind::Message), 0);
    } else {
      QCOMPARE(f.prompts.ShownCount(PromptKind::Message), 1);
      QCOMPARE(f.prompts.Last().text, message);
      QCOMPARE(f.prompts.Last().title, u"Lyrova"_qs);
      QVERIFY(w.isVisible());
    }
  }

  // The playing bar paints again only the columns it moved over, and the window then holds
  // the bar just as a whole repaint draws it: a pixel on, into a new line, back by a seek.
  void progressBarPaintsWhatMoved() {
    PlayerFixture f;
    const QString song = f.Song(QStringLiteral("bar.mp3"), 10'000);
    PlayerFixture::Write(f.root.filePath(QStringLiteral("music/bar.lrc")), kLyrics);
    PlayerWindow& w = f.Start({song});
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    ProgressBar* bar = w.ProgressBarWidget();
    const qint64 pixelMs = 10'000 / bar->width() + 1;
    PaintedParts painted(bar);
    f.PlayFor(500);
    for (int step = 0; step < 4; ++step) {
      QCoreApplication::processEvents();
      painted.region = QRegion();
      const ProgressPicture before = bar->Picture();
      if (step == 0) f.PlayFor(pixelMs);
      if (step == 1) f.PlayFor(2'600);  // into "two a": the span's end moves on too
      if (step == 2) f.PlayFor(pixelMs);
      if (step == 3) w.Session().SeekTo(1'200);
      QCoreApplication::processEvents();
      const ProgressPicture after = bar->Picture();
      QVERIFY(after.playedX != before.playedX);
      const int moved = std::abs(after.playedX - before.playedX) + std::abs(after.nextX - before.nextX);
      QVERIFY2(painted.region.boundingRect().height() == bar->height() &&
                   painted.region.rectCount() <= 2 && painted.region.boundingRect().width() < bar->width() &&
                   painted.region.boundingRect().width() <= std::abs(after.nextX - before.playedX) + moved + 2,
               qPrintable(QStringLiteral("step %1: %2 columns").arg(step).arg(painted.region.boundingRect().width())));
      const QRect place(bar->mapTo(&w, QPoint(0, 0)), bar->size());
      const QImage shown = w.screen()->grabWindow(w.winId()).toImage().copy(place).convertToFormat(QImage::Format_RGB32);
      QCOMPARE(shown, bar->grab().toImage().convertToFormat(QImage::Format_RGB32));
    }
  }

  void togglesAreStoredAtOnce() {
    PlayerFixture f;
    PlayerWindow& w = f.Start();
    QAction* loop = w.Toggle(QStringLiteral("SetLoop_M"));
    QVERIFY(!loop->isChecked());
    loop->trigger();
    QVERIFY(w.Session().PlayLoop());
    QCOMPARE(f.settings.ReadSetting(QStringLiteral("PlayLoop"), QString()), u"-1"_qs);
    QAction* autoPlay = w.Toggle(QStringLiteral("SetAutoPlay_M"));
    QVERIFY(autoPlay->isChecked());
    autoPlay->trigger();
    QCOMPARE(f.settings.ReadSetting(QStringLiteral("AutoPlay"), QString()), u"0"_qs);
  }
};

QTEST_MAIN(TestPlayerPlayback)
#include "tst_playerwindow_playback.moc"
