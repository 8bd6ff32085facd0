// The Editor's documents and files through its session: start-up and the hand-off, the title,
// the save names, the save-changes prompt, new and clear, the layout, text mode and drops.
#include "editorfixture.h"

#include "editor/core/commandtable.h"
#include "common/commandline.h"
#include "common/paths.h"
#include "lyrics/lrcreader.h"
#include "lyrics/textfiles.h"
#include "tests/common/filesizelimit.h"

#include <sys/stat.h>

using namespace lyrova;

namespace {

const QByteArray kTwo = "[ti:Song]\r\n[00:01.00]one\r\n[00:02.00]two\r\n";

}  // namespace

class TestEditorFiles : public QObject {
  Q_OBJECT

 private slots:
  void title_data() {
    QTest::addColumn<QString>("lyrics");
    QTest::addColumn<QString>("audio");
    QTest::addColumn<QString>("title");
    QTest::newRow("neither") << QString() << QString() << u"Versel"_qs;
    QTest::newRow("audio only") << QString() << u"a.mp3"_qs << u"Versel (a.mp3)"_qs;
    QTest::newRow("lyrics only") << u"a.lrc"_qs << QString() << u"Versel - a.lrc"_qs;
    QTest::newRow("both") << u"song.lrc"_qs << u"song.mp3"_qs << u"Versel - song.lrc (song.mp3)"_qs;
  }
  void title() {
    QFETCH(QString, lyrics);
    QFETCH(QString, audio);
    EditorFixture f;
    EditorSession& s = f.Start();
    if (!audio.isEmpty()) s.OpenDroppedFile(f.Song(audio, 1000));
    if (!lyrics.isEmpty()) s.OpenDroppedFile(f.Lyrics(lyrics, kTwo));
    QTEST(s.Title(), "title");
  }

  // The switch in any case and with blanks; both keys are cleared; missing files are reported.
  void handOff_data() {
    QTest::addColumn<QString>("commandLine");
    QTest::addColumn<bool>("lyricsExist");
    QTest::addColumn<bool>("songExists");
    QTest::newRow("both there") << u"/RR"_qs << true << true;
    QTest::newRow("lower case, blanks") << u"  /rr "_qs << true << true;
    QTest::newRow("lyrics missing") << u"/RR"_qs << false << true;
    QTest::newRow("song missing") << u"/Rr"_qs << true << false;
  }
  // A pipe handed over as the lyrics fails at once with the reader's message.
  void handOffOfAPipe() {
    EditorFixture f;
    const QString song = f.Song(u"s.mp3"_qs, 5000);
    const QString pipe = f.Path(u"s.lrc"_qs);
    QVERIFY(::mkfifo(QFile::encodeName(pipe).constData(), 0600) == 0);
    f.settings.WriteSetting(u"GetNameMp3"_qs, song);
    f.settings.WriteSetting(u"GetNameLrc"_qs, pipe);
    EditorSession& s = f.Start({u"/RR"_qs});
    QCOMPARE(s.Document().count(), 0);
    QCOMPARE(s.AudioPath(), song);
    QCOMPARE(f.prompts.Last().text, u"装入歌词时遇到错误,不是普通文件"_qs);
  }
  void handOff() {
    QFETCH(QString, commandLine);
    QFETCH(bool, lyricsExist);
    QFETCH(bool, songExists);
    EditorFixture f;
    const QString song = songExists ? f.Song(u"s.mp3"_qs, 5000) : f.Path(u"gone.mp3"_qs);
    const QString lrc = lyricsExist ? f.Lyrics(u"s.lrc"_qs, kTwo) : f.Path(u"gone.lrc"_qs);
    f.settings.WriteSetting(u"GetNameMp3"_qs, u' ' + song);
    f.settings.WriteSetting(u"GetNameLrc"_qs, lrc + u' ');
    EditorSession& s = f.Start({commandLine});
    QCOMPARE(f.settings.ReadSetting(u"GetNameMp3"_qs, u"x"_qs), QString());
    QCOMPARE(f.settings.ReadSetting(u"GetNameLrc"_qs, u"x"_qs), QString());
    QCOMPARE(s.LyricsPath(), lyricsExist ? lrc : QString());
    QCOMPARE(s.AudioPath(), songExists ? song : QString());
    QCOMPARE(s.Document().count(), lyricsExist ? 2 : 0);
    QCOMPARE(s.Mp3OpenDir(), f.root.path());  // the hand-off leaves the audio folder alone
    QStringList messages;
    for (const ShownPrompt& shown : f.prompts.Shown()) messages.append(shown.text);
    QStringList expected;
    if (!lyricsExist) expected.append(u"歌词文件\""_qs + lrc + u"\"找不到"_qs);
    if (!songExists) expected.append(u"音频文件\""_qs + song + u"\"找不到"_qs);
    QCOMPARE(messages, expected);
    QVERIFY(!s.Changed());
    // A later plain start does not repeat the hand-off.
    EditorFixture g;
    QCOMPARE(g.Start().LyricsPath(), QString());
  }

