// The Editor's main window under the offscreen platform: keys typed into the real boxes, the
// shortcuts and file keys, the tool buttons and the status line, text mode and what it disables,
// the real file dialogs, drops and the minimum size.
#include "editorfixture.h"

#include "common/displaytext.h"
#include "common/ui/toolbutton.h"
#include "common/ui/widgetprompts.h"
#include "tests/ui/modalscript.h"
#include "editor/core/commandtable.h"
#include "editor/window/editorwidgets.h"
#include "editor/window/editorwindow.h"
#include "lyrics/lrcreader.h"

#include <QApplication>
#include <QAction>
#include <QFile>
#include <QKeySequence>
#include <QCheckBox>
#include <QListView>
#include <QLabel>
#include <QLineEdit>
#include <QTreeView>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QUrl>

using namespace lyrova;

namespace {

struct WindowFixture : EditorFixture {
  std::unique_ptr<EditorWindow> window;

  // `realPrompts` shows the real message boxes and file dialogs instead of the scripted ones.
  EditorWindow& Open(const QStringList& arguments = {}, Prompts* realPrompts = nullptr) {
    EditorServices services;
    services.settings = &settings;
    services.media = &media;
    services.prompts = realPrompts ? realPrompts : &prompts;
    services.saveQuestion = &saveQuestion;
    services.dialogs = &dialogs;
    services.programFolder = root.path();
    window = std::make_unique<EditorWindow>(services);
    active = &window->Session();
    window->Start(arguments);
    window->activateWindow();
    if (!QTest::qWaitForWindowActive(window.get())) qWarning("window not active");
    return *window;
  }
  EditorSession& S() { return window->Session(); }
};

// The commands that run in text mode: open audio, save, save as, layout and playback.
bool RunsInTextMode(int command) {
  return command == kCmdOpenAudio || command == kCmdSave || command == kCmdSaveAs || command == kCmdLayout ||
         (command >= kCmdPlay && command <= kCmdStop);
}

QStringList Rows(EditorWindow& w) {
  QStringList rows;
  QAbstractItemModel* model = w.List1()->model();
  for (int i = 0; i < model->rowCount(); ++i) rows.append(model->index(i, 0).data().toString());
  return rows;
}

}  // namespace

class TestEditorWindow : public QObject {
  Q_OBJECT

 private slots:
  // Time, Enter, text, Enter, typed into the real boxes, grows an empty document line by line.
  void typingTimeEnterTextEnter() {
    WindowFixture f;
    EditorWindow& w = f.Open();
    w.TLTEdit()->setFocus();
    QTRY_VERIFY(w.TLTEdit()->hasFocus());
    QTest::keyClicks(w.TLTEdit(), u"0:01.00"_qs);
    QTest::keyClick(w.TLTEdit(), Qt::Key_Return);
    QVERIFY(w.TLEdit()->hasFocus());
    QTest::keyClicks(w.TLEdit(), u"first"_qs);
    QTest::keyClick(w.TLEdit(), Qt::Key_Return);
    QVERIFY(w.TLTEdit()->hasFocus());
    QCOMPARE(w.TLTEdit()->text(), QString());
    QTest::keyClicks(w.TLTEdit(), u"0:02.50"_qs);
    QTest::keyClick(w.TLTEdit(), Qt::Key_Return);
    QTest::keyClicks(w.TLEdit(), u"second"_qs);
    QCOMPARE(Rows(w), QStringList({u"[ 00:01.00]first"_qs, u"[ 00:02.50]second"_qs}));
    QCOMPARE(w.List1()->currentIndex().row(), 1);
    QCOMPARE(w.windowTitle(), u"Versel"_qs);
    QVERIFY(f.S().Changed());
  }

