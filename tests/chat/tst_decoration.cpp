// The decoration around sent lines: the emoticon list file, insertion at the caret, the dialog
// and what the controller keeps and stores of it.
#include "chatfixture.h"

#include "common/textcodec.h"
#include "player/chat/decorationdialog.h"

#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QTest>

using namespace lyrova;

Q_DECLARE_METATYPE(QList<lyrova::Emoticon>)

namespace {

void WriteFile(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  QVERIFY(file.open(QIODevice::WriteOnly));
  file.write(bytes);
}

const QList<Emoticon> kTwo = {{u"微笑"_qs, u"/:)"_qs}, {u"玫瑰"_qs, u"/rose"_qs}};

}  // namespace

class TestDecoration : public QObject {
  Q_OBJECT

 private slots:
  void emoticonLines_data() {
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QList<Emoticon>>("expected");
    QTest::newRow("name and code") << QStringList{u"微笑=/:)"_qs}
                                   << QList<Emoticon>{{u"微笑"_qs, u"/:)"_qs}};
    QTest::newRow("nothing after =") << QStringList{u"空="_qs} << QList<Emoticon>{};
    QTest::newRow("starts with =") << QStringList{u"=/:)"_qs} << QList<Emoticon>{};
    QTest::newRow("no =") << QStringList{u"[表情]"_qs, u"just text"_qs} << QList<Emoticon>{};
    QTest::newRow("code keeps later =") << QStringList{u"等号=a=b="_qs}
                                        << QList<Emoticon>{{u"等号"_qs, u"a=b="_qs}};
    QTest::newRow("blank name skipped") << QStringList{u"   =x"_qs} << QList<Emoticon>{};
    QTest::newRow("blanks kept") << QStringList{u" 笑 = /:D "_qs}
                                 << QList<Emoticon>{{u" 笑 "_qs, u" /:D "_qs}};
    QTest::newRow("order kept, bad ones between")
        << QStringList{u"b=2"_qs, u"="_qs, u"a=1"_qs}
        << QList<Emoticon>{{u"b"_qs, u"2"_qs}, {u"a"_qs, u"1"_qs}};
  }
  void emoticonLines() {
    QFETCH(QStringList, lines);
    QFETCH(QList<Emoticon>, expected);
    QCOMPARE(ParseEmoticons(lines), expected);
  }

  void emoticonFileIsReadInTheCodePage() {
    QTemporaryDir dir;
    const QString path = dir.filePath(u"emotions.ini"_qs);
    QCOMPARE(ReadEmoticons(path), QList<Emoticon>{});  // missing: nothing, no error
    WriteFile(path, TextEncoder(TextEncoding::Ansi).Encode(u"[表情]\r\n微笑=/:)\r\r玫瑰=/rose\r\n=x\r\n"));
    QCOMPARE(ReadEmoticons(path), kTwo);
    // The shipped list is well formed.
    QVERIFY(ReadEmoticons(QStringLiteral(LYROVA_SOURCE_DIR "/player/chat/emotions.ini")).size() >= 4);
  }

  void emoticonFileLocation() {
    QTemporaryDir dir;
    const QString data = dir.filePath(u"data"_qs);
    const QString program = dir.filePath(u"bin"_qs);
    QDir(dir.path()).mkpath(u"data"_qs);
    QDir(dir.path()).mkpath(u"bin"_qs);
    QCOMPARE(EmoticonFilePath(data, program), data + u"/emotions.ini"_qs);  // neither: data
    WriteFile(program + u"/emotions.ini"_qs, "a=b");
    QCOMPARE(EmoticonFilePath(data, program), program + u"/emotions.ini"_qs);
    WriteFile(data + u"/emotions.ini"_qs, "a=b");
    QCOMPARE(EmoticonFilePath(data, program), data + u"/emotions.ini"_qs);
  }