  void fileArgument_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("quoted");
    QTest::addColumn<bool>("asLyrics");
    QTest::newRow("lrc") << u"a b.lrc"_qs << false << true;
    QTest::newRow("TXT in quotes") << u"a.TXT"_qs << true << true;
    QTest::newRow("audio") << u"a.ogg"_qs << true << false;
  }
  void fileArgument() {
    QFETCH(QString, name);
    QFETCH(bool, quoted);
    QFETCH(bool, asLyrics);
    EditorFixture f;
    const QString path = f.Lyrics(name, "[00:01.00]x\r\n");
    EditorSession& s = f.Start({quoted ? u'"' + path + u'"' : path});
    QCOMPARE(s.LyricsPath(), asLyrics ? path : QString());
    QCOMPARE(s.AudioPath(), asLyrics ? QString() : path);
    QCOMPARE(s.Document().count(), asLyrics ? 1 : 0);
    QCOMPARE(asLyrics ? s.LrcOpenDir() : s.Mp3OpenDir(), f.root.filePath(u"music/"_qs));
    EditorFixture g;
    g.Start({g.Path(u"none.lrc"_qs)});
    QCOMPARE(g.prompts.Last().text, u"文件\""_qs + g.Path(u"none.lrc"_qs) + u"\"找不到"_qs);
    QCOMPARE(g.prompts.Last().icon, MessageIcon::Critical);
  }

  // Bytes that are not UTF-8 decode to another name, here one that exists: refused, not opened.
  void unreadableFileArgumentIsRefused() {
    EditorFixture f;
    const QString lookalike = f.Lyrics(u"a\uFFFD.lrc"_qs, "[00:01.00]x\r\n");
    const QByteArray bytes = QFile::encodeName(f.Path(u"a"_qs)) + "\xff.lrc";
    const char* argv[] = {"Versel", bytes.constData()};
    const CommandLine commandLine(2, argv);
    EditorSession& s = f.Start(commandLine.Arguments(), commandLine.Unreadable());
    QCOMPARE(f.prompts.ShownCount(PromptKind::Message), 1);
    QCOMPARE(f.prompts.Last().text, u"文件名含有无法识别的字符，无法打开:"_qs + lookalike);
    QCOMPARE(s.LyricsPath(), QString());
    QCOMPARE(s.Document().count(), 0);
  }

  void settingsRoundTrip() {
    EditorFixture f;
    f.settings.WriteSetting(u"MinSave"_qs, u"1"_qs);
    EditorSession& s = f.Start();
    QVERIFY(s.CompressedLayout());
    f.dialogs.CancelLayout();
    s.RunCommand(kCmdLayout);
    QVERIFY(s.CompressedLayout());
    f.dialogs.AnswerLayout(false);
    s.RunCommand(kCmdLayout);
    QVERIFY(!s.CompressedLayout());
    QCOMPARE(f.dialogs.layoutShownOn, QList<bool>({true, true}));
    s.OpenDroppedFile(f.Song(u"x.mp3"_qs, 10));
    QVERIFY(s.CanClose());
    s.Shutdown();
    QCOMPARE(f.settings.ReadSetting(u"MinSave"_qs, QString()), u"0"_qs);
    QCOMPARE(f.settings.ReadSetting(u"Mp3OpenDir"_qs, QString()), f.root.filePath(u"music/"_qs));
    f.settings.WriteSetting(u"MinSave"_qs, u"2"_qs);
    QVERIFY(!f.Start().CompressedLayout());
  }

  void proposedSaveNames_data() {
    QTest::addColumn<QString>("lyrics");
    QTest::addColumn<QString>("audio");
    QTest::addColumn<int>("command");
    QTest::addColumn<QString>("proposed");  // relative to the music folder; "" none; "-" no dialog
    QTest::newRow("new, with audio") << QString() << u"song.mp3"_qs << 2 << u"song.lrc"_qs;
    QTest::newRow("new, nothing") << QString() << QString() << 2 << QString();
    QTest::newRow("from txt") << u"x.txt"_qs << QString() << 2 << u"x.lrc"_qs;
    QTest::newRow("existing LRC") << u"y.LRC"_qs << QString() << 2 << u"-"_qs;
    QTest::newRow("save as") << u"y.lrc"_qs << QString() << 3 << u"y.lrc"_qs;
    QTest::newRow("save as, no extension") << u"noext"_qs << QString() << 3 << u"noext.lrc"_qs;
  }
  void proposedSaveNames() {
    QFETCH(QString, lyrics);
    QFETCH(QString, audio);
    QFETCH(int, command);
    QFETCH(QString, proposed);
    EditorFixture f;
    EditorSession& s = f.Start();
    if (!audio.isEmpty()) s.OpenDroppedFile(f.Song(audio, 1000));
    // Loaded through the open dialog, which takes any file name.
    if (!lyrics.isEmpty()) {
      f.prompts.AnswerFiles({f.Lyrics(lyrics, kTwo)});
      s.RunCommand(kCmdOpenLyrics);
      QCOMPARE(s.LyricsPath(), f.Path(lyrics));
    }
    EditorSession& t = *f.session;
    const QString target = f.Path(u"saved.lrc"_qs);
    if (proposed != u"-") f.prompts.AnswerFiles({target});
    t.InfoEdited(2, u"专辑"_qs);
    t.RunCommand(command);
    if (proposed == u"-") {
      QCOMPARE(f.prompts.ShownCount(PromptKind::SaveFile), 0);
      QVERIFY(!t.Changed());
      return;
    }
    const FileDialogRequest request = f.prompts.Last().request;
    QCOMPARE(request.title, u"保存歌词文件"_qs);
    QCOMPARE(request.kind, FileDialogKind::Save);
    QVERIFY(request.overwritePrompt);
    QCOMPARE(request.nameFilters.size(), 2);
    QCOMPARE(request.initialName, proposed.isEmpty() ? QString() : f.Path(proposed));
    QCOMPARE(t.LyricsPath(), target);
    QVERIFY(!t.Changed());
    LyricsDocument saved;
    QVERIFY(LoadLrc(saved, target));
    QCOMPARE(saved.album, u"专辑"_qs);
  }

  void saveChangesPrompt_data() {
    QTest::addColumn<bool>("changed");
    QTest::addColumn<int>("answer");  // SaveAnswer
    QTest::addColumn<bool>("cancelSaveDialog");
    QTest::addColumn<SaveOutcome>("result");
    QTest::newRow("unchanged") << false << 0 << false << SaveOutcome::NothingToSave;
    QTest::newRow("yes") << true << int(SaveAnswer::Yes) << false << SaveOutcome::Saved;
    QTest::newRow("no") << true << int(SaveAnswer::No) << false << SaveOutcome::NotSaved;
    QTest::newRow("cancel") << true << int(SaveAnswer::Cancel) << false << SaveOutcome::Cancelled;
    QTest::newRow("yes, dialog cancelled")
        << true << int(SaveAnswer::Yes) << true << SaveOutcome::SaveFailed;
  }
  void saveChangesPrompt() {
    QFETCH(bool, changed);
    QFETCH(int, answer);
    QFETCH(bool, cancelSaveDialog);
    EditorFixture f;
    EditorSession& s = f.Start();
    if (changed) {
      s.InfoEdited(0, u"t"_qs);
      f.saveQuestion.Answer(SaveAnswer(answer));
    }
    if (cancelSaveDialog)
      f.prompts.CancelFileDialog();
    else if (answer == int(SaveAnswer::Yes))
      f.prompts.AnswerFiles({f.Path(u"new.lrc"_qs)});
    QTEST(s.AskSaveChanges(true), "result");
    QCOMPARE(f.saveQuestion.asked, changed ? QStringList({u"新建文件已改变，你要保存吗？"_qs}) : QStringList());
    // Closing goes on after the first three outcomes and stays open otherwise.
    if (changed) f.saveQuestion.Answer(SaveAnswer(answer));
    if (cancelSaveDialog) f.prompts.CancelFileDialog();
    QFETCH(SaveOutcome, result);
    QCOMPARE(s.CanClose(), MayProceed(result) || (answer == int(SaveAnswer::Yes) && !cancelSaveDialog));
  }

  void promptNamesTheFile() {
    EditorFixture f;
    const QString path = f.Lyrics(u"a.lrc"_qs, kTwo);
    EditorSession& s = f.Start({path});
    s.InfoEdited(1, u"x"_qs);
    f.saveQuestion.Answer(SaveAnswer::Yes);
    f.prompts.AnswerFiles({f.Path(u"b.lrc"_qs)});
    s.RunCommand(kCmdOpenLyrics);
    QCOMPARE(f.saveQuestion.asked.last(), u"文件 \""_qs + path + u"\" 已改变，你要保存吗？"_qs);
    QCOMPARE(f.saveQuestion.cancelOffered.last(), false);
    QVERIFY(!s.Changed());  // saved in place without a dialog; the open dialog followed
    QCOMPARE(f.prompts.Last().request.title, u"打开歌词文件"_qs);
    QVERIFY(FileExists(path));
  }

  void newAndClear_data() {
    QTest::addColumn<int>("choice");
    QTest::addColumn<QByteArray>("lyrics");
    QTest::addColumn<int>("linesAfter");
    QTest::addColumn<bool>("changed");
    QTest::newRow("new document") << 0 << kTwo << 0 << false;
    QTest::newRow("clear lyrics") << 1 << kTwo << 0 << true;
    QTest::newRow("clear lyrics of an empty document") << 1 << QByteArray("[ti:x]\r\n") << 0 << false;
    QTest::newRow("clear tags") << 2 << kTwo << 2 << true;
    QTest::newRow("clear tags, none tagged") << 2 << QByteArray("a\r\nb\r\n") << 2 << false;
  }
  void newAndClear() {
    QFETCH(int, choice);
    QFETCH(QByteArray, lyrics);
    EditorFixture f;
    EditorSession& s = f.Start({f.Lyrics(u"a.lrc"_qs, lyrics)});
    s.OpenDroppedFile(f.Song(u"a.mp3"_qs, 1000));
    s.ClickRow(0);
    f.dialogs.AnswerChooser(choice);
    if (choice > 0) f.prompts.AnswerQuestion(true);
    s.RunCommand(kCmdNewOrClear);
    QTEST(int(s.Document().count()), "linesAfter");
    QTEST(s.Changed(), "changed");
    // The boxes named a line that is gone; what they held must not go into the next line.
    if (s.Document().count() == 0) {
      QCOMPARE(s.TimeBoxText(), QString());
      QCOMPARE(s.TextBoxText(), QString());
    }
    if (choice == 0) {
      QCOMPARE(s.Title(), u"Versel (a.mp3)"_qs);
      QCOMPARE(s.Document().title, QString());
    } else {
      QCOMPARE(f.prompts.Last().preselected, DefaultAnswer::No);
      QCOMPARE(f.prompts.Last().text, choice == 1 ? u"你的真的要清除所有歌词吗？"_qs : u"你的真的要清除所有时间标签吗？"_qs);
    }
    for (const LyricLine& line : s.Document().lines) QVERIFY(!line.timed);
  }

  void textModeRoundTrips_data() {
    QTest::addColumn<bool>("edit");
    QTest::newRow("unchanged") << false;
    QTest::newRow("edited") << true;
  }
  void textModeRoundTrips() {
    QFETCH(bool, edit);
    EditorFixture f;
    EditorSession& s = f.Start({f.Lyrics(u"a.lrc"_qs, kTwo)});
    s.RunCommand(kCmdTextMode);
    QVERIFY(s.TextMode());
    QCOMPARE(s.TextSnapshot(), u"[ti:Song]\r\n[00:01.00]one\r\n[00:02.00]two\r\n"_qs);
    QCOMPARE(s.TempPath(), QString());
    s.RunCommand(kCmdStamp);  // the document is not touched while in text mode
    s.RunCommand(kCmdDeleteLine);
    QCOMPARE(s.Document().count(), 2);
    // The text box shows plain line breaks; that alone is no edit.
    QString text = s.TextSnapshot();
    text.replace(u"\r\n"_qs, u"\n"_qs);
    if (edit) text += u"[00:03.00]三\n"_qs;
    s.ReturnFromTextMode(text);
    QVERIFY(!s.TextMode());
    QCOMPARE(s.Document().count(), edit ? 3 : 2);
    QCOMPARE(s.Changed(), edit);
    QCOMPARE(s.LyricsPath(), f.Path(u"a.lrc"_qs));
    QCOMPARE(s.Document().encoding, TextEncoding::Ansi);
    if (edit) QCOMPARE(s.Document().lines.last().text, u"三"_qs);
  }

  // Fault mended: the backup after a failed return holds the text being edited.
  void textModeFailedReturnSavesTheEditedText() {
    EditorFixture f;
    EditorSession& s = f.Start({f.Lyrics(u"a.lrc"_qs, kTwo)});
    s.RunCommand(kCmdTextMode);
    const QString edited = u"[offset:9999999999]\n[00:01.00]新的\n"_qs;  // unreadable offset
    f.prompts.AnswerQuestion(true);
    const QString backup = f.Path(u"backup.lrc"_qs);
    f.prompts.AnswerFiles({backup});
    s.ReturnFromTextMode(edited);
    QCOMPARE(f.prompts.ShownCount(PromptKind::Question), 1);
    QStringList questions;
    for (const ShownPrompt& shown : f.prompts.Shown())
      if (shown.kind == PromptKind::Question) questions.append(shown.text);
    QCOMPARE(questions, QStringList({u"在返回时产生了一个错误，软件将会关闭，你要将你现在所编辑的歌词备份保存吗？"_qs}));
    QString saved;
    QVERIFY(LoadTextFile(backup, &saved));
    QCOMPARE(saved, u"[offset:9999999999]\r\n[00:01.00]新的\r\n"_qs);
    QVERIFY(!s.Changed());
    QVERIFY(s.CanClose());
  }

  // Saves that cannot be written completely (here: the file-size limit, below Qt's 16 KB write
  // buffer) fail with the reason and replace nothing: not the lyrics file, not the document.
  void incompleteWritesReplaceNothing() {
    EditorFixture f;
    QByteArray bytes = "[ti:Song]\r\n";
    for (int i = 0; i < 200; ++i) bytes += "[00:" + QByteArray::number(10 + i % 50) + ".00]line " + QByteArray::number(i) + "\r\n";
    const QString path = f.Lyrics(u"a.lrc"_qs, bytes);
    EditorSession& s = f.Start({path});
    s.InfoEdited(1, u"someone"_qs);
    const LyricsDocument before = s.Document();
    const QString diskFull = u"磁盘空间不足，无法保存"_qs;
    QStringList shown;
    {
      const testing::FileSizeLimit limit(1024);
      QVERIFY(limit.Active());
      s.RunCommand(kCmdSave);
      shown.append(f.prompts.Last().text);
      QVERIFY(s.Changed());
      // Text mode starts only from a copy that was written and read back whole.
      s.RunCommand(kCmdTextMode);
      QVERIFY(!s.TextMode());
    }
    for (const ShownPrompt& p : f.prompts.Shown().mid(1)) shown.append(p.text);
    QCOMPARE(shown, QStringList({u"保存歌词时遇到错误,"_qs + diskFull, u"保存歌词时遇到错误,"_qs + diskFull,
                                 u"临时文件生成失败,不能进行文本模式编辑"_qs}));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), bytes);
    QCOMPARE(s.Document(), before);

    // A return from text mode that cannot write its copy keeps the edited text in text mode.
    s.RunCommand(kCmdTextMode);
    QVERIFY(s.TextMode());
    const QString edited = s.TextSnapshot() + u"[00:59.00]新的一行\r\n"_qs;
    {
      const testing::FileSizeLimit limit(1024);
      s.ReturnFromTextMode(edited);
    }
    QVERIFY(s.TextMode());
    QVERIFY2(f.prompts.Last().text.startsWith(u"不能保存或建立文件 \""_qs), qPrintable(f.prompts.Last().text));
    QVERIFY(f.prompts.Last().text.endsWith(u"\","_qs + diskFull));
    QCOMPARE(s.Document(), before);
    s.ReturnFromTextMode(edited);
    QVERIFY(!s.TextMode());
    QCOMPARE(s.Document().count(), before.count() + 1);
  }

  // Fault mended: a dropped lyrics file first offers to save unsaved changes.
  void dropWithUnsavedChanges_data() {
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("replaced");
    QTest::newRow("cancel keeps the document") << int(SaveAnswer::Cancel) << false;
    QTest::newRow("no replaces it") << int(SaveAnswer::No) << true;
  }
  void dropWithUnsavedChanges() {
    QFETCH(int, answer);
    QFETCH(bool, replaced);
    EditorFixture f;
    EditorSession& s = f.Start({f.Lyrics(u"a.lrc"_qs, kTwo)});
    s.ClickRow(0);
    s.RunCommand(kCmdDeleteLine);
    f.saveQuestion.Answer(SaveAnswer(answer));
    s.OpenDroppedFile(f.Lyrics(u"b.lrc"_qs, "[00:05.00]b1\r\n[00:06.00]b2\r\n[00:07.00]b3\r\n"));
    QCOMPARE(f.saveQuestion.cancelOffered, QList<bool>({true}));
    QCOMPARE(s.Document().count(), replaced ? 3 : 1);
    QCOMPARE(s.Changed(), !replaced);
    QCOMPARE(s.Title(), replaced ? u"Versel - b.lrc"_qs : u"Versel - a.lrc"_qs);
  }

  void openAudioDialog() {
    EditorFixture f;
    EditorSession& s = f.Start();
    const QString song = f.Song(u"x.wav"_qs, 1000);
    f.prompts.AnswerFiles({song});
    s.RunCommand(kCmdOpenAudio);
    const FileDialogRequest request = f.prompts.Last().request;
    QCOMPARE(request.nameFilters.size(), 10);
    QCOMPARE(request.nameFilters.first().left(5), u"全部音频 "_qs);
    QVERIFY(request.fileMustExist);
    QCOMPARE(request.startFolder, f.root.path());
    QCOMPARE(s.AudioPath(), song);
    QCOMPARE(s.Mp3OpenDir(), f.root.filePath(u"music"_qs));
    QVERIFY(!f.media.IsOpen());  // opened on the first play
  }

  void failedSaveKeepsChanges() {
    EditorFixture f;
    EditorSession& s = f.Start();
    s.InfoEdited(0, u"x"_qs);
    f.prompts.AnswerFiles({f.root.filePath(u"no/such/folder/x.lrc"_qs)});
    s.RunCommand(kCmdSave);
    QVERIFY(s.Changed());
    QCOMPARE(s.LyricsPath(), QString());
    QVERIFY(f.prompts.Last().text.startsWith(u"保存歌词时遇到错误,"_qs));
  }
};

QTEST_GUILESS_MAIN(TestEditorFiles)
#include "tst_editor_files.moc"
