#include "editor/dialogs/offsetdialog.h"

#include "common/prompts/scriptedprompts.h"
#include "dialogdriver.h"

#include <QClipboard>
#include <QComboBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

using namespace lyrova;
using namespace lyrova::testing;

namespace {

const QString kNotANumber = QStringLiteral("输入错误");
const QString kOutOfRange = QStringLiteral("输入的值超出范围");

QLineEdit* Edit(const OffsetDialog& dialog) { return dialog.Combo1()->lineEdit(); }

void Retype(const OffsetDialog& dialog, const QString& keys) {
  Edit(dialog)->selectAll();
  QTest::keyClick(Edit(dialog), Qt::Key_Backspace);
  QTest::keyClicks(Edit(dialog), keys);
}

}  // namespace

class TestOffsetDialog : public QObject {
  Q_OBJECT

 private slots:
  void reading_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("valueMs");  // -1: refused
    QTest::addColumn<QString>("error");
    QTest::newRow("empty") << "" << -1 << kNotANumber;
    QTest::newRow("blank") << " " << -1 << kNotANumber;
    QTest::newRow("letters") << "abc" << -1 << kNotANumber;
    QTest::newRow("digits then letters") << "12ab" << -1 << kNotANumber;
    QTest::newRow("zero") << "0" << 0 << "";
    QTest::newRow("leading zeros") << "0001500" << 1500 << "";
    QTest::newRow("largest") << "5999999" << 5999999 << "";
    QTest::newRow("one too large") << "6000000" << -1 << kOutOfRange;
    QTest::newRow("beyond 32 bits") << "99999999999999999999" << -1 << kOutOfRange;
    QTest::newRow("negative") << "-1" << -1 << kOutOfRange;
    QTest::newRow("half rounds down to even") << "2.5" << 2 << "";
    QTest::newRow("half rounds up to even") << "3.5" << 4 << "";
    QTest::newRow("rounds into range") << "5999999.4" << 5999999 << "";
    QTest::newRow("rounds out of range") << "5999999.5" << -1 << kOutOfRange;
  }
  void reading() {
    QFETCH(QString, text);
    QFETCH(int, valueMs);
    QFETCH(QString, error);
    const OffsetReading reading = ReadOffsetText(text);
    QCOMPARE(reading.valueMs.has_value(), valueMs >= 0);
    if (valueMs >= 0) QCOMPARE(*reading.valueMs, valueMs);
    QCOMPARE(reading.error, error);
  }

  void controlsOnLoad() {
    ScriptedPrompts prompts;
    OffsetDialog dialog(prompts);
    QCOMPARE(dialog.windowTitle(), QStringLiteral("延迟或提前时间标签的时间值"));
    QCOMPARE(dialog.Frame(0)->title(), QStringLiteral("如何操作"));
    QCOMPARE(dialog.Frame(1)->title(), QStringLiteral("执行的对象"));
    QCOMPARE(dialog.Option2(0)->text(), QStringLiteral("延迟"));
    QCOMPARE(dialog.Option2(1)->text(), QStringLiteral("提前"));
    QCOMPARE(dialog.Option1(0)->text(), QStringLiteral("全部时间标签"));
    QCOMPARE(dialog.Option1(1)->text(), QStringLiteral("当前选择的时间标签"));
    QVERIFY(dialog.Option2(0)->isChecked());
    QVERIFY(dialog.Option1(0)->isChecked());
    QCOMPARE(dialog.OkButton()->text(), QStringLiteral("确 定"));
    QStringList labels;
    for (const QLabel* label : dialog.findChildren<QLabel*>()) labels << label->text();
    QVERIFY(labels.contains(QStringLiteral("偏移值：")));
    QVERIFY(labels.contains(QStringLiteral("毫秒")));
    // Only OK: the close box is the way out without an offset.
    QCOMPARE(dialog.findChildren<QPushButton*>().size(), 1);

    QVERIFY(dialog.Combo1()->isEditable());
    QCOMPARE(dialog.Combo1()->count(), 121);
    for (int i = 0; i < 121; ++i) QCOMPARE(dialog.Combo1()->itemText(i), QString::number(500 * i));
    QCOMPARE(dialog.Combo1()->currentText(), QStringLiteral("0"));
    QCOMPARE(dialog.Result().allTags, true);
    QCOMPARE(dialog.Result().valueMs, 0);
  }

  // Only digits get in, whether typed or pasted; editing keys still work.
  void onlyDigitsGetIn_data() {
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("pasted");
    QTest::addColumn<QString>("shown");
    QTest::newRow("letters between digits") << "1a5b0c0" << "" << "1500";
    QTest::newRow("signs and points") << "-1.5e3 +" << "" << "153";
    QTest::newRow("full-width digits") << QStringLiteral("１２") << "" << "";
    QTest::newRow("backspace") << "1234\b" << "" << "123";
    QTest::newRow("pasted letters refused") << "7" << "12ab" << "7";
    QTest::newRow("pasted decimal refused") << "" << "1.5" << "";
    QTest::newRow("pasted digits taken") << "9" << "250" << "9250";
  }
  void onlyDigitsGetIn() {
    QFETCH(QString, keys);
    QFETCH(QString, pasted);
    QFETCH(QString, shown);
    ScriptedPrompts prompts;
    OffsetDialog dialog(prompts);
    QVERIFY(ShowForTest(dialog));
    Edit(dialog)->selectAll();
    QTest::keyClick(Edit(dialog), Qt::Key_Backspace);
    for (const QChar c : keys) {
      if (c == u'\b') {
        QTest::keyClick(Edit(dialog), Qt::Key_Backspace);
      } else {
        // A key event carrying the character, as an input method delivers full-width digits.
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(Edit(dialog), &press);
      }
    }
    if (!pasted.isEmpty()) {
      QApplication::clipboard()->setText(pasted);
      if (QApplication::clipboard()->text() != pasted) QSKIP("no clipboard on this platform");
      Edit(dialog)->paste();
    }
    QCOMPARE(dialog.Combo1()->currentText(), shown);
    QCOMPARE(dialog.Combo1()->count(), 121);
  }

  // OK with a typed value, the direction and the target. Refused values show their message
  // and keep the dialog open.
  void ok_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("advance");
    QTest::addColumn<bool>("selectedOnly");
    QTest::addColumn<bool>("byEnter");
    QTest::addColumn<QString>("message");
    QTest::addColumn<bool>("allTags");
    QTest::addColumn<int>("valueMs");
    QTest::newRow("advance selected 1500") << "1500" << true << true << false << "" << false << -1500;
    QTest::newRow("delay all 1500") << "1500" << false << false << false << "" << true << 1500;
    QTest::newRow("largest accepted") << "5999999" << false << false << false << "" << true << 5999999;
    QTest::newRow("largest advance") << "5999999" << true << false << false << "" << true << -5999999;
    QTest::newRow("out of range") << "6000000" << false << false << false << kOutOfRange << true << 0;
    QTest::newRow("empty") << "" << false << false << false << kNotANumber << true << 0;
    QTest::newRow("zero closes with nothing") << "0" << true << true << false << "" << false << 0;
    QTest::newRow("typed 15 is not completed") << "15" << false << false << true << "" << true << 15;
    QTest::newRow("enter in the box") << "2500" << true << false << true << "" << true << -2500;
    QTest::newRow("enter with empty box") << "" << false << false << true << kNotANumber << true << 0;
  }
  void ok() {
    QFETCH(QString, typed);
    QFETCH(bool, advance);
    QFETCH(bool, selectedOnly);
    QFETCH(bool, byEnter);
    QFETCH(QString, message);
    QFETCH(bool, allTags);
    QFETCH(int, valueMs);
    ScriptedPrompts prompts;
    OffsetDialog dialog(prompts);
    QVERIFY(ShowForTest(dialog));
    if (advance) ClickOption(dialog.Option2(1));
    if (selectedOnly) ClickOption(dialog.Option1(1));
    Retype(dialog, typed);
    if (byEnter) PressEnter(Edit(dialog));
    else QTest::mouseClick(dialog.OkButton(), Qt::LeftButton);

    if (message.isEmpty()) {
      QCOMPARE(prompts.Shown().size(), 0);
      QVERIFY(!dialog.isVisible());
      QCOMPARE(dialog.result(), int(QDialog::Accepted));
    } else {
      QCOMPARE(prompts.Shown().size(), 1);
      QCOMPARE(prompts.Last().text, message);
      QCOMPARE(prompts.Last().icon, MessageIcon::Critical);
      QVERIFY(dialog.isVisible());
    }
    QCOMPARE(dialog.Result().allTags, allTags);
    QCOMPARE(dialog.Result().valueMs, valueMs);
    QCOMPARE(dialog.Combo1()->count(), 121);  // Enter adds nothing to the list
  }

  void correctedAfterARefusal() {
    ScriptedPrompts prompts;
    OffsetDialog dialog(prompts);
    QVERIFY(ShowForTest(dialog));
    Retype(dialog, QStringLiteral("6000000"));
    PressEnter(Edit(dialog));
    QVERIFY(dialog.isVisible());
    Retype(dialog, QStringLiteral("600000"));
    PressEnter(Edit(dialog));
    QVERIFY(!dialog.isVisible());
    QCOMPARE(prompts.Shown().size(), 1);
    QCOMPARE(dialog.Result().valueMs, 600000);
  }

  // Closing without OK applies nothing, even after the options and the value were changed.
  void closeBoxAndEscapeApplyNothing_data() {
    QTest::addColumn<bool>("escape");
    QTest::newRow("close box") << false;
    QTest::newRow("escape") << true;
  }
  void closeBoxAndEscapeApplyNothing() {
    QFETCH(bool, escape);
    ScriptedPrompts prompts;
    OffsetDialog dialog(prompts);
    QVERIFY(ShowForTest(dialog));
    ClickOption(dialog.Option2(1));
    ClickOption(dialog.Option1(1));
    Retype(dialog, QStringLiteral("3000"));
    if (escape) QTest::keyClick(Edit(dialog), Qt::Key_Escape);
    else ClickCloseBox(dialog);
    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.Result().allTags, true);
    QCOMPARE(dialog.Result().valueMs, 0);
    QCOMPARE(prompts.Shown().size(), 0);
  }
};

QTEST_MAIN(TestOffsetDialog)
#include "tst_offsetdialog.moc"
