#include "editor/dialogs/aboutdialog.h"

#include "dialogdriver.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>

using namespace lyrova;
using namespace lyrova::testing;

class TestAboutDialog : public QObject {
  Q_OBJECT

 private slots:
  void versionLine_data() {
    QTest::addColumn<int>("major");
    QTest::addColumn<int>("minor");
    QTest::addColumn<QString>("line");
    QTest::newRow("1.02") << 1 << 2 << QStringLiteral("Version 1.02 测试版");
    QTest::newRow("minor zero") << 1 << 0 << QStringLiteral("Version 1.00 测试版");
    QTest::newRow("two-digit minor") << 2 << 15 << QStringLiteral("Version 2.15 测试版");
    QTest::newRow("three-digit minor") << 3 << 123 << QStringLiteral("Version 3.123 测试版");
    QTest::newRow("major ten") << 10 << 1 << QStringLiteral("Version 10.01 测试版");
  }
  void versionLine() {
    QFETCH(int, major);
    QFETCH(int, minor);
    QFETCH(QString, line);
    QCOMPARE(EditorVersionLine(major, minor), line);
  }

  // The labels in order, top to bottom, each fully visible in a box sized to fit them.
  void labelsStackedAndFitting_data() {
    QTest::addColumn<QStringList>("extra");
    QTest::newRow("no extra lines") << QStringList();
    QTest::newRow("shortcuts") << QStringList{QStringLiteral("F5  在当前行打上播放时间"),
                                              QStringLiteral("Ctrl+S  保存歌词文件"),
                                              QStringLiteral("A & B <b>原样显示</b>")};
    QTest::newRow("one long line")
        << QStringList{QStringLiteral("按住空格键播放，松开暂停；方向键上下移动当前行，回车转到下一行歌词。")};
  }
  void labelsStackedAndFitting() {
    QFETCH(QStringList, extra);
    AboutDialog dialog(extra);
    QCOMPARE(dialog.windowTitle(), QStringLiteral("关于Versel"));
    QCOMPARE(dialog.OkButton()->text(), QStringLiteral("确 定"));
    QVERIFY(ShowForTest(dialog));

    // The suite's version comes from CMake's project(VERSION) through a generated header.
    const QStringList expected = QStringList{QStringLiteral("Versel"), QStringLiteral("Version 1.02 测试版"),
                                             QStringLiteral("套件版本 " LYROVA_PROJECT_VERSION)} + extra;
    QCOMPARE(dialog.Labels().size(), expected.size());
    for (int i = 0; i < expected.size(); ++i) {
      const QLabel* label = dialog.Labels().at(i);
      QCOMPARE(label->text(), expected.at(i));
      QVERIFY2(label->width() >= label->sizeHint().width(), qPrintable(expected.at(i)));
      QVERIFY(label->geometry().right() < dialog.width());
      if (i > 0) QVERIFY(label->y() >= dialog.Labels().at(i - 1)->geometry().bottom());
    }
    QVERIFY(dialog.OkButton()->y() > dialog.Labels().last()->geometry().bottom());
    QVERIFY(dialog.OkButton()->geometry().bottom() < dialog.height());
    QCOMPARE(dialog.size(), dialog.sizeHint());
  }

  void closing_data() {
    QTest::addColumn<bool>("byEnter");
    QTest::newRow("ok button") << false;
    QTest::newRow("enter") << true;
  }
  void closing() {
    QFETCH(bool, byEnter);
    AboutDialog dialog({QStringLiteral("F5")});
    QVERIFY(ShowForTest(dialog));
    if (byEnter) PressEnter(dialog.Labels().at(0));
    else QTest::mouseClick(dialog.OkButton(), Qt::LeftButton);
    QVERIFY(!dialog.isVisible());
  }
};

QTEST_MAIN(TestAboutDialog)
#include "tst_aboutdialog.moc"
