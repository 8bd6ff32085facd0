#include "common/prompts/scriptedprompts.h"

#include <QTest>

using namespace lyrova;

// The other tests rely on two things: answers come back in the order they were scripted, and a
// prompt without an answer fails the test instead of passing with a silent default.
class TestScriptedPrompts : public QObject {
  Q_OBJECT

 private slots:
  void answersInOrderAndRecords() {
    ScriptedPrompts prompts;
    prompts.AnswerQuestion(true);
    prompts.AnswerQuestion(false);
    prompts.AnswerText(QStringLiteral("名字"));
    prompts.CancelText();
    prompts.AnswerFolder(QStringLiteral("/lrc"));
    QCOMPARE(prompts.PendingAnswers(), 5);
    QCOMPARE(prompts.Question(QStringLiteral("q1"), QStringLiteral("t"), DefaultAnswer::No), true);
    QCOMPARE(prompts.Question(QStringLiteral("q2"), QStringLiteral("t"), DefaultAnswer::Yes), false);
    prompts.Message(QStringLiteral("m"), QStringLiteral("Lyrova"), MessageIcon::Critical);
    QCOMPARE(prompts.InputText(QStringLiteral("p"), QStringLiteral("t"), QStringLiteral("d")),
             std::optional<QString>(QStringLiteral("名字")));
    QCOMPARE(prompts.InputText(QStringLiteral("p"), QStringLiteral("t"), QString()), std::optional<QString>());
    QCOMPARE(prompts.ChooseFolder(QStringLiteral("f"), QStringLiteral("/start")),
             std::optional<QString>(QStringLiteral("/lrc")));
    QCOMPARE(prompts.PendingAnswers(), 0);
    QVERIFY(!prompts.Unanswered());
    QCOMPARE(prompts.Shown().size(), 6);
    QCOMPARE(prompts.Shown().at(1).preselected, DefaultAnswer::Yes);
    QCOMPARE(prompts.Shown().at(2).icon, MessageIcon::Critical);
    QCOMPARE(prompts.Shown().at(3).defaultText, QStringLiteral("d"));
    QCOMPARE(prompts.Last().startFolder, QStringLiteral("/start"));
    QCOMPARE(prompts.ShownCount(PromptKind::Question), 2);
  }

  void unansweredPromptFailsTheTest() {
    ScriptedPrompts prompts;
    QEXPECT_FAIL("", "a question without a scripted answer must fail the running test", Continue);
    const bool answer = prompts.Question(QStringLiteral("删除吗？"), QStringLiteral("t"), DefaultAnswer::Yes);
    QVERIFY(!answer);
    QVERIFY(prompts.Unanswered());
  }
};

QTEST_GUILESS_MAIN(TestScriptedPrompts)
#include "tst_scriptedprompts.moc"
