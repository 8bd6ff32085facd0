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
    QCOMPARE(dialogs.PendingAnswers(), 6);

    const ChooserResult chosen = dialogs.ChooseNewOrClear(nullptr, 1);
    QVERIFY(!chosen.cancelled);
    QCOMPARE(chosen.choice, 3);
    const ChooserResult cancelled = dialogs.ChooseNewOrClear(nullptr, 3);
    QVERIFY(cancelled.cancelled);
    QCOMPARE(cancelled.choice, 3);

    const OffsetResult offset = dialogs.AskOffset(nullptr);
    QVERIFY(!offset.allTags);
    QCOMPARE(offset.valueMs, -1500);
    const OffsetResult closed = dialogs.AskOffset(nullptr);
    QVERIFY(closed.allTags);
    QCOMPARE(closed.valueMs, 0);

    const LayoutResult layout = dialogs.ChooseLayout(nullptr, false);
    QVERIFY(!layout.cancelled);
    QVERIFY(layout.compressed);
    const LayoutResult kept = dialogs.ChooseLayout(nullptr, true);
    QVERIFY(kept.cancelled);
    QVERIFY(kept.compressed);

    dialogs.ShowAbout(nullptr);
    QCOMPARE(dialogs.PendingAnswers(), 0);
    QVERIFY(!dialogs.Unanswered());
    QCOMPARE(dialogs.Calls().size(), 7);
    QCOMPARE(dialogs.Calls().at(0).lastChoice, 1);
    QCOMPARE(dialogs.Calls().at(1).lastChoice, 3);
    QCOMPARE(dialogs.Calls().at(4).kind, EditorDialogKind::Layout);
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
    QEXPECT_FAIL("", "a dialog without a scripted answer must fail the running test", Continue);
    switch (static_cast<EditorDialogKind>(kind)) {
      case EditorDialogKind::Chooser: {
        const ChooserResult r = dialogs.ChooseNewOrClear(nullptr, 2);
        QVERIFY(r.cancelled);
        QCOMPARE(r.choice, 2);
        break;
      }
      case EditorDialogKind::Offset: {
        const OffsetResult r = dialogs.AskOffset(nullptr);
        QVERIFY(r.allTags);
        QCOMPARE(r.valueMs, 0);
        break;
      }
      case EditorDialogKind::Layout: {
        const LayoutResult r = dialogs.ChooseLayout(nullptr, true);
        QVERIFY(r.cancelled);
        QVERIFY(r.compressed);
        break;
      }
      case EditorDialogKind::About: break;
    }
    QVERIFY(dialogs.Unanswered());
    QCOMPARE(dialogs.Calls().size(), 1);
  }
};

QTEST_GUILESS_MAIN(TestScriptedEditorDialogs)
#include "tst_scriptededitordialogs.moc"
