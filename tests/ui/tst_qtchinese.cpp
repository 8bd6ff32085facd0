// Qt's own texts in the programs' dialogs are Simplified Chinese once InstallQtChinese has run,
// whatever the locale (CTest runs every test under LC_ALL=C.UTF-8). The expected texts come from
// Qt's catalogue itself, read through a translator of the test's own.
#include "common/qttranslations.h"
#include "common/ui/widgetprompts.h"
#include "modalscript.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QHeaderView>
#include <QLibraryInfo>
#include <QListView>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <QTranslator>
#include <QTreeView>

using namespace lyrova;
using lyrova::testing::ModalScript;

namespace {

bool HoldsHan(const QString& text) {
  return text.contains(QRegularExpression(QStringLiteral("\\p{Han}")));
}

bool HoldsLatinWord(const QString& text) {
  return text.contains(QRegularExpression(QStringLiteral("[A-Za-z]{2,}")));
}

}  // namespace

class TestQtChinese : public QObject {
  Q_OBJECT

  QTranslator catalogue_;

  QString Expected(const char* context, const char* source, const char* disambiguation = nullptr) {
    const QString text = catalogue_.translate(context, source, disambiguation);
    if (text.isEmpty()) qWarning() << "not in the catalogue:" << context << source;
    return text;
  }

 private slots:
  // A missing catalogue leaves Qt's English texts and the program running; then the real
  // catalogue is installed for the rest of the tests.
  void initTestCase() {
    QTemporaryDir empty;
    QVERIFY(!InstallQtChinese(*qApp, empty.path()));
    {
      QMessageBox box(QMessageBox::Question, QStringLiteral("提示"), QStringLiteral("问题"),
                      QMessageBox::Yes | QMessageBox::No);
      QCOMPARE(box.button(QMessageBox::Yes)->text(), QStringLiteral("&Yes"));
    }
    const QString path = QtChineseCataloguePath(QLibraryInfo::path(QLibraryInfo::TranslationsPath));
    if (path.isEmpty()) QFAIL("qtbase_zh_CN.qm is missing: run scripts/install-deps.sh");
    QVERIFY(catalogue_.load(path));
    QVERIFY(InstallQtChinese(*qApp));
    QCOMPARE(QLocale().language(), QLocale::Chinese);
  }

  void standardButtons_data() {
    QTest::addColumn<int>("button");
    QTest::addColumn<QByteArray>("source");
    QTest::newRow("yes") << int(QMessageBox::Yes) << QByteArray("&Yes");
    QTest::newRow("no") << int(QMessageBox::No) << QByteArray("&No");
    QTest::newRow("cancel") << int(QMessageBox::Cancel) << QByteArray("Cancel");
    QTest::newRow("ok") << int(QMessageBox::Ok) << QByteArray("OK");
    QTest::newRow("save") << int(QMessageBox::Save) << QByteArray("Save");
  }

  void standardButtons() {
    QFETCH(int, button);
    QFETCH(QByteArray, source);
    QMessageBox box(QMessageBox::Question, QStringLiteral("提示"), QStringLiteral("要保存吗？"),
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel | QMessageBox::Ok |
                        QMessageBox::Save);
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    const QString shown = box.button(QMessageBox::StandardButton(button))->text();
    const QString expected = Expected("QPlatformTheme", source.constData());
    QVERIFY(HoldsHan(expected));
    QCOMPARE(shown, expected);
  }

  // An open dialog shown through the programs' prompts: Qt's columns, places and buttons, the
  // type of a folder, and the size and date columns, which Qt writes in the system locale
  // unless the prompts put their own columns in.
  void fileDialogTexts() {
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("专辑")));
    QFile song(dir.filePath(QStringLiteral("歌.mp3")));
    QVERIFY(song.open(QIODevice::WriteOnly));
    song.write(QByteArray(688, 'x'));
    song.close();

    QStringList headers;
    QString computer, backTip, folderType, songSize, songDate;
    ModalScript script({[&](QWidget* w) {
      auto* dialog = qobject_cast<QFileDialog*>(w);
      auto* tree = dialog ? dialog->findChild<QTreeView*>(QStringLiteral("treeView")) : nullptr;
      if (tree == nullptr || tree->model() == nullptr) return false;
      const QAbstractItemModel* model = tree->model();
      const QModelIndex root = tree->rootIndex();
      if (model->rowCount(root) < 2) return false;  // still being listed
      QString folderRow, songRow;
      for (int row = 0; row < model->rowCount(root); ++row) {
        const QString name = model->index(row, 0, root).data().toString();
        if (name == u"专辑") folderType = model->index(row, 2, root).data().toString();
        if (name == u"歌.mp3") {
          songSize = model->index(row, 1, root).data().toString();
          songDate = model->index(row, 3, root).data().toString();
        }
      }
      if (folderType.isEmpty() || songDate.isEmpty()) return false;
      for (int column = 0; column < 4; ++column)
        headers << model->headerData(column, Qt::Horizontal).toString();
      if (auto* sidebar = dialog->findChild<QListView*>(QStringLiteral("sidebar")))
        computer = sidebar->model()->index(0, 0).data().toString();
      if (auto* back = dialog->findChild<QToolButton*>(QStringLiteral("backButton")))
        backTip = back->toolTip();
      dialog->reject();
      return true;
    }});
    WidgetPrompts prompts;
    FileDialogRequest request;
    request.title = QStringLiteral("打开音频文件");
    request.startFolder = dir.path();
    request.nameFilters = QStringList{QStringLiteral("所有文件 (*)")};
    QVERIFY(!prompts.FileDialog(request).has_value());
    QVERIFY(script.Finished());

    QCOMPARE(headers, (QStringList{Expected("QFileSystemModel", "Name"), Expected("QFileSystemModel", "Size"),
                                   Expected("QFileSystemModel", "Type", "All other platforms"),
                                   Expected("QFileSystemModel", "Date Modified")}));
    for (const QString& header : headers) QVERIFY2(HoldsHan(header), qPrintable(header));
    QCOMPARE(computer, Expected("QFileSystemModel", "Computer"));
    QCOMPARE(backTip, Expected("QFileDialog", "Back"));
    QCOMPARE(folderType, Expected("QFileDialog", "Folder", "All other platforms"));
    QVERIFY2(HoldsHan(songSize) && !HoldsLatinWord(songSize), qPrintable(songSize));
    QVERIFY2(!HoldsLatinWord(songDate), qPrintable(songDate));
  }
};

QTEST_MAIN(TestQtChinese)
#include "tst_qtchinese.moc"
