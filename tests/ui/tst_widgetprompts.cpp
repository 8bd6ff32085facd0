#include "common/ui/widgetprompts.h"
#include "tests/ui/modalscript.h"

#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QElapsedTimer>
#include <QFile>
#include <QFileDialog>
#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>


using namespace lyrova;
using lyrova::testing::ButtonTexts;
using lyrova::testing::ModalScript;
using lyrova::testing::SelectFile;

namespace {

void WriteFile(const QString& path) {
  QFile file(path);
  QVERIFY(file.open(QIODevice::WriteOnly));
  file.write("x");
}

}  // namespace

Q_DECLARE_METATYPE(lyrova::DefaultAnswer)
Q_DECLARE_METATYPE(lyrova::MessageIcon)

class TestWidgetPrompts : public QObject {
  Q_OBJECT

 private slots:
  void question_data() {
    QTest::addColumn<DefaultAnswer>("preselected");
    QTest::addColumn<int>("key");  // 0: click the button named by `click`
    QTest::addColumn<QString>("click");
    QTest::addColumn<bool>("yes");
    QTest::newRow("enter takes preselected no") << DefaultAnswer::No << int(Qt::Key_Return) << "" << false;
    QTest::newRow("enter takes preselected yes") << DefaultAnswer::Yes << int(Qt::Key_Return) << "" << true;
    QTest::newRow("escape is no") << DefaultAnswer::Yes << int(Qt::Key_Escape) << "" << false;
    QTest::newRow("click yes") << DefaultAnswer::No << 0 << QStringLiteral("是") << true;
    QTest::newRow("click no") << DefaultAnswer::Yes << 0 << QStringLiteral("否") << false;
  }
  void question() {
    QFETCH(DefaultAnswer, preselected);
    QFETCH(int, key);
    QFETCH(QString, click);
    QFETCH(bool, yes);
    QWidget parent;
    WidgetPrompts prompts(&parent);
    QStringList buttons;
    QString title, text, defaultText;
    QWidget* seenParent = nullptr;
    ModalScript script({[&](QWidget* w) {
      auto* box = qobject_cast<QMessageBox*>(w);
      if (!box) return false;
      buttons = ButtonTexts(box);
      title = box->windowTitle();
      text = box->text();
      seenParent = box->parentWidget();
      defaultText = box->defaultButton() ? box->defaultButton()->text() : QString();
      if (key != 0) {
        QTest::keyClick(box, Qt::Key(key));
      } else {
        for (QAbstractButton* b : box->buttons())
          if (b->text() == click) b->click();
      }
      return true;
    }});
    const bool answer = prompts.Question(QStringLiteral("你是否进行此步操作?"), QStringLiteral("Lyrova"), preselected);
    QVERIFY(!script.TimedOut());
    QCOMPARE(answer, yes);
    QCOMPARE(buttons, (QStringList{QStringLiteral("否"), QStringLiteral("是")}));
    QCOMPARE(defaultText, preselected == DefaultAnswer::Yes ? QStringLiteral("是") : QStringLiteral("否"));
    QCOMPARE(title, QStringLiteral("Lyrova"));
    QCOMPARE(text, QStringLiteral("你是否进行此步操作?"));
    QCOMPARE(seenParent, &parent);
  }

  void message_data() {
    QTest::addColumn<MessageIcon>("icon");
    QTest::addColumn<int>("qtIcon");
    QTest::newRow("critical") << MessageIcon::Critical << int(QMessageBox::Critical);
    QTest::newRow("information") << MessageIcon::Information << int(QMessageBox::Information);
    QTest::newRow("warning") << MessageIcon::Warning << int(QMessageBox::Warning);
  }
  void message() {
    QFETCH(MessageIcon, icon);
    QFETCH(int, qtIcon);
    WidgetPrompts prompts;
    int seenIcon = -1;
    QStringList buttons;
    QString text;
    ModalScript script({[&](QWidget* w) {
      auto* box = qobject_cast<QMessageBox*>(w);
      if (!box) return false;
      seenIcon = box->icon();
      buttons = ButtonTexts(box);
      text = box->text();
      box->buttons().first()->click();
      return true;
    }});
    prompts.Message(QStringLiteral("帮助文件 /x/help.html 丢失"), QStringLiteral("Lyrova"), icon);
    QVERIFY(!script.TimedOut());
    QCOMPARE(seenIcon, qtIcon);
    QCOMPARE(buttons, QStringList{QStringLiteral("确定")});
    QCOMPARE(text, QStringLiteral("帮助文件 /x/help.html 丢失"));
  }

