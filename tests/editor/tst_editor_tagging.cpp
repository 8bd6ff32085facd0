// The Editor's time tagging through its session: the edit boxes, stamping, the line commands,
// shifts, the sync correction, the typed offset, automatic tags, playback and following.
#include "editorfixture.h"

#include "editor/core/commandtable.h"

using namespace lyrova;

namespace {

const QByteArray kThree = "[00:01.00]one\r\n[00:02.00]two\r\n[00:03.00]three\r\n";

using Times = QList<qint32>;

}  // namespace

class TestEditorTagging : public QObject {
  Q_OBJECT

 private slots:
  // Time, Enter, text, Enter on the next line's time... and Enter at the last line grows the
  // document, starting from an empty one.
  void keyboardFlowGrowsTheDocument() {
    EditorFixture f;
    EditorSession& s = f.Start();
    s.SetFocus(EditorSession::Box::Time);
    QCOMPARE(s.EditLine(), -1);
    s.TimeBoxEdited(u"0:01.50"_qs);  // the first time typed into an empty document makes line 0
    QCOMPARE(f.Times(), Times({1500}));
    QCOMPARE(s.Selection(), 0);
    s.TimeBoxEnter();
    QCOMPARE(s.Focus(), EditorSession::Box::Text);
    s.TextBoxEdited(u"  first "_qs);
    QCOMPARE(f.Texts(), QStringList({u"first"_qs}));
    s.TextBoxEnter();
    QCOMPARE(s.Focus(), EditorSession::Box::Time);
    QCOMPARE(s.Selection(), 1);
    QCOMPARE(s.EditLine(), 1);
    QCOMPARE(s.TextBoxText(), QString());
    s.TimeBoxEdited(u"0:"_qs);  // half typed: no change yet
    QCOMPARE(f.Times(), Times({1500, -1}));
    s.TimeBoxEdited(u"0:03"_qs);
    s.TimeBoxEnter();
    s.TextBoxEdited(u"second"_qs);
    QCOMPARE(f.Times(), Times({1500, 3000}));
    QCOMPARE(f.Texts(), QStringList({u"first"_qs, u"second"_qs}));
    QCOMPARE(s.RowText(1), u"[ 00:03.00]second"_qs);
    s.TimeBoxEdited(QString());  // an emptied time box removes the tag
    QCOMPARE(f.Times(), Times({1500, -1}));
    QVERIFY(s.Changed());
  }

  // Enter on a middle line moves on without adding a line and fills the boxes from it.
  void enterInTheMiddleMovesToTheNextLine() {
    EditorFixture f;
    EditorSession& s = f.Start({f.Lyrics(u"a.lrc"_qs, kThree)});
    s.ClickRow(0);
    s.SetFocus(EditorSession::Box::Text);
    s.TextBoxEnter();
    QCOMPARE(f.session->Document().count(), 3);
    QCOMPARE(s.Selection(), 1);
    QCOMPARE(s.TextBoxText(), u"two"_qs);
    QCOMPARE(s.TimeBoxText(), u" 00:02.00"_qs);
    QVERIFY(!s.Changed());
  }

