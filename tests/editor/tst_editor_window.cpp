// The Editor's main window under the offscreen platform: keys typed into the real boxes, the
// shortcuts, the tool buttons and the status line, text mode, drops and the minimum size.
#include "editorfixture.h"

#include "common/displaytext.h"
#include "editor/core/commandtable.h"
#include "editor/window/editorwidgets.h"
#include "editor/window/editorwindow.h"
#include "lyrics/lrcreader.h"

#include <QApplication>
#include <QCheckBox>
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

  EditorWindow& Open(const QStringList& arguments = {}) {
    EditorServices services;
    services.settings = &settings;
    services.media = &media;
    services.prompts = &prompts;
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
