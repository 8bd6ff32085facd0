#include "editor/dialogs/layoutdialog.h"

#include "dialogdriver.h"

#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

using namespace lyrova;
using namespace lyrova::testing;

class TestLayoutDialog : public QObject {
  Q_OBJECT

 private slots:
  void captions() {
    LayoutDialog dialog(false);
    QCOMPARE(dialog.windowTitle(), QStringLiteral("保存和文本编辑格式选择"));
    QCOMPARE(dialog.Frame1()->title(), QStringLiteral("选项"));
    QCOMPARE(dialog.Option1(0)->text(), QStringLiteral("展开格式，歌词每行只有一个时间标签"));
    QCOMPARE(dialog.Option1(1)->text(),
             QStringLiteral("压缩格式，把几行相同的歌词压缩成一行，一行内可能有多个时间标签"));
    QCOMPARE(dialog.Command1(0)->text(), QStringLiteral("确 定"));
    QCOMPARE(dialog.Command1(1)->text(), QStringLiteral("取 消"));
  }

  // Opened on the current layout; clicking the other option changes the working copy; only OK
  // hands it out. Enter acts as OK from any control.
  void choosing_data() {
    QTest::addColumn<bool>("current");
    QTest::addColumn<bool>("clickOther");
    QTest::addColumn<QString>("how");
    QTest::addColumn<bool>("cancelled");
    QTest::addColumn<bool>("compressed");
    QTest::newRow("ok applies compressed") << false << true << "ok" << false << true;
    QTest::newRow("ok applies expanded") << true << true << "ok" << false << false;
    QTest::newRow("ok unchanged") << true << false << "ok" << false << true;
    QTest::newRow("cancel after click keeps expanded") << false << true << "cancel" << true << false;
    QTest::newRow("cancel after click keeps compressed") << true << true << "cancel" << true << true;
    QTest::newRow("close box after click") << false << true << "closebox" << true << false;
    QTest::newRow("escape after click") << true << true << "escape" << true << true;
    QTest::newRow("enter on the option") << false << true << "enter-option" << false << true;
    QTest::newRow("enter on cancel button") << true << true << "enter-cancel" << false << false;
  }
  void choosing() {
    QFETCH(bool, current);
    QFETCH(bool, clickOther);
    QFETCH(QString, how);
    QFETCH(bool, cancelled);
    QFETCH(bool, compressed);
    LayoutDialog dialog(current);
    QVERIFY(dialog.Option1(current ? 1 : 0)->isChecked());
    QVERIFY(!dialog.Option1(current ? 0 : 1)->isChecked());
    QVERIFY(ShowForTest(dialog));
    QRadioButton* other = dialog.Option1(current ? 0 : 1);
    if (clickOther) {
      ClickOption(other);
      QCOMPARE(dialog.LayoutChoice(), !current);
    }
    if (how == u"ok") QTest::mouseClick(dialog.Command1(0), Qt::LeftButton);
    else if (how == u"cancel") QTest::mouseClick(dialog.Command1(1), Qt::LeftButton);
    else if (how == u"closebox") ClickCloseBox(dialog);
    else if (how == u"escape") QTest::keyClick(other, Qt::Key_Escape);
    else if (how == u"enter-option") PressEnter(other);
    else if (how == u"enter-cancel") PressEnter(dialog.Command1(1));
    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.Result().cancelled, cancelled);
    QCOMPARE(dialog.Result().compressed, compressed);
  }
};

QTEST_MAIN(TestLayoutDialog)
#include "tst_layoutdialog.moc"