  void inputText_data() {
    QTest::addColumn<bool>("accept");
    QTest::addColumn<QString>("typed");
    QTest::newRow("ok") << true << QStringLiteral(" 新名字 ");
    QTest::newRow("ok with empty text") << true << QString();
    QTest::newRow("cancel") << false << QStringLiteral("ignored");
  }
  void inputText() {
    QFETCH(bool, accept);
    QFETCH(QString, typed);
    WidgetPrompts prompts;
    QStringList buttons;
    QString label, shownDefault, title;
    ModalScript script({[&](QWidget* w) {
      auto* dialog = qobject_cast<QInputDialog*>(w);
      if (!dialog) return false;
      for (QPushButton* b : dialog->findChildren<QPushButton*>()) buttons << b->text();
      buttons.sort();
      label = dialog->labelText();
      title = dialog->windowTitle();
      shownDefault = dialog->textValue();
      dialog->setTextValue(typed);
      accept ? dialog->accept() : dialog->reject();
      return true;
    }});
    const std::optional<QString> answer =
        prompts.InputText(QStringLiteral("你要将  /a.lrc  重命名为:"), QStringLiteral("歌词重命名"), QStringLiteral("a"));
    QVERIFY(!script.TimedOut());
    QCOMPARE(buttons, (QStringList{QStringLiteral("取消"), QStringLiteral("确定")}));
    QCOMPARE(label, QStringLiteral("你要将  /a.lrc  重命名为:"));
    QCOMPARE(title, QStringLiteral("歌词重命名"));
    QCOMPARE(shownDefault, QStringLiteral("a"));
    QCOMPARE(answer.has_value(), accept);
    if (accept) QCOMPARE(*answer, typed);
  }

  // The request reaches QFileDialog: mode, folder, filters folded for letter case, the
  // selected filter, and the index of the filter the user ended with.
  void openDialog() {
    QTemporaryDir dir;
    WriteFile(dir.filePath(QStringLiteral("B.MP3")));
    WriteFile(dir.filePath(QStringLiteral("c.txt")));
    FileDialogRequest request;
    request.title = QStringLiteral("打开音频文件");
    request.startFolder = dir.path();
    request.nameFilters = QStringList{QStringLiteral("全部音频 (*.mp3 *.ogg)"), QStringLiteral("MP3 格式音频 (*.mp3)"),
                                      QStringLiteral("所有文件 (*)")};
    request.selectedFilter = 1;
    request.fileMustExist = true;
    request.pathMustExist = true;
    WidgetPrompts prompts;
    QFileDialog::FileMode mode = QFileDialog::Directory;
    QFileDialog::AcceptMode acceptMode = QFileDialog::AcceptSave;
    QStringList filters;
    QString selectedFilter, folder, title, acceptLabel, rejectLabel;
    ModalScript script({[&](QWidget* w) {
      auto* dialog = qobject_cast<QFileDialog*>(w);
      if (!dialog) return false;
      mode = dialog->fileMode();
      acceptMode = dialog->acceptMode();
      filters = dialog->nameFilters();
      selectedFilter = dialog->selectedNameFilter();
      folder = dialog->directory().absolutePath();
      title = dialog->windowTitle();
      acceptLabel = dialog->labelText(QFileDialog::Accept);
      rejectLabel = dialog->labelText(QFileDialog::Reject);
      dialog->selectNameFilter(filters.value(2));
      SelectFile(dialog, dir.filePath(QStringLiteral("B.MP3")));
      static_cast<QDialog*>(dialog)->accept();
      return true;
    }});
    const std::optional<FileDialogAnswer> answer = prompts.FileDialog(request);
    QVERIFY(!script.TimedOut());
    QCOMPARE(mode, QFileDialog::ExistingFile);
    QCOMPARE(acceptMode, QFileDialog::AcceptOpen);
    QCOMPARE(filters, (QStringList{QStringLiteral("全部音频 (*.[mM][pP]3 *.[oO][gG][gG])"),
                                   QStringLiteral("MP3 格式音频 (*.[mM][pP]3)"), QStringLiteral("所有文件 (*)")}));
    QCOMPARE(selectedFilter, QStringLiteral("MP3 格式音频"));  // the details are hidden
    QCOMPARE(folder, QDir(dir.path()).absolutePath());
    QCOMPARE(title, QStringLiteral("打开音频文件"));
    QCOMPARE(acceptLabel, QStringLiteral("打开"));
    QCOMPARE(rejectLabel, QStringLiteral("取消"));
    QVERIFY(answer.has_value());
    QCOMPARE(answer->paths, QStringList{dir.filePath(QStringLiteral("B.MP3"))});
    QCOMPARE(answer->filterIndex, 2);
  }

