// A save on a disk without room, through the real widgets: the user names a new file in the save
// dialog, the write runs into the file-size limit, and the message box says so. Nothing is left
// on the disk, the document stays unsaved, and the same save works once there is room.
#include "common/textcodec.h"
#include "common/ui/widgetprompts.h"
#include "editor/core/commandtable.h"
#include "tests/common/filesizelimit.h"
#include "tests/editor/editorfixture.h"
#include "tests/ui/modalscript.h"

#include <QApplication>

using namespace lyrova;

class TestSaveFailureWidgets : public QObject {
  Q_OBJECT

 private slots:
  void editorSaveOnAFullDisk() {
    EditorFixture f;
    WidgetPrompts prompts;
    EditorServices services;
    services.settings = &f.settings;
    services.media = &f.media;
    services.prompts = &prompts;
    services.saveQuestion = &f.saveQuestion;
    services.dialogs = &f.dialogs;
    services.programFolder = f.root.path();
    EditorSession session(services);
    session.Start({});
    session.InfoEdited(0, u"一首歌"_qs);
    const QString target = f.Path(u"新歌.lrc"_qs);

    QString boxText;
    auto name = [&](QWidget* w) {
      auto* dialog = qobject_cast<QFileDialog*>(w);
      if (!dialog) return false;
      testing::SelectFile(dialog, target);
      QMetaObject::invokeMethod(dialog, "accept", Qt::QueuedConnection);
      return true;
    };
    auto readBox = [&](QWidget* w) {
      auto* box = qobject_cast<QMessageBox*>(w);
      if (!box) return false;
      boxText = box->text();
      QTest::keyClick(box, Qt::Key_Return);
      return true;
    };
    {
      const testing::FileSizeLimit limit(8);
      QVERIFY(limit.Active());
      testing::ModalScript script({name, readBox});
      session.RunCommand(kCmdSave);
      QVERIFY(!script.TimedOut());
      QVERIFY(script.Finished());
    }
    QCOMPARE(boxText, u"保存歌词时遇到错误,磁盘空间不足，无法保存"_qs);
    QVERIFY(session.Changed());
    QCOMPARE(QDir(f.root.filePath(u"music"_qs)).entryList(QDir::Files | QDir::Hidden), QStringList());

    testing::ModalScript again({name});
    session.RunCommand(kCmdSave);
    QVERIFY(again.Finished());
    QVERIFY(!session.Changed());
    QCOMPARE(session.LyricsPath(), target);
    QVERIFY(DecodeFile(EditorFixture::Read(target)).contains(u"[ti:一首歌]"_qs));
  }
};

QTEST_MAIN(TestSaveFailureWidgets)
#include "tst_savefailure_widgets.moc"