  // A file of millisecond tags and keywords in other letter cases opens to the millisecond; a
  // time typed with three fraction digits is kept the same way; the save writes hundredths.
  void millisecondTimesThroughTheWindow() {
    WindowFixture f;
    EditorWindow& w = f.Open(
        {f.Lyrics(u"ms.lrc"_qs, "[Ti:T]\r\n[OFFset:-1000]\r\n[00:12.045]one\r\n[00:20.5]two\r\n")});
    QCOMPARE(w.TLrcInf(0)->text(), u"T"_qs);
    QCOMPARE(Rows(w), QStringList({u"[ 00:13.04]one"_qs, u"[ 00:21.50]two"_qs}));
    QCOMPARE(f.S().Document().lines[0].time, 13045);
    QTest::mouseClick(w.List1()->viewport(), Qt::LeftButton, {},
                      w.List1()->visualRect(w.List1()->model()->index(1, 0)).center());
    QCOMPARE(f.S().Selection(), 1);
    w.TLTEdit()->setFocus();
    QTRY_VERIFY(w.TLTEdit()->hasFocus());
    w.TLTEdit()->selectAll();
    QTest::keyClicks(w.TLTEdit(), u"0:30.125"_qs);
    QTest::keyClick(w.TLTEdit(), Qt::Key_Return);
    QCOMPARE(f.S().Document().lines[1].time, 30125);
    QCOMPARE(Rows(w), QStringList({u"[ 00:13.04]one"_qs, u"[ 00:30.12]two"_qs}));
    f.saveQuestion.Answer(SaveAnswer::Yes);
    QVERIFY(w.close());
    QFile saved(f.Path(u"ms.lrc"_qs));
    QVERIFY(saved.open(QIODevice::ReadOnly));
    QCOMPARE(saved.readAll(), QByteArray("[ti:T]\r\n[00:13.04]one\r\n[00:30.12]two\r\n"));
  }