  void openDialogModes_data() {
    QTest::addColumn<bool>("multi");
    QTest::addColumn<bool>("mustExist");
    QTest::addColumn<int>("mode");
    QTest::newRow("any file") << false << false << int(QFileDialog::AnyFile);
    QTest::newRow("existing file") << false << true << int(QFileDialog::ExistingFile);
    QTest::newRow("several files") << true << true << int(QFileDialog::ExistingFiles);
  }
  void openDialogModes() {
    QFETCH(bool, multi);
    QFETCH(bool, mustExist);
    QFETCH(int, mode);
    FileDialogRequest request;
    request.multiSelect = multi;
    request.fileMustExist = mustExist;
    WidgetPrompts prompts;
    int seenMode = -1;
    ModalScript script({[&](QWidget* w) {
      auto* dialog = qobject_cast<QFileDialog*>(w);
      if (!dialog) return false;
      seenMode = dialog->fileMode();
      dialog->reject();
      return true;
    }});
    QVERIFY(!prompts.FileDialog(request).has_value());
    QVERIFY(!script.TimedOut());
    QCOMPARE(seenMode, mode);
  }

  // Replacing an existing file is asked in Chinese with No preselected; No shows the dialog
  // again, and a typed name without extension gets the default suffix.
  void saveDialogAsksBeforeReplacing() {
    QTemporaryDir dir;
    const QString existing = dir.filePath(QStringLiteral("old.lrc"));
    WriteFile(existing);
    FileDialogRequest request;
    request.kind = FileDialogKind::Save;
    request.title = QStringLiteral("保存歌词");
    request.startFolder = dir.path();
    request.nameFilters = QStringList{QStringLiteral("歌词文件 (*.lrc)")};
    request.overwritePrompt = true;
    request.pathMustExist = true;
    request.defaultSuffix = QStringLiteral("lrc");
    WidgetPrompts prompts;
    QString questionText, questionDefault, acceptLabel;
    int dialogsShown = 0;
    auto choose = [&](const QString& path) {
      return [&, path](QWidget* w) {
        auto* dialog = qobject_cast<QFileDialog*>(w);
        if (!dialog) return false;
        ++dialogsShown;
        acceptLabel = dialog->labelText(QFileDialog::Accept);
        SelectFile(dialog, path);
        static_cast<QDialog*>(dialog)->accept();
        return true;
      };
    };
    ModalScript script({choose(existing),
                        [&](QWidget* w) {
                          auto* box = qobject_cast<QMessageBox*>(w);
                          if (!box) return false;
                          questionText = box->text();
                          questionDefault = box->defaultButton() ? box->defaultButton()->text() : QString();
                          QTest::keyClick(box, Qt::Key_Return);
                          return true;
                        },
                        choose(dir.filePath(QStringLiteral("new")))});
    const std::optional<FileDialogAnswer> answer = prompts.FileDialog(request);
    QVERIFY(!script.TimedOut());
    QVERIFY(script.Finished());
    QCOMPARE(dialogsShown, 2);
    QCOMPARE(acceptLabel, QStringLiteral("保存"));
    QCOMPARE(questionText, existing + QStringLiteral(" 已存在。\n要替换它吗？"));
    QCOMPARE(questionDefault, QStringLiteral("否"));
    QVERIFY(answer.has_value());
    QCOMPARE(answer->paths, QStringList{dir.filePath(QStringLiteral("new.lrc"))});
  }

