#include "common/prompts/scriptedprompts.h"
#include "player/shell/about.h"
#include "player/shell/help.h"

#include <QDir>
#include <QFile>
#include <QStringDecoder>
#include <QTemporaryDir>
#include <QTest>

using namespace lyrova;

namespace {

QByteArray ReadBytes(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace

class TestHelpAbout : public QObject {
  Q_OBJECT

 private slots:
  void openHelp_data() {
    QTest::addColumn<QString>("layout");  // "file", "none" or "folder" (help.html is a folder)
    QTest::addColumn<bool>("viewerWorks");
    QTest::addColumn<bool>("opened");
    QTest::addColumn<bool>("viewerCalled");
    QTest::addColumn<QString>("messageStart");  // "" for no message
    QTest::newRow("present") << "file" << true << true << true << "";
    QTest::newRow("missing") << "none" << true << false << false << QStringLiteral("帮助文件 ");
    QTest::newRow("a folder of that name") << "folder" << true << false << false << QStringLiteral("帮助文件 ");
    QTest::newRow("viewer fails") << "file" << false << false << true << QStringLiteral("无法打开帮助文件 ");
  }
  void openHelp() {
    QFETCH(QString, layout);
    QFETCH(bool, viewerWorks);
    QFETCH(bool, opened);
    QFETCH(bool, viewerCalled);
    QFETCH(QString, messageStart);
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("程序 目录"));
    QVERIFY(QDir().mkpath(folder));
    const QString path = folder + QStringLiteral("/help.html");
    if (layout == u"file") {
      QFile file(path);
      QVERIFY(file.open(QIODevice::WriteOnly));
      file.write("<html></html>");
    } else if (layout == u"folder") {
      QVERIFY(QDir().mkpath(path));
    }
    ScriptedPrompts prompts;
    QList<QUrl> urls;
    const bool result = OpenHelp(folder, prompts, [&](const QUrl& url) {
      urls << url;
      return viewerWorks;
    });
    QCOMPARE(result, opened);
    QCOMPARE(urls.isEmpty(), !viewerCalled);
    if (viewerCalled) QCOMPARE(urls, QList<QUrl>{QUrl::fromLocalFile(path)});
    if (messageStart.isEmpty()) {
      QVERIFY(prompts.Shown().isEmpty());
      return;
    }
    QCOMPARE(prompts.Shown().size(), 1);
    const ShownPrompt shown = prompts.Last();
    QCOMPARE(shown.kind, PromptKind::Message);
    QCOMPARE(shown.icon, MessageIcon::Critical);
    QCOMPARE(shown.title, QStringLiteral("Lyrova"));
    if (messageStart == u"帮助文件 ")
      QCOMPARE(shown.text, QStringLiteral("帮助文件 ") + path + QStringLiteral(" 丢失"));
    else
      QCOMPARE(shown.text, messageStart + path);
  }

  void helpPathJoinsOnce() {
    QCOMPARE(HelpFilePath(QStringLiteral("/opt/lyrova")), QStringLiteral("/opt/lyrova/help.html"));
    QCOMPARE(HelpFilePath(QStringLiteral("/opt/lyrova/")), QStringLiteral("/opt/lyrova/help.html"));
  }

  void aboutBox() {
    QCOMPARE(PlayerVersionText(), QStringLiteral("1.42.1"));
    const QStringList lines = AboutLines();
    QCOMPARE(lines.first(), QStringLiteral("Lyrova 1.42.1"));
    QCOMPARE(lines.at(1), QStringLiteral("套件版本 " LYROVA_PROJECT_VERSION));
    QCOMPARE(lines.last(), QStringLiteral("Lyrova 开发组"));
    ScriptedPrompts prompts;
    ShowAbout(prompts);
    QCOMPARE(prompts.Shown().size(), 1);
    QCOMPARE(prompts.Last().kind, PromptKind::Message);
    QCOMPARE(prompts.Last().title, QStringLiteral("关于Lyrova"));
    QCOMPARE(prompts.Last().icon, MessageIcon::Information);
    QCOMPARE(prompts.Last().text, lines.join(u'\n'));
  }

  // The guide is shipped beside the programs, in UTF-8, and covers what the Player shows: every
  // toolbar hint, the menus it explains and where the files live.
  void helpDocument() {
    const QByteArray source = ReadBytes(QStringLiteral(LYROVA_SOURCE_DIR "/player/help/help.html"));
    QVERIFY(!source.isEmpty());
    QCOMPARE(ReadBytes(QStringLiteral(LYROVA_BINARY_DIR "/bin/help.html")), source);
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString text = utf8.decode(source);
    QVERIFY(!utf8.hasError());
    QVERIFY(text.contains(QStringLiteral("<meta charset=\"utf-8\">")));
    for (const char* phrase :
         {"打开文件", "播放", "暂停", "停止", "保持在顶部", "发送歌词到 Chatora", "选择发送目标", "调节发送时间",
          "Chatora 歌词修饰", "聊天窗口", "设置与工具", "帮助", "退出", "LrcDir.ini", "LrcLink.ini", "emotions.ini",
          "~/.config/Lyrova/Lyrova.ini", "~/.local/share/Lyrova", "Lrc", "Versel", "Scoutel", "用Lyrova打开",
          "透明度", "循环播放", "打开时自动播放", "关联歌词", "添加歌词查找目录"})
      QVERIFY2(text.contains(QString::fromUtf8(phrase)), phrase);
    QVERIFY(!text.contains(QStringLiteral("<script")));
    QVERIFY(!text.contains(QStringLiteral("http://")) && !text.contains(QStringLiteral("https://")));
  }
};

QTEST_GUILESS_MAIN(TestHelpAbout)
#include "tst_helpabout.moc"