  // The tagging keys work while a box has the focus and leave its text alone.
  void shortcutsWhileTyping() {
    WindowFixture f;
    const QString song = f.Song(u"s.mp3"_qs, 60'000);
    f.settings.WriteSetting(u"GetNameMp3"_qs, song);
    f.settings.WriteSetting(u"GetNameLrc"_qs, f.Lyrics(u"s.lrc"_qs, "one\r\ntwo\r\nthree\r\n"));
    EditorWindow& w = f.Open({u"/RR"_qs});
    w.TLEdit()->setFocus();
    QTRY_VERIFY(w.TLEdit()->hasFocus());
    QTest::keyClick(w.TLEdit(), Qt::Key_F5);  // play
    QVERIFY(f.media.IsPlaying());
    QCOMPARE(f.S().Selection(), -1);
    QTest::keyClick(w.TLEdit(), Qt::Key_F2);  // selects line 0
    QCOMPARE(f.S().Selection(), 0);
    QCOMPARE(f.Times(), QList<qint32>({-1, -1, -1}));
    f.audio.Advance(1'000);
    QTest::keyClick(w.TLEdit(), Qt::Key_F2);  // stamps it
    f.audio.Advance(1'000);
    QTest::keyClick(w.TLEdit(), Qt::Key_F2);
    QCOMPARE(f.Times(), QList<qint32>({1000, 2000, -1}));
    QCOMPARE(w.List1()->currentIndex().row(), 2);
    QCOMPARE(w.TLEdit()->text(), u"three"_qs);
    w.List1()->setCurrentIndex(w.List1()->model()->index(1, 0));
    QTest::keyClick(w.TLEdit(), Qt::Key_F4);
    QTest::keyClick(w.TLEdit(), Qt::Key_F4);
    QTest::keyClick(w.TLEdit(), Qt::Key_F3);
    QCOMPARE(f.Times(), QList<qint32>({1000, 2500, -1}));
    QTest::keyClick(w.TLEdit(), Qt::Key_F6);  // pause
    QVERIFY(!f.media.IsPlaying());
    QTest::keyClick(w.TLEdit(), Qt::Key_F8);
    QCOMPARE(f.media.GetMediaStatus(false), 7'000);
    QTest::keyClick(w.TLEdit(), Qt::Key_F7);
    QTest::keyClick(w.TLEdit(), Qt::Key_F7);
    QCOMPARE(f.media.GetMediaStatus(false), 0);
    QCOMPARE(w.TLEdit()->text(), u"two"_qs);
    QCOMPARE(w.OutTime()->text(), u" 00:00.00"_qs);
    QVERIFY(ShortcutSummary().contains(u"F2"_qs));
  }

  void toolBarAndStatusLine() {
    WindowFixture f;
    EditorWindow& w = f.Open();
    QCOMPARE(w.ButtType(0)->text(), u"文件"_qs);
    QCOMPARE(w.ButtType(3)->text(), u"播放控制"_qs);
    QCOMPARE(w.LLrcInf(3)->text(), u"编辑者:"_qs);
    QCOMPARE(w.Check1()->text(), u"跟随播放"_qs);
    QVERIFY(w.Butt(13)->toolTip().startsWith(CommandTooltip(13)));
    QVERIFY(w.Butt(13)->toolTip().contains(u"F2"_qs));
    // Hovering shows the tooltip in the status line instead of the logo.
    emit w.Butt(7)->Entered(7);
    QVERIFY(w.StatusLine()->isVisible());
    QCOMPARE(w.StatusLine()->text(), u"新建一行歌词。"_qs);
    QVERIFY(!w.Logo()->isVisible());
    QCOMPARE(w.Butt(7)->Background(), FromBgr(0xFFC0C0));
    emit w.Butt(7)->Left(7);
    QVERIFY(!w.StatusLine()->isVisible());
    QVERIFY(w.Timer3().isActive());
    QTRY_VERIFY_WITH_TIMEOUT(w.Logo()->isVisible(), 3000);
    QVERIFY(!w.Timer3().isActive());
    // A click runs the command.
    QTest::mouseClick(w.Butt(7), Qt::LeftButton);
    QCOMPARE(f.S().Document().count(), 1);
    QTest::mouseClick(w.Logo(), Qt::LeftButton);
    QCOMPARE(f.dialogs.aboutShown, 1);
    w.resize(100, 100);
    QVERIFY(w.width() >= EditorWindow::kMinWidthPixels && w.height() >= EditorWindow::kMinHeightPixels);
  }

  void textModeThroughTheWindow() {
    WindowFixture f;
    EditorWindow& w = f.Open({f.Lyrics(u"a.lrc"_qs, "[00:01.00]one\r\n")});
    QTest::mouseClick(w.Butt(kCmdTextMode), Qt::LeftButton);
    QVERIFY(w.Picture4()->isVisible());
    QVERIFY(!w.List1()->isVisible());
    QCOMPARE(w.Text1()->toPlainText(), u"[00:01.00]one\n"_qs);
    w.Text1()->moveCursor(QTextCursor::End);
    QTest::keyClicks(w.Text1(), u"[00:02.00]two"_qs);
    QTest::mouseClick(w.Command1(), Qt::LeftButton);
    QVERIFY(!w.Picture4()->isVisible());
    QCOMPARE(Rows(w), QStringList({u"[ 00:01.00]one"_qs, u"[ 00:02.00]two"_qs}));
    QVERIFY(f.S().Changed());
    // Closing in text mode takes the edited text first, so the prompt can save it.
    QTest::mouseClick(w.Butt(kCmdTextMode), Qt::LeftButton);
    w.Text1()->moveCursor(QTextCursor::End);
    QTest::keyClicks(w.Text1(), u"[00:03.00]three"_qs);
    f.saveQuestion.Answer(SaveAnswer::Cancel);
    QVERIFY(!w.close());
    QCOMPARE(f.S().Document().count(), 3);
    f.saveQuestion.Answer(SaveAnswer::Yes);
    QVERIFY(w.close());
    LyricsDocument saved;
    QVERIFY(LoadLrc(saved, f.Path(u"a.lrc"_qs)));
    QCOMPARE(saved.count(), 3);
  }

  void dropsAndHover() {
    WindowFixture f;
    EditorWindow& w = f.Open();
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(f.Lyrics(u"d.lrc"_qs, "[ti:T]\r\n[00:03.00]x\r\n")),
                  QUrl::fromLocalFile(f.Song(u"d.mp3"_qs, 10))});
    QVERIFY(w.OpenDrop(data));
    QCOMPARE(w.windowTitle(), u"Versel - d.lrc"_qs);
    QCOMPARE(w.TLrcInf(0)->text(), u"T"_qs);
    QCOMPARE(w.List1()->model()->index(0, 0).data(Qt::ToolTipRole).toString(), u"双击此处从\"x\"开始播放"_qs);
    QMimeData missing;
    missing.setUrls({QUrl::fromLocalFile(f.Path(u"gone.mp3"_qs))});
    QVERIFY(!w.OpenDrop(missing));
    // Typing into an info box changes the document.
    QTest::keyClicks(w.TLrcInf(1), u"Singer"_qs);
    QCOMPARE(f.S().Document().artist, u"Singer"_qs);
    QVERIFY(f.S().Changed());
  }

  // Text mode disables, in the actions and on the tool bar, every command that would touch the
  // lines; a disabled button looks grey, does nothing when clicked and says why on hover; the
  // return enables all of them again.
  void textModeDisablesWhatCannotRun() {
    WindowFixture f;
    EditorWindow& w = f.Open({f.Lyrics(u"a.lrc"_qs, "[00:01.00]one\r\n")});
    const QImage enabledLook = w.Butt(kCmdNewLine)->grab().toImage();
    QTest::mouseClick(w.Butt(kCmdTextMode), Qt::LeftButton);
    QVERIFY(f.S().TextMode());
    for (int i = 0; i < kEditorCommandLimit; ++i) {
      QCOMPARE(w.CommandAction(i)->isEnabled(), RunsInTextMode(i));
      if (i < kEditorCommandCount) QCOMPARE(w.Butt(i)->isEnabled(), RunsInTextMode(i));
    }
    QVERIFY(w.Butt(kCmdNewLine)->grab().toImage() != enabledLook);
    // Neither a click nor a key runs a disabled command (an unscripted dialog would fail).
    QTest::mouseClick(w.Butt(kCmdNewLine), Qt::LeftButton);
    QTest::mouseClick(w.Butt(kCmdNewOrClear), Qt::LeftButton);
    QTest::keyClick(w.Text1(), Qt::Key_O, Qt::ControlModifier);
    QTest::keyClick(w.Text1(), Qt::Key_N, Qt::ControlModifier);
    QTest::keyClick(w.Text1(), Qt::Key_F2);
    QCOMPARE(f.S().Document().count(), 1);
    QVERIFY(f.S().TextMode());
    QCOMPARE(f.prompts.Shown().size(), 0);
    emit w.Butt(kCmdNewLine)->Entered(kCmdNewLine);
    QCOMPARE(w.StatusLine()->text(), CommandTooltip(kCmdNewLine) + u"（文本模式下不可用）"_qs);
    QVERIFY(w.Butt(kCmdNewLine)->Background() != FromBgr(0xFFC0C0));
    emit w.Butt(kCmdNewLine)->Left(kCmdNewLine);

    QTest::mouseClick(w.Command1(), Qt::LeftButton);
    QVERIFY(!f.S().TextMode());
    for (int i = 0; i < kEditorCommandLimit; ++i) QVERIFY(w.CommandAction(i)->isEnabled());
    for (int i = 0; i < kEditorCommandCount; ++i) QVERIFY(w.Butt(i)->isEnabled());
    QCOMPARE(w.Butt(kCmdNewLine)->grab().toImage(), enabledLook);
  }

  // Save and save as in text mode write the text being edited, and the window stays in text
  // mode on the saved text with the cursor where it was.
  void saveInTextMode_data() {
    QTest::addColumn<int>("how");  // 0 the save button, 1 Ctrl+S, 2 Ctrl+Shift+S
    QTest::newRow("save button") << 0;
    QTest::newRow("Ctrl+S") << 1;
    QTest::newRow("Ctrl+Shift+S") << 2;
  }
  void saveInTextMode() {
    QFETCH(int, how);
    WindowFixture f;
    const QString path = f.Lyrics(u"a.lrc"_qs, "[00:01.00]one\r\n");
    EditorWindow& w = f.Open({path});
    QTest::mouseClick(w.Butt(kCmdTextMode), Qt::LeftButton);
    w.Text1()->moveCursor(QTextCursor::End);
    QTest::keyClicks(w.Text1(), u"[00:02.00]two"_qs);
    const QString target = how == 2 ? f.Path(u"b.lrc"_qs) : path;
    if (how == 2) f.prompts.AnswerFiles({target});
    if (how == 0)
      QTest::mouseClick(w.Butt(kCmdSave), Qt::LeftButton);
    else
      QTest::keyClick(w.Text1(), Qt::Key_S, how == 2 ? Qt::ControlModifier | Qt::ShiftModifier : Qt::ControlModifier);
    QCOMPARE(EditorFixture::Read(target), QByteArray("[00:01.00]one\r\n[00:02.00]two\r\n"));
    QCOMPARE(f.prompts.ShownCount(PromptKind::SaveFile), how == 2 ? 1 : 0);
    QVERIFY(!f.S().Changed());
    QCOMPARE(f.S().LyricsPath(), target);
    QVERIFY(f.S().TextMode());
    QVERIFY(w.Picture4()->isVisible());
    QCOMPARE(w.Text1()->toPlainText(), u"[00:01.00]one\n[00:02.00]two\n"_qs);
    QCOMPARE(w.Text1()->textCursor().blockNumber(), 1);
    QCOMPARE(w.Text1()->textCursor().positionInBlock(), 13);
    QVERIFY(!w.Butt(kCmdNewLine)->isEnabled());
  }

  // The file keys work while the focus is in the time, text or info boxes, and type nothing
  // there.
  void fileKeysInTheBoxes_data() {
    QTest::addColumn<int>("box");  // 0 time, 1 text, 2 the title box
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<QString>("dialogTitle");  // of the file dialog the key shows; "" none
    const int ctrl = int(Qt::ControlModifier);
    const int ctrlShift = int(Qt::ControlModifier | Qt::ShiftModifier);
    for (int box = 0; box < 3; ++box) {
      const QByteArray in = box == 0 ? " in the time box" : box == 1 ? " in the text box" : " in the title box";
      QTest::newRow(QByteArray("Ctrl+O" + in).constData()) << box << int(Qt::Key_O) << ctrl << u"打开歌词文件"_qs;
      QTest::newRow(QByteArray("Ctrl+S" + in).constData()) << box << int(Qt::Key_S) << ctrl << u"保存歌词文件"_qs;
      QTest::newRow(QByteArray("Ctrl+Shift+S" + in).constData()) << box << int(Qt::Key_S) << ctrlShift << u"保存歌词文件"_qs;
      QTest::newRow(QByteArray("Ctrl+N" + in).constData()) << box << int(Qt::Key_N) << ctrl << QString();
    }
  }
  void fileKeysInTheBoxes() {
    QFETCH(int, box);
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(QString, dialogTitle);
    WindowFixture f;
    EditorWindow& w = f.Open();
    QLineEdit* edit = box == 0 ? w.TLTEdit() : box == 1 ? w.TLEdit() : w.TLrcInf(0);
    edit->setFocus();
    QTRY_VERIFY(edit->hasFocus());
    QTest::keyClicks(edit, box == 0 ? u"0:01.00"_qs : u"abc"_qs);
    const QString typed = edit->text();
    QVERIFY(f.S().Changed());
    // A new document without a file: saving always asks for a name.
    if (!dialogTitle.isEmpty()) f.prompts.CancelFileDialog();
    if (key == Qt::Key_O || key == Qt::Key_N) f.saveQuestion.Answer(SaveAnswer::No);
    QTest::keyClick(edit, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    if (dialogTitle.isEmpty()) {
      QCOMPARE(f.saveQuestion.asked, QStringList({u"新建文件已改变，你要保存吗？"_qs}));
      QCOMPARE(f.prompts.Shown().size(), 0);
      QCOMPARE(f.S().Document().count(), 0);
      QVERIFY(!f.S().Changed());
    } else {
      QCOMPARE(f.prompts.ShownCount(key == Qt::Key_O ? PromptKind::OpenFile : PromptKind::SaveFile), 1);
      QCOMPARE(f.prompts.Last().request.title, dialogTitle);
      QCOMPARE(edit->text(), typed);
      QVERIFY(f.S().Changed());
    }
  }

  // Fault mended: a new document empties the time and text boxes, so what is typed next is a
  // line of its own (the chooser's way is tested on the session).
  void newDocumentEmptiesTheBoxes() {
    WindowFixture f;
    EditorWindow& w = f.Open({f.Lyrics(u"a.lrc"_qs, "[00:01.00]old line\r\n")});
    QTest::mouseClick(w.List1()->viewport(), Qt::LeftButton, {},
                      w.List1()->visualRect(w.List1()->model()->index(0, 0)).center());
    QCOMPARE(w.TLEdit()->text(), u"old line"_qs);
    QCOMPARE(w.TLTEdit()->text(), u" 00:01.00"_qs);
    w.TLEdit()->setFocus();
    QTRY_VERIFY(w.TLEdit()->hasFocus());
    QTest::keyClick(w.TLEdit(), Qt::Key_N, Qt::ControlModifier);
    QCOMPARE(w.windowTitle(), u"Versel"_qs);
    QCOMPARE(w.TLEdit()->text(), QString());
    QCOMPARE(w.TLTEdit()->text(), QString());
    w.TLEdit()->setFocus();
    QTest::keyClicks(w.TLEdit(), u"new"_qs);
    QCOMPARE(f.Texts(), QStringList({u"new"_qs}));
    QCOMPARE(f.S().Document().lines[0].timed, false);
  }

  // Through the real dialogs: Ctrl+S on a document without a file shows the save dialog, and the
  // open-audio dialog lists every audio type.
  void fileKeysWithTheRealDialogs() {
    WindowFixture f;
    const QStringList audio = {u"a.ac3"_qs, u"b.mp3"_qs, u"c.ogg"_qs, u"d.wav"_qs, u"e.flac"_qs, u"f.opus"_qs,
                               u"g.m4a"_qs, u"h.ape"_qs, u"i.wv"_qs, u"j.aiff"_qs, u"k.aif"_qs, u"l.mka"_qs, u"M.FLAC"_qs};
    QDir(f.root.path()).mkdir(u"songs"_qs);
    for (const QString& name : audio) EditorFixture::Write(f.root.filePath(u"songs/"_qs + name), "x");
    EditorFixture::Write(f.root.filePath(u"songs/notes.txt"_qs), "x");
    f.settings.WriteSetting(u"Mp3OpenDir"_qs, f.root.filePath(u"songs"_qs));
    WidgetPrompts real;
    EditorWindow& w = f.Open({}, &real);
    real.SetParent(&w);
    w.TLEdit()->setFocus();
    QTRY_VERIFY(w.TLEdit()->hasFocus());
    QTest::keyClicks(w.TLEdit(), u"one"_qs);
    const QString target = f.Path(u"新的.lrc"_qs);
    QString title;
    QFileDialog::AcceptMode mode = QFileDialog::AcceptOpen;
    {
      testing::ModalScript script({[&](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        if (!dialog) return false;
        title = dialog->windowTitle();
        mode = dialog->acceptMode();
        testing::SelectFile(dialog, target);
        QMetaObject::invokeMethod(dialog, "accept", Qt::QueuedConnection);
        return true;
      }});
      QTest::keyClick(w.TLEdit(), Qt::Key_S, Qt::ControlModifier);
      QVERIFY(script.Finished());
    }
    QCOMPARE(title, u"保存歌词文件"_qs);
    QCOMPARE(mode, QFileDialog::AcceptSave);
    QCOMPARE(EditorFixture::Read(target), QByteArray("one\r\n"));
    QVERIFY(!f.S().Changed());

    QStringList listed, filters;
    {
      testing::ModalScript script({[&](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        if (!dialog) return false;
        auto* view = dialog->findChild<QListView*>(u"listView"_qs);
        if (!view || view->model()->rowCount(view->rootIndex()) < audio.size()) return false;  // still listing
        for (int i = 0; i < view->model()->rowCount(view->rootIndex()); ++i)
          listed.append(view->model()->index(i, 0, view->rootIndex()).data().toString());
        filters = dialog->nameFilters();
        dialog->reject();
        return true;
      }});
      QTest::mouseClick(w.Butt(kCmdOpenAudio), Qt::LeftButton);
      QVERIFY(script.Finished());
    }
    listed.sort(Qt::CaseInsensitive);
    QCOMPARE(listed, audio);
    QCOMPARE(filters.size(), 10);
    QVERIFY(filters.first().startsWith(u"全部音频 ("_qs));
    QCOMPARE(filters.mid(1, 2), QStringList({u"MP3 格式音频 (*.[mM][pP]3)"_qs,
                                             u"MPEG 音频文件 (*.[mM][pP][aA] *.[mM][pP]2 *.[mM]1[aA] *.[mM]2[aA])"_qs}));
  }

  // Every key runs its command's action and is named in the tooltip of its button, in the
  // lines of the About box and in the help page.
  void everyKeyIsDocumented() {
    WindowFixture f;
    EditorWindow& w = f.Open();
    QFile help(QStringLiteral(LYROVA_SOURCE_DIR "/player/help/help.html"));
    QVERIFY(help.open(QIODevice::ReadOnly));
    const QString page = QString::fromUtf8(help.readAll());
    const QStringList about = ShortcutSummary().trimmed().split(u'\n');
    QCOMPARE(about.size(), kCommandShortcutCount + 1);
    for (int i = 0; i < kCommandShortcutCount; ++i) {
      const CommandShortcut shortcut = CommandShortcutAt(i);
      QCOMPARE(w.CommandAction(shortcut.command)->shortcut(), QKeySequence(shortcut.key));
      const QString tip = w.Butt(shortcut.button)->toolTip();
      QVERIFY2(tip.startsWith(CommandTooltip(shortcut.button)) && tip.endsWith(shortcut.key + u"）"_qs),
               qPrintable(tip));
      QVERIFY2(about.at(i + 1).startsWith(shortcut.key + u"  "_qs), qPrintable(about.at(i + 1)));
      const QString keys = u"<kbd>"_qs + shortcut.key.split(u'+').join(u"</kbd>+<kbd>"_qs) + u"</kbd>"_qs;
      QVERIFY2(page.contains(keys), qPrintable(keys));
    }
    QCOMPARE(w.Butt(kCmdSave)->toolTip(), u"保存歌词文件，用于保存你编辑好的歌词。（Ctrl+S）"_qs);
  }

  // A line of megabytes: its row and tooltip show its start and "…"; the text box shows the same,
  // read-only, so typing there cannot cut the line, and Enter still moves on. Saving writes every
  // byte of it back.
  void longLineThroughTheWindow() {
    WindowFixture f;
    const QString line = u"la la 月光照在河面上"_qs.repeated(250'000);
    const QByteArray bytes = "[00:01.00]" + line.toUtf8() + "\r\n[00:02.00]next\r\n";
    const QString path = f.Lyrics(u"long.lrc"_qs, bytes);
    EditorWindow& w = f.Open({path});
    const QString shown = line.left(kDisplayTextChars - 1) + u'…';
    QCOMPARE(Rows(w), QStringList({u"[ 00:01.00]"_qs + shown, u"[ 00:02.00]next"_qs}));
    const QModelIndex first = w.List1()->model()->index(0, 0);
    QCOMPARE(first.data(Qt::ToolTipRole).toString(), u"双击此处从\""_qs + shown + u"\"开始播放"_qs);

    QTest::mouseClick(w.List1()->viewport(), Qt::LeftButton, {}, w.List1()->visualRect(first).center());
    QCOMPARE(f.S().Selection(), 0);
    QCOMPARE(w.TLEdit()->text(), shown);
    QVERIFY(w.TLEdit()->isReadOnly());
    QCOMPARE(w.TLEdit()->cursorPosition(), 0);
    w.TLEdit()->setFocus();
    QTest::keyClicks(w.TLEdit(), u"x"_qs);
    QTest::keyClick(w.TLEdit(), Qt::Key_Backspace);
    f.S().TextBoxEdited(shown.chopped(1));  // as if the box had been edited anyway
    QVERIFY(f.S().Document().lines[0].text == line);
    QVERIFY(!f.S().Changed());
    QTest::keyClick(w.TLEdit(), Qt::Key_Return);
    QCOMPARE(f.S().Selection(), 1);
    QCOMPARE(w.TLEdit()->text(), u"next"_qs);
    QVERIFY(!w.TLEdit()->isReadOnly());

    QTest::mouseClick(w.Butt(kCmdSave), Qt::LeftButton);
    QVERIFY(EditorFixture::Read(path) == bytes);
  }
};

QTEST_MAIN(TestEditorWindow)
#include "tst_editor_window.moc"