  void stamping_data() {
    QTest::addColumn<bool>("open");
    QTest::addColumn<int>("selection");
    QTest::addColumn<Times>("times");
    QTest::addColumn<int>("selectedAfter");
    QTest::addColumn<bool>("changed");
    QTest::newRow("no selection selects line 0 only") << true << -1 << Times({1000, 2000, 3000}) << 0 << false;
    QTest::newRow("stamps and moves on") << true << 0 << Times({12340, 2000, 3000}) << 1 << true;
    QTest::newRow("last line stays selected") << true << 2 << Times({1000, 2000, 12340}) << 2 << true;
    QTest::newRow("nothing when no audio is open") << false << 1 << Times({1000, 2000, 3000}) << 1 << false;
  }
  void stamping() {
    QFETCH(bool, open);
    QFETCH(int, selection);
    EditorFixture f;
    EditorSession& s = f.StartPlaying(kThree);
    f.audio.Advance(12'340);
    if (!open) s.RunCommand(kCmdStop);
    s.SetFollow(true);
    s.ClickRow(selection);
    s.RunCommand(kCmdStamp);
    QTEST(f.Times(), "times");
    QTEST(s.Selection(), "selectedAfter");
    QTEST(s.Changed(), "changed");
    // A stamp turns following off so that the selection stays where the user puts it.
    QCOMPARE(s.Follow(), !(open && selection >= 0));
  }

  // Stamping every line in turn while the song plays tags each at the moment of its press.
  void stampingALineAfterAnother() {
    EditorFixture f;
    EditorSession& s = f.StartPlaying("one\r\ntwo\r\nthree\r\n");
    s.RunCommand(kCmdStamp);  // selects line 0
    for (int i = 0; i < 3; ++i) {
      f.audio.Advance(1'000);
      s.RunCommand(kCmdStamp);
    }
    QCOMPARE(f.Times(), Times({1000, 2000, 3000}));
  }

  void lineCommands_data() {
    QTest::addColumn<int>("command");
    QTest::addColumn<int>("selection");
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<int>("selectedAfter");
    QTest::addColumn<int>("editLine");
    QTest::addColumn<bool>("changed");
    const QStringList same = {u"one"_qs, u"two"_qs, u"three"_qs};
    QTest::newRow("new line below") << 7 << 1 << QStringList({u"one"_qs, u"two"_qs, u""_qs, u"three"_qs}) << 2 << 2 << true;
    QTest::newRow("new line at the top") << 7 << -1 << QStringList({u""_qs, u"one"_qs, u"two"_qs, u"three"_qs}) << 0 << 0 << true;
    QTest::newRow("duplicate") << 8 << 0 << QStringList({u"one"_qs, u"one"_qs, u"two"_qs, u"three"_qs}) << 1 << 1 << true;
    QTest::newRow("duplicate without selection") << 8 << -1 << same << -1 << -1 << false;
    QTest::newRow("delete") << 9 << 1 << QStringList({u"one"_qs, u"three"_qs}) << 1 << -1 << true;
    QTest::newRow("delete the last") << 9 << 2 << QStringList({u"one"_qs, u"two"_qs}) << 1 << -1 << true;
    QTest::newRow("move up") << 10 << 2 << QStringList({u"one"_qs, u"three"_qs, u"two"_qs}) << 1 << -1 << true;
    QTest::newRow("move up the first") << 10 << 0 << same << 0 << -1 << false;
    QTest::newRow("move down") << 11 << 0 << QStringList({u"two"_qs, u"one"_qs, u"three"_qs}) << 1 << -1 << true;
    QTest::newRow("move down the last") << 11 << 2 << same << 2 << -1 << false;
    QTest::newRow("sort in order") << 12 << 0 << same << 0 << -1 << false;
  }
  void lineCommands() {
    QFETCH(int, command);
    QFETCH(int, selection);
    EditorFixture f;
    EditorSession& s = f.Start({f.Lyrics(u"a.lrc"_qs, kThree)});
    s.ClickRow(selection);
    const QString boxBefore = s.TextBoxText();
    s.RunCommand(command);
    QTEST(f.Texts(), "texts");
    QTEST(s.Selection(), "selectedAfter");
    QTEST(s.Changed(), "changed");
    if (command == 7 || command == 8) QTEST(s.EditLine(), "editLine");
    // These commands select with the boxes left alone.
    QCOMPARE(s.TextBoxText(), boxBefore);
  }

  void sortAndRemoveTag() {
    EditorFixture f;
    EditorSession& s = f.Start({f.Lyrics(u"a.lrc"_qs, kThree)});
    s.ClickRow(2);
    s.RunCommand(kCmdMoveUp);
    s.RunCommand(kCmdMoveUp);  // three, one, two
    s.RunCommand(kCmdSort);
    QCOMPARE(f.Texts(), QStringList({u"one"_qs, u"two"_qs, u"three"_qs}));
    QCOMPARE(s.Selection(), 0);
    QCOMPARE(s.TextBoxText(), u"one"_qs);  // the sort refills the boxes
    s.RunCommand(kCmdRemoveTag);
    QCOMPARE(f.Times(), Times({-1, 2000, 3000}));
    QCOMPARE(s.RowText(0), u"[         ]one"_qs);
    QCOMPARE(s.Document().lines[0].time, 1000);  // the stored time stays
  }

  void halfSecondShifts_data() {
    QTest::addColumn<QByteArray>("lyrics");
    QTest::addColumn<int>("selection");
    QTest::addColumn<int>("command");
    QTest::addColumn<Times>("times");
    QTest::addColumn<bool>("changed");
    const QByteArray mixed = "[00:01.00]one\r\ntwo\r\n[00:03.00]three\r\n";
    QTest::newRow("selected earlier") << kThree << 1 << 14 << Times({1000, 1500, 3000}) << true;
    QTest::newRow("selected later") << kThree << 1 << 15 << Times({1000, 2500, 3000}) << true;
    QTest::newRow("selected untagged") << mixed << 1 << 15 << Times({1000, -1, 3000}) << false;
    QTest::newRow("selected without selection") << kThree << -1 << 15 << Times({1000, 2000, 3000}) << false;
    QTest::newRow("all earlier") << mixed << -1 << 16 << Times({500, -1, 2500}) << true;
    QTest::newRow("all later") << mixed << 0 << 17 << Times({1500, -1, 3500}) << true;
    QTest::newRow("clamped at the top") << QByteArray("[99:59.98]x\r\n") << 0 << 15 << Times({kMaxTagMs}) << true;
    QTest::newRow("clamped at the bottom") << QByteArray("[offset:5999800][00:00.00]x\r\n") << 0 << 16 << Times({kMinTagMs}) << true;
  }
  void halfSecondShifts() {
    QFETCH(QByteArray, lyrics);
    QFETCH(int, selection);
    QFETCH(int, command);
    EditorFixture f;
    EditorSession& s = f.Start({f.Lyrics(u"a.lrc"_qs, lyrics)});
    s.ClickRow(selection);
    s.RunCommand(command);
    QTEST(f.Times(), "times");
    QTEST(s.Changed(), "changed");
  }

  // The selected line is made to match the playback position; all tags move with it.
  void syncCorrection() {
    EditorFixture f;
    EditorSession& s = f.StartPlaying("[00:01.00]one\r\ntwo\r\n[00:03.00]three\r\n");
    f.audio.Advance(4'250);
    s.ClickRow(2);
    s.RunCommand(kCmdSyncCorrection);
    QCOMPARE(f.Times(), Times({2250, -1, 4250}));
    QCOMPARE(s.Selection(), 2);
    QVERIFY(s.Changed());
    // An untagged line gives no reference: nothing happens.
    EditorFixture g;
    EditorSession& t = g.StartPlaying("[00:01.00]one\r\ntwo\r\n");
    g.audio.Advance(4'000);
    t.ClickRow(1);
    t.RunCommand(kCmdSyncCorrection);
    QCOMPARE(g.Times(), Times({1000, -1}));
    QVERIFY(!t.Changed());
  }

  void typedOffset_data() {
    QTest::addColumn<bool>("allTags");
    QTest::addColumn<qint32>("valueMs");
    QTest::addColumn<int>("selection");
    QTest::addColumn<Times>("times");
    QTest::addColumn<QString>("timeBox");
    QTest::newRow("all later") << true << 1500 << 0 << Times({2500, -1, 4500}) << u" 00:02.50"_qs;
    QTest::newRow("all later, clamped") << true << 5999999 << -1 << Times({kMaxTagMs, -1, kMaxTagMs}) << QString();
    QTest::newRow("selected earlier") << false << -1500 << 2 << Times({1000, -1, 1500}) << u" 00:01.50"_qs;
    QTest::newRow("selected untagged") << false << 1500 << 1 << Times({1000, -1, 3000}) << QString();
    QTest::newRow("selected clamped") << false << 5999999 << 2 << Times({1000, -1, kMaxTagMs}) << u" 99:59.99"_qs;
    QTest::newRow("zero does nothing") << true << 0 << 0 << Times({1000, -1, 3000}) << u" 00:01.00"_qs;
  }
  void typedOffset() {
    QFETCH(bool, allTags);
    QFETCH(qint32, valueMs);
    QFETCH(int, selection);
    EditorFixture f;
    EditorSession& s = f.Start({f.Lyrics(u"a.lrc"_qs, "[00:01.00]one\r\ntwo\r\n[00:03.00]three\r\n")});
    s.ClickRow(selection);
    f.dialogs.AnswerOffset(allTags, valueMs);
    s.RunCommand(kCmdOffset);
    QTEST(f.Times(), "times");
    QTEST(s.TimeBoxText(), "timeBox");
    QCOMPARE(s.Changed(), valueMs != 0 && (allTags || selection != 1));
  }

  void automaticTags_data() {
    QTest::addColumn<int>("choice");
    QTest::addColumn<qint64>("lengthMs");
    QTest::addColumn<QByteArray>("lyrics");
    QTest::addColumn<Times>("times");
    QTest::newRow("by lines, 10 s over 3") << 4 << qint64(10'000) << QByteArray("a\r\nb\r\nc\r\n") << Times({0, 3333, 6666});
    QTest::newRow("by lines, half to even") << 4 << qint64(10) << QByteArray("a\r\nb\r\nc\r\nd\r\n") << Times({0, 2, 4, 6});
    QTest::newRow("by characters") << 3 << qint64(5'000) << QByteArray("[00:09.00]ab\r\n[00:09.00]\r\n[00:09.00]cde\r\n") << Times({0, 2000, 2000});
  }
  void automaticTags() {
    QFETCH(int, choice);
    QFETCH(qint64, lengthMs);
    QFETCH(QByteArray, lyrics);
    EditorFixture f;
    const QString song = f.Song(u"s.mp3"_qs, lengthMs);
    EditorSession& s = f.Start({f.Lyrics(u"s.lrc"_qs, lyrics)});
    f.session->OpenDroppedFile(song);
    f.dialogs.AnswerChooser(choice);
    f.prompts.AnswerQuestion(true);
    s.RunCommand(kCmdNewOrClear);
    QTEST(f.Times(), "times");
    QCOMPARE(f.prompts.Last().text, choice == 4
                 ? u"按行数自动建立时间标签，所有时间标签将被更改，你要继续吗？"_qs
                 : u"按字数自动建立时间标签，所有时间标签将被更改，你要继续吗？"_qs);
    QCOMPARE(f.prompts.Last().preselected, DefaultAnswer::No);
    QVERIFY(s.Changed());
    QVERIFY(!f.media.IsOpen());  // the song was opened only to read its length
    QCOMPARE(f.dialogs.lastChoices.last(), 0);
  }

  void automaticTagsRefused_data() {
    QTest::addColumn<int>("choice");
    QTest::addColumn<QByteArray>("lyrics");
    QTest::addColumn<bool>("withSong");
    QTest::addColumn<QString>("message");
    QTest::newRow("no characters") << 3 << QByteArray("[00:01.00]\r\n") << true << u"字数为 0,不能执行"_qs;
    QTest::newRow("no lines") << 4 << QByteArray("[ti:x]\r\n") << true << u"行数为 0,不能执行"_qs;
    QTest::newRow("no song") << 4 << QByteArray("a\r\n") << false << u"音频未打开或打开失败"_qs;
  }
  void automaticTagsRefused() {
    QFETCH(int, choice);
    QFETCH(QByteArray, lyrics);
    QFETCH(bool, withSong);
    QFETCH(QString, message);
    EditorFixture f;
    EditorSession& s = f.Start({f.Lyrics(u"s.lrc"_qs, lyrics)});
    if (withSong) s.OpenDroppedFile(f.Song(u"s.mp3"_qs, 9'000));
    f.dialogs.AnswerChooser(choice);
    if (!withSong) f.prompts.AnswerQuestion(true);
    const QList<qint32> before = f.Times();
    s.RunCommand(kCmdNewOrClear);
    QCOMPARE(f.prompts.Last().kind, PromptKind::Message);
    QCOMPARE(f.prompts.Last().text, message);
    QCOMPARE(f.Times(), before);
    QVERIFY(!s.Changed());
    // The next chooser preselects this choice.
    f.dialogs.CancelChooser();
    s.RunCommand(kCmdNewOrClear);
    QCOMPARE(f.dialogs.lastChoices.last(), choice);
  }

  // Fault mended: when the line the boxes write to is gone, they write to the selection, or
  // nowhere, never outside the document.
  void editLineThatNoLongerExists() {
    EditorFixture f;
    EditorSession& s = f.Start({f.Lyrics(u"a.lrc"_qs, kThree)});
    s.ClickRow(2);
    s.SetFocus(EditorSession::Box::Text);
    s.RunCommand(kCmdDeleteLine);  // deletes line 2; the selection becomes line 1
    s.TextBoxEdited(u"changed"_qs);
    s.TimeBoxEdited(u"0:09"_qs);
    QCOMPARE(f.Texts(), QStringList({u"one"_qs, u"changed"_qs}));
    QCOMPARE(f.Times(), Times({1000, 9000}));
    s.ClickRow(0);
    s.RunCommand(kCmdDeleteLine);
    s.RunCommand(kCmdDeleteLine);
    QCOMPARE(s.Document().count(), 0);
    s.TimeBoxEdited(QString());  // no line and no time: nothing to write
    QCOMPARE(s.Document().count(), 0);
    // A box that still names a deleted line, with nothing selected, writes nowhere.
    EditorFixture g;
    EditorSession& t = g.Start({g.Lyrics(u"b.lrc"_qs, kThree)});
    t.ClickRow(2);
    t.SetFocus(EditorSession::Box::Text);
    t.RunCommand(kCmdDeleteLine);
    t.ClickRow(-1);
    t.TextBoxEdited(u"lost"_qs);
    QCOMPARE(g.Texts(), QStringList({u"one"_qs, u"two"_qs}));
  }

  void playbackCommands() {
    EditorFixture f;
    EditorSession& s = f.StartPlaying(kThree, 20'000);
    QVERIFY(f.media.IsPlaying());
    QVERIFY(s.PlaybackTimer().isActive());
    f.audio.Advance(3'000);
    s.RunCommand(kCmdBack5s);
    QCOMPARE(s.ShownPositionMs(), 0);
    QCOMPARE(f.media.GetMediaStatus(false), 0);
    f.audio.Advance(17'000);
    s.RunCommand(kCmdForward5s);
    QCOMPARE(f.media.GetMediaStatus(false), 20'000);
    s.Tick();  // at the end: paused there, the timer stops
    QVERIFY(!f.media.IsPlaying());
    QVERIFY(!s.PlaybackTimer().isActive());
    s.RunCommand(kCmdPlay);  // from the end the song starts again
    QVERIFY(f.media.IsPlaying());
    QCOMPARE(f.media.GetMediaStatus(false), 0);
    s.RunCommand(kCmdPause);
    QVERIFY(!f.media.IsPlaying());
    s.RunCommand(kCmdPause);
    QVERIFY(f.media.IsPlaying());
    s.ClickRow(2);
    s.RunCommand(kCmdPlayFromLine);
    QCOMPARE(f.media.GetMediaStatus(false), 3'000);
    s.RunCommand(kCmdStop);
    QVERIFY(!f.media.IsOpen());
    QCOMPARE(s.OutTimeText(), u" 00:00.00"_qs);
  }

  void playWithoutSongAsksForOne() {
    EditorFixture f;
    EditorSession& s = f.Start();
    const QString song = f.Song(u"x.ogg"_qs, 5'000);
    f.prompts.AnswerFiles({song});
    s.RunCommand(kCmdPlay);
    QCOMPARE(f.prompts.Last().request.title, u"打开音频文件"_qs);
    QCOMPARE(s.AudioPath(), song);
    QVERIFY(f.media.IsPlaying());
    EditorFixture g;
    g.Start();
    g.prompts.CancelFileDialog();
    g.session->RunCommand(kCmdPlay);
    QVERIFY(!g.media.IsOpen());
  }

  void followPlaybackAndTooltips() {
    EditorFixture f;
    // Read in time order: early (2 s), late (5 s), plain (untagged, after late).
    EditorSession& s = f.StartPlaying("[00:05.00]late\r\nplain\r\n[00:02.00]early\r\n");
    QCOMPARE(f.Texts(), QStringList({u"early"_qs, u"late"_qs, u"plain"_qs}));
    s.SetFollow(true);
    s.Tick();
    QCOMPARE(s.Selection(), 0);  // nothing due yet: row 0
    f.audio.Advance(5'500);
    s.Tick();
    QCOMPARE(s.Selection(), 1);  // the untagged line after it is never followed
    QCOMPARE(s.TextBoxText(), u"late"_qs);
    s.RunCommand(kCmdMoveDown);  // late, plain swapped: row 2 is now due
    s.SetFollow(false);
    s.SetFollow(true);
    s.Tick();
    QCOMPARE(s.Selection(), 2);
    // Focusing a box while following pauses; leaving it resumes.
    s.SetFocus(EditorSession::Box::Text);
    QVERIFY(!f.media.IsPlaying());
    s.SetFocus(EditorSession::Box::None);
    QVERIFY(f.media.IsPlaying());
    QCOMPARE(s.RowTooltip(0), u"双击此处从\"early\"开始播放"_qs);
    QCOMPARE(s.RowTooltip(1), QString());
    QCOMPARE(s.RowTooltip(3), QString());
  }

  void progressBarSeeks() {
    EditorFixture f;
    EditorSession& s = f.StartPlaying(kThree, 10'000);
    s.SeekPress(50, 200);
    QVERIFY(!f.media.IsPlaying());
    QCOMPARE(s.ShownPositionMs(), 2'500);
    s.SeekMove(300, 200);  // clamped to the bar
    QCOMPARE(s.ShownPositionMs(), 10'000);
    QCOMPARE(f.media.GetMediaStatus(false), 2'500);  // a drag does not seek
    s.SeekRelease(100, 200);
    QCOMPARE(f.media.GetMediaStatus(false), 5'000);
    QVERIFY(f.media.IsPlaying());
    QCOMPARE(s.ShownFraction(), 0.5);
  }
};

QTEST_GUILESS_MAIN(TestEditorTagging)
#include "tst_editor_tagging.moc"
