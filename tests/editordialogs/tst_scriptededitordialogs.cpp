#include "editor/dialogs/scriptededitordialogs.h"

#include <QTest>

using namespace lyrova;

// The main window's tests rely on the stand-in: answers in the order scripted, the caller's
// arguments recorded, and a dialog without an answer failing the test instead of passing.
class TestScriptedEditorDialogs : public QObject {
  Q_OBJECT

 private slots:
  void answersInOrderAndRecordsArguments() {
    ScriptedEditorDialogs dialogs;
    dialogs.AnswerChooser(3);
    dialogs.CancelChooser();
    dialogs.AnswerOffset(false, -1500);
    dialogs.CloseOffset();
    dialogs.AnswerLayout(true);
    dialogs.CancelLayout();

    const ChooserResult chosen = dialogs.ChooseNewOrClear(nullptr, 1);
    const ChooserResult cancelled = dialogs.ChooseNewOrClear(nullptr, 4);
    QVERIFY(!chosen.cancelled && chosen.choice == 3);
    QVERIFY(cancelled.cancelled && cancelled.choice == 4);
    const OffsetResult offset = dialogs.AskOffset(nullptr);
    const OffsetResult closed = dialogs.AskOffset(nullptr);
    QVERIFY(!offset.allTags && offset.valueMs == -1500);
    QVERIFY(closed.allTags && closed.valueMs == 0);
    const LayoutResult layout = dialogs.ChooseLayout(nullptr, false);
    const LayoutResult kept = dialogs.ChooseLayout(nullptr, true);
    QVERIFY(!layout.cancelled && layout.compressed);
    QVERIFY(kept.cancelled && kept.compressed);
    dialogs.ShowAbout(nullptr);

    QCOMPARE(dialogs.PendingAnswers(), 0);
    QVERIFY(!dialogs.Unanswered());
    QCOMPARE(dialogs.Calls().size(), 7);
    QCOMPARE(dialogs.Calls().at(0).lastChoice, 1);
    QCOMPARE(dialogs.Calls().at(5).kind, EditorDialogKind::Layout);
    QCOMPARE(dialogs.Calls().at(5).compressed, true);
    QCOMPARE(dialogs.CallCount(EditorDialogKind::Offset), 2);
    QCOMPARE(dialogs.Last().kind, EditorDialogKind::About);
  }

  void unansweredDialogFailsTheTest_data() {
    QTest::addColumn<int>("kind");
    QTest::newRow("chooser") << static_cast<int>(EditorDialogKind::Chooser);
    QTest::newRow("offset") << static_cast<int>(EditorDialogKind::Offset);
    QTest::newRow("layout") << static_cast<int>(EditorDialogKind::Layout);
  }
  void unansweredDialogFailsTheTest() {
    QFETCH(int, kind);
    ScriptedEditorDialogs dialogs;
    bool cancelAnswer = false;
    QEXPECT_FAIL("", "a dialog without a scripted answer must fail the running test", Continue);
    if (kind == static_cast<int>(EditorDialogKind::Chooser)) {
      const ChooserResult r = dialogs.ChooseNewOrClear(nullptr, 2);
      cancelAnswer = r.cancelled && r.choice == 2;
    } else if (kind == static_cast<int>(EditorDialogKind::Offset)) {
      const OffsetResult r = dialogs.AskOffset(nullptr);
      cancelAnswer = r.allTags && r.valueMs == 0;
    } else {
      const LayoutResult r = dialogs.ChooseLayout(nullptr, true);
      cancelAnswer = r.cancelled && r.compressed;
    }
    QVERIFY(cancelAnswer);
    QVERIFY(dialogs.Unanswered());
  }
};

QTEST_GUILESS_MAIN(TestScriptedEditorDialogs)
#include "tst_scriptededitordialogs.moc"
