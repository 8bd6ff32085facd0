#include "editor/dialogs/widgeteditordialogs.h"

#include "dialogdriver.h"
#include "editor/dialogs/aboutdialog.h"
#include "editor/dialogs/chooserdialog.h"
#include "editor/dialogs/offsetdialog.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

using namespace lyrova;
using namespace lyrova::testing;

// The dialogs as the main window sees them: shown modally over the owner, answered while
// exec() runs. What each dialog does on its own is tested beside it.
class TestWidgetEditorDialogs : public QObject {
  Q_OBJECT

 private:
  QWidget owner_;

  void CheckModalOverOwner(QDialog* dialog) {
    QVERIFY(dialog->isModal());
    QCOMPARE(dialog->parentWidget(), &owner_);
  }

 private slots:
  void initTestCase() {
    owner_.resize(400, 300);
    owner_.show();
  }

  // The main window keeps the last choice of the run and passes it back in: the second
  // opening preselects the first choice, and closing it by the close box changes nothing.
  void chooserRemembersTheRunsChoice() {
    WidgetEditorDialogs dialogs;
    int lastChoice = 0;
    WhenModal([this](QDialog* dialog) {
      CheckModalOverOwner(dialog);
      auto* chooser = qobject_cast<ChooserDialog*>(dialog);
      QVERIFY(chooser != nullptr);
      QVERIFY(chooser->Option1(0)->isChecked());
      ClickOption(chooser->Option1(3));
      QTest::mouseClick(chooser->Command1(0), Qt::LeftButton);
    });
    const ChooserResult first = dialogs.ChooseNewOrClear(&owner_, lastChoice);
    QVERIFY(!first.cancelled);
    QCOMPARE(first.choice, 3);
    lastChoice = first.choice;

    bool preselected = false;
    WhenModal([&preselected](QDialog* dialog) {
      auto* chooser = qobject_cast<ChooserDialog*>(dialog);
      QVERIFY(chooser != nullptr);
      preselected = chooser->Option1(3)->isChecked();
      ClickCloseBox(*dialog);
    });
    const ChooserResult second = dialogs.ChooseNewOrClear(&owner_, lastChoice);
    QVERIFY(preselected);
    QVERIFY(second.cancelled);
    QCOMPARE(second.choice, 3);
  }

  // Without a Prompts of its own the offset dialog shows its message box over itself.
  void offsetMessageBoxOverTheDialog() {
    WidgetEditorDialogs dialogs;
    QString shownText;
    QWidget* boxParent = nullptr;
    QWidget* offsetWindow = nullptr;
    WhenModal([&](QDialog* dialog) {
      offsetWindow = dialog;
      auto* offset = qobject_cast<OffsetDialog*>(dialog);
      QVERIFY(offset != nullptr);
      offset->Combo1()->lineEdit()->clear();
      WhenModal([&](QDialog* box) {
        if (auto* message = qobject_cast<QMessageBox*>(box)) {
          shownText = message->text();
          boxParent = message->parentWidget();
        }
        box->accept();
        QTimer::singleShot(0, dialog, [dialog] { ClickCloseBox(*dialog); });
      });
      QTest::mouseClick(offset->OkButton(), Qt::LeftButton);
    });
    const OffsetResult result = dialogs.AskOffset(&owner_);
    QCOMPARE(shownText, QStringLiteral("输入错误"));
    QCOMPARE(boxParent, offsetWindow);
    QVERIFY(result.allTags);
    QCOMPARE(result.valueMs, 0);
  }

  void aboutShowsTheExtraLines() {
    WidgetEditorDialogs dialogs;
    dialogs.SetAboutExtraLines({QStringLiteral("F5  打上时间标签"), QStringLiteral("Ctrl+S  保存")});
    QStringList shown;
    WhenModal([this, &shown](QDialog* dialog) {
      CheckModalOverOwner(dialog);
      QCOMPARE(dialog->windowTitle(), QStringLiteral("关于Versel"));
      for (const QLabel* label : qobject_cast<AboutDialog*>(dialog)->Labels()) shown << label->text();
      PressEnter(dialog);
    });
    dialogs.ShowAbout(&owner_);
    QCOMPARE(shown, (QStringList{QStringLiteral("Versel"), QStringLiteral("Version 1.02 测试版"),
                                 QStringLiteral("套件版本 " LYROVA_PROJECT_VERSION),
                                 QStringLiteral("F5  打上时间标签"), QStringLiteral("Ctrl+S  保存")}));
  }
};

QTEST_MAIN(TestWidgetEditorDialogs)
#include "tst_widgeteditordialogs.moc"