  void insertionAtTheCaret_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("length");
    QTest::addColumn<QString>("result");
    QTest::addColumn<int>("caret");
    QTest::newRow("at the end") << u"ab"_qs << 2 << 0 << u"ab/:)"_qs << 5;
    QTest::newRow("in the middle") << u"ab"_qs << 1 << 0 << u"a/:)b"_qs << 4;
    QTest::newRow("replaces the selection") << u"abcd"_qs << 1 << 2 << u"a/:)d"_qs << 4;
    QTest::newRow("empty box") << QString() << 0 << 0 << u"/:)"_qs << 3;
    QTest::newRow("selection past the end") << u"ab"_qs << 1 << 9 << u"a/:)"_qs << 4;
    QTest::newRow("caret past the end") << u"ab"_qs << 7 << 0 << u"ab/:)"_qs << 5;
  }
  void insertionAtTheCaret() {
    QFETCH(QString, text);
    QFETCH(int, start);
    QFETCH(int, length);
    QFETCH(QString, result);
    QFETCH(int, caret);
    QCOMPARE(InsertAtCaret(text, start, length, u"/:)"_qs), (CaretEdit{result, caret}));
  }

  void dialogShowsItsControls() {
    DecorationDialog dialog(nullptr, kTwo, 1, u"前"_qs, u"后"_qs);
    QCOMPARE(dialog.windowTitle(), u"指定歌词修饰字符"_qs);
    QVERIFY(dialog.windowFlags() & Qt::WindowStaysOnTopHint);
    QCOMPARE(dialog.Text1(0)->toolTip(), u"歌词前修饰字符"_qs);
    QCOMPARE(dialog.Text1(1)->toolTip(), u"歌词后修饰字符"_qs);
    QCOMPARE(dialog.Label2(0)->text(), u"歌词前"_qs);
    QCOMPARE(dialog.Label2(1)->text(), u"歌词后"_qs);
    QCOMPARE(dialog.Combo1()->toolTip(), u"表情选择"_qs);
    for (int i = 0; i < 3; ++i) QCOMPARE(dialog.Command3(i)->toolTip(), u"添加表情"_qs);
    QCOMPARE(dialog.Command4()->text(), u"编辑预制表情代码"_qs);
    QCOMPARE(dialog.Command1()->text(), u"确定"_qs);
    QCOMPARE(dialog.Command2()->text(), u"取消"_qs);
    QCOMPARE(dialog.Label1()->text(),
             u"设置添加到歌词前面和后面的字符串，在发送歌词时，它将与歌词同时发送到聊天室，"
             u"如果它是Chatora的一个表情代码将会显示为对应的表情。"_qs);
    QCOMPARE(dialog.Combo1()->count(), 2);
    QCOMPARE(dialog.Combo1()->itemText(1), u"玫瑰"_qs);
    QCOMPARE(dialog.Combo1()->currentIndex(), 1);
    QCOMPARE(dialog.Text1(0)->text(), u"前"_qs);
    QCOMPARE(dialog.Text1(0)->cursorPosition(), 1);
    QCOMPARE(dialog.Text1(1)->cursorPosition(), 1);
    QVERIFY(dialog.Cancelled());
  }

  void dialogPickerSelection_data() {
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("last");
    QTest::addColumn<int>("selected");
    QTest::newRow("last entry still there") << 2 << 1 << 1;
    QTest::newRow("list shortened") << 1 << 1 << 0;
    QTest::newRow("empty list") << 0 << 0 << -1;
  }
  void dialogPickerSelection() {
    QFETCH(int, count);
    QFETCH(int, last);
    QFETCH(int, selected);
    DecorationDialog dialog(nullptr, kTwo.mid(0, count), last, {}, {});
    QCOMPARE(dialog.Combo1()->currentIndex(), selected);
    dialog.AddEmoticon(2);  // with nothing selected nothing happens
    if (selected < 0) QCOMPARE(dialog.Text1(0)->text() + dialog.Text1(1)->text(), QString());
  }

  void addButtonsInsertAtEachCaret() {
    DecorationDialog dialog(nullptr, kTwo, 0, u"abcd"_qs, u"xy"_qs);
    dialog.Text1(0)->setSelection(1, 2);
    dialog.Text1(1)->setCursorPosition(1);
    QTest::mouseClick(dialog.Command3(0), Qt::LeftButton);
    QCOMPARE(dialog.Text1(0)->text(), u"a/:)d"_qs);
    QCOMPARE(dialog.Text1(0)->cursorPosition(), 4);
    QCOMPARE(dialog.Text1(1)->text(), u"xy"_qs);
    dialog.Combo1()->setCurrentIndex(1);
    emit dialog.Combo1()->activated(1);
    QTest::mouseClick(dialog.Command3(2), Qt::LeftButton);
    QCOMPARE(dialog.Text1(0)->text(), u"a/:)/rosed"_qs);
    QCOMPARE(dialog.Text1(1)->text(), u"x/rosey"_qs);
    QCOMPARE(dialog.Text1(1)->cursorPosition(), 6);
    QTest::mouseClick(dialog.Command3(1), Qt::LeftButton);
    QCOMPARE(dialog.Text1(1)->text(), u"x/rose/rosey"_qs);
    QCOMPARE(dialog.Text1(0)->text(), u"a/:)/rosed"_qs);
    QCOMPARE(dialog.LastEmoticonIndex(), 1);
  }

  void dialogEndings_data() {
    QTest::addColumn<QString>("how");
    QTest::addColumn<bool>("cancelled");
    QTest::newRow("confirm button") << u"confirm"_qs << false;
    QTest::newRow("Enter in the suffix box") << u"enter"_qs << false;
    QTest::newRow("cancel button") << u"cancel"_qs << true;
    QTest::newRow("closed") << u"close"_qs << true;
  }
  void dialogEndings() {
    QFETCH(QString, how);
    QFETCH(bool, cancelled);
    DecorationDialog dialog(nullptr, kTwo, 0, u"a"_qs, u"b"_qs);
    dialog.show();
    dialog.Text1(0)->setText(u"新前"_qs);
    if (how == u"confirm") QTest::mouseClick(dialog.Command1(), Qt::LeftButton);
    if (how == u"enter") QTest::keyClick(dialog.Text1(1), Qt::Key_Return);
    if (how == u"cancel") QTest::mouseClick(dialog.Command2(), Qt::LeftButton);
    if (how == u"close") dialog.close();
    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.Cancelled(), cancelled);
    QCOMPARE(dialog.ResultHome(), cancelled ? QString() : u"新前"_qs);
    QCOMPARE(dialog.ResultEnd(), cancelled ? QString() : u"b"_qs);
  }

  void controllerKeepsAndStoresTheDecoration() {
    ChatFixture f;
    WriteFile(f.root.filePath(u"emotions.ini"_qs), "smile=/:)\r\nrose=/rose\r\n");
    // Confirmed: kept and stored at once.
    f.chat.runDialog = [](DecorationDialog& d) {
      d.Combo1()->setCurrentIndex(1);
      emit d.Combo1()->activated(1);
      d.AddEmoticon(0);
      d.Confirm();
    };
    f.chat.ShowDecorationDialog(nullptr);
    QCOMPARE(f.chat.DressHome(), u"/rose"_qs);
    QCOMPARE(f.settings.ReadSetting(u"DressHome"_qs, u"?"_qs), u"/rose"_qs);
    QCOMPARE(f.settings.ReadSetting(u"DressEnd"_qs, u"?"_qs), QString());
    QCOMPARE(f.chat.LastEmoticonIndex(), 1);
    // Cancelled after editing: nothing changes; the picker remembers the last entry.
    f.chat.runDialog = [](DecorationDialog& d) {
      QCOMPARE(d.Combo1()->currentIndex(), 1);
      QCOMPARE(d.Text1(0)->text(), u"/rose"_qs);
      d.Text1(0)->setText(u"changed"_qs);
      d.reject();
    };
    f.chat.ShowDecorationDialog(nullptr);
    QCOMPARE(f.chat.DressHome(), u"/rose"_qs);
    // The preset editor: started on the file, the dialog closes as cancelled.
    f.chat.runDialog = [](DecorationDialog& d) {
      d.Text1(1)->setText(u"changed"_qs);
      d.Command4()->click();
    };
    f.chat.ShowDecorationDialog(nullptr);
    QCOMPARE(f.launcher.started,
             (QList<QStringList>{{u"mousepad"_qs, f.root.filePath(u"emotions.ini"_qs)}}));
    QCOMPARE(f.chat.DressEnd(), QString());
    QVERIFY(f.prompts.Shown().isEmpty());
    // An editor that does not start is reported.
    f.launcher.fails = true;
    f.chat.ShowDecorationDialog(nullptr);
    QCOMPARE(f.prompts.Last().icon, MessageIcon::Critical);
    QVERIFY(f.LastMessage().startsWith(u"无法启动文本编辑器,没有这个程序\n文本编辑器《mousepad》无法启动"_qs));
    // Confirmed empty: the decoration is gone and two empty settings are stored.
    f.chat.runDialog = [](DecorationDialog& d) {
      d.Text1(0)->clear();
      d.Confirm();
    };
    f.chat.ShowDecorationDialog(nullptr);
    QCOMPARE(f.chat.DressHome(), QString());
    QCOMPARE(f.settings.ReadSetting(u"DressHome"_qs, u"?"_qs), QString());
    // Read back at the next start.
    f.settings.WriteSetting(u"DressEnd"_qs, u" ~"_qs);
    f.chat.StartChatDiscovery();
    QCOMPARE(f.chat.DressEnd(), u" ~"_qs);
  }
};

QTEST_MAIN(TestDecoration)
#include "tst_decoration.moc"