  void saveDialogRefusesMissingFolder() {
    QTemporaryDir dir;
    const QString missingFolder = dir.filePath(QStringLiteral("gone"));
    FileDialogRequest request;
    request.kind = FileDialogKind::Save;
    request.title = QStringLiteral("保存歌词");
    request.startFolder = dir.path();
    request.pathMustExist = true;
    WidgetPrompts prompts;
    QString warning;
    int warningIcon = -1;
    ModalScript script({[&](QWidget* w) {
                          auto* dialog = qobject_cast<QFileDialog*>(w);
                          if (!dialog) return false;
                          SelectFile(dialog, missingFolder + QStringLiteral("/a.lrc"));
                          static_cast<QDialog*>(dialog)->accept();
                          return true;
                        },
                        [&](QWidget* w) {
                          auto* box = qobject_cast<QMessageBox*>(w);
                          if (!box) return false;
                          warning = box->text();
                          warningIcon = box->icon();
                          box->buttons().first()->click();
                          return true;
                        },
                        [&](QWidget* w) {
                          auto* dialog = qobject_cast<QFileDialog*>(w);
                          if (!dialog) return false;
                          dialog->reject();
                          return true;
                        }});
    QVERIFY(!prompts.FileDialog(request).has_value());
    QVERIFY(!script.TimedOut());
    QCOMPARE(warning, QStringLiteral("文件夹 ") + missingFolder + QStringLiteral(" 不存在。\n请检查路径是否正确。"));
    QCOMPARE(warningIcon, int(QMessageBox::Warning));
  }

  void chooseFolder_data() {
    QTest::addColumn<bool>("accept");
    QTest::newRow("chosen") << true;
    QTest::newRow("cancelled") << false;
  }
  void chooseFolder() {
    QFETCH(bool, accept);
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("歌词")));
    const QString target = dir.filePath(QStringLiteral("歌词"));
    WidgetPrompts prompts;
    int mode = -1;
    QString title, start;
    ModalScript script({[&](QWidget* w) {
      auto* dialog = qobject_cast<QFileDialog*>(w);
      if (!dialog) return false;
      mode = dialog->fileMode();
      title = dialog->windowTitle();
      start = dialog->directory().absolutePath();
      if (accept) {
        SelectFile(dialog, target);
        static_cast<QDialog*>(dialog)->accept();
      } else {
        dialog->reject();
      }
      return true;
    }});
    const std::optional<QString> folder = prompts.ChooseFolder(QStringLiteral("请指定歌词文件夹"), dir.path());
    QVERIFY(!script.TimedOut());
    QCOMPARE(mode, int(QFileDialog::Directory));
    QCOMPARE(title, QStringLiteral("请指定歌词文件夹"));
    QCOMPARE(start, QDir(dir.path()).absolutePath());
    QCOMPARE(folder.has_value(), accept);
    if (accept) QCOMPARE(*folder, target);
  }
};

QTEST_MAIN(TestWidgetPrompts)
#include "tst_widgetprompts.moc"
