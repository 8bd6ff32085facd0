#include "editor/dialogs/chooserdialog.h"

#include "dialogdriver.h"

#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

using namespace lyrova;
using namespace lyrova::testing;

class TestChooserDialog : public QObject {
  Q_OBJECT

 private slots:
  void captions() {
    ChooserDialog dialog(0);
    QVERIFY(ShowForTest(dialog));
    QCOMPARE(dialog.windowTitle(), QStringLiteral("新建或清除歌词"));
    QCOMPARE(dialog.Frame1()->title(), QStringLiteral("请选择你要执行的操作"));
    const QStringList expected = {QStringLiteral("新建歌词文件"), QStringLiteral("清除所有歌词"),
                                  QStringLiteral("清除所有时间标签"), QStringLiteral("按字数自动建立时间标签"),
                                  QStringLiteral("按行数自动建立时间标签")};
    const QList<QRadioButton*> options = dialog.Frame1()->findChildren<QRadioButton*>();
    QCOMPARE(options.size(), 5);
    for (int i = 0; i < 5; ++i) {
      QCOMPARE(dialog.Option1(i)->text(), expected.at(i));
      QCOMPARE(dialog.Option1(i)->parentWidget(), dialog.Frame1());
    }
    // One column, top to bottom in this order.
    for (int i = 1; i < 5; ++i) QVERIFY(dialog.Option1(i)->y() > dialog.Option1(i - 1)->y());
    QCOMPARE(dialog.Command1(0)->text(), QStringLiteral("确 定"));
    QCOMPARE(dialog.Command1(1)->text(), QStringLiteral("取 消"));
  }

  // The remembered choice is preselected; one that addresses no option falls back to the first.
  void preselection_data() {
    QTest::addColumn<int>("lastChoice");
    QTest::addColumn<int>("selected");
    QTest::newRow("first use") << 0 << 0;
    QTest::newRow("clear lyrics") << 1 << 1;
    QTest::newRow("clear tags") << 2 << 2;
    QTest::newRow("by characters") << 3 << 3;
    QTest::newRow("by lines") << 4 << 4;
    QTest::newRow("below range") << -1 << 0;
    QTest::newRow("above range") << 5 << 0;
  }
  void preselection() {
    QFETCH(int, lastChoice);
    QFETCH(int, selected);
    ChooserDialog dialog(lastChoice);
    QCOMPARE(dialog.Selection(), selected);
    for (int i = 0; i < 5; ++i) QCOMPARE(dialog.Option1(i)->isChecked(), i == selected);
  }

  // How the dialog is left decides the result: OK takes the clicked option; Cancel, the close
  // box and Escape keep the caller's last choice and report cancelled; Enter acts as OK from
  // whatever control has the focus, the Cancel button included.
  void closing_data() {
    QTest::addColumn<int>("lastChoice");
    QTest::addColumn<int>("clicked");  // option clicked first, -1 none
    QTest::addColumn<QString>("how");
    QTest::addColumn<bool>("cancelled");
    QTest::addColumn<int>("choice");
    QTest::newRow("ok on preselection") << 3 << -1 << "ok" << false << 3;
    QTest::newRow("ok after click") << 0 << 2 << "ok" << false << 2;
    QTest::newRow("cancel after click") << 1 << 4 << "cancel" << true << 1;
    QTest::newRow("close box after click") << 2 << 0 << "closebox" << true << 2;
    QTest::newRow("escape") << 4 << 1 << "escape" << true << 4;
    QTest::newRow("enter on an option") << 0 << 3 << "enter-option" << false << 3;
    QTest::newRow("enter on cancel button") << 0 << 1 << "enter-cancel" << false << 1;
  }
  void closing() {
    QFETCH(int, lastChoice);
    QFETCH(int, clicked);
    QFETCH(QString, how);
    QFETCH(bool, cancelled);
    QFETCH(int, choice);
    ChooserDialog dialog(lastChoice);
    QVERIFY(ShowForTest(dialog));
    if (clicked >= 0) ClickOption(dialog.Option1(clicked));
    if (how == u"ok") QTest::mouseClick(dialog.Command1(0), Qt::LeftButton);
    else if (how == u"cancel") QTest::mouseClick(dialog.Command1(1), Qt::LeftButton);
    else if (how == u"closebox") ClickCloseBox(dialog);
    else if (how == u"escape") QTest::keyClick(dialog.Option1(0), Qt::Key_Escape);
    else if (how == u"enter-option") PressEnter(dialog.Option1(clicked));
    else if (how == u"enter-cancel") PressEnter(dialog.Command1(1));
    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.Result().cancelled, cancelled);
    QCOMPARE(dialog.Result().choice, choice);
  }

  void arrowKeysMoveTheSelection() {
    ChooserDialog dialog(1);
    QVERIFY(ShowForTest(dialog));
    dialog.Option1(1)->setFocus();
    QTest::keyClick(dialog.Option1(1), Qt::Key_Down);
    QCOMPARE(dialog.Selection(), 2);
    PressEnter(QApplication::focusWidget() != nullptr ? QApplication::focusWidget() : &dialog);
    QCOMPARE(dialog.Result().choice, 2);
    QVERIFY(!dialog.Result().cancelled);
  }
};

QTEST_MAIN(TestChooserDialog)
#include "tst_chooserdialog.moc"
