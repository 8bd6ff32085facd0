#include "playerfixture.h"

#include "player/window/bars.h"
#include "player/core/fontorder.h"
#include "player/window/statuslabel.h"
#include "common/ui/toolbutton.h"

#include <QAction>
#include <QFontDatabase>
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>

#include <algorithm>
#include <QTest>

#include <sys/stat.h>

using namespace lyrova;

class TestPlayerLook : public QObject {
  Q_OBJECT

 private slots:
  void firstStartShowsTheIdleWindow() {
    PlayerFixture f;
    PlayerWindow& w = f.Start({QStringLiteral("/R")});
    QCOMPARE(w.Session().OpenName(), QString());
    QCOMPARE(w.CurrentLineText(), u"Lyrova 1.42"_qs);
    QVERIFY(!w.NextLineText().isEmpty());
    QCOMPARE(w.StatusText(), u"播放已停止"_qs);
    QVERIFY(w.Topmost());
    QVERIFY(w.windowFlags() & Qt::FramelessWindowHint);
    QVERIFY(w.windowFlags() & Qt::WindowStaysOnTopHint);
    QCOMPARE(w.Session().Volume(), 750);
    QCOMPARE(w.Transparency(), 3);
    QCOMPARE(w.AlphaMenu()->title(), u"透明度: 15%"_qs);
    QCOMPARE(w.Alphas().size(), 15);
    QCOMPARE(w.Alphas()[0]->text(), u"不透明"_qs);
    QCOMPARE(w.Alphas()[14]->text(), u"70%"_qs);
    QCOMPARE(w.LA2x().size(), 30);
    QCOMPARE(w.LA3x().size(), 30);
    QCOMPARE(w.LA2x()[0]->text(), u"0.5 秒"_qs);
    QCOMPARE(w.LA3x()[29]->text(), u"15.0 秒"_qs);
    QVERIFY(w.LA1()->isChecked());
    QCOMPARE(w.LA2()->title(), u"歌词提前↑"_qs);
    QCOMPARE(w.LSx().size(), 41);
    QCOMPARE(w.LSx()[0]->text(), u"8"_qs);
    QCOMPARE(w.LSx()[40]->text(), u"48"_qs);
    QCOMPARE(w.FontSizeMenu()->title(), u"歌词字体尺寸: 11"_qs);
    QVERIFY(w.Toggle(QStringLiteral("OpenLrcSel_M"))->isChecked());
    QVERIFY(!w.Toggle(QStringLiteral("SetLoop_M"))->isChecked());
    QVERIFY(w.Toggle(QStringLiteral("SetAutoPlay_M"))->isChecked());
    QVERIFY(!w.Toggle(QStringLiteral("SkipUrl_M"))->isChecked());
    QVERIFY(w.Toggle(QStringLiteral("ChatTest_M"))->isChecked());
    QVERIFY(w.SendTypeSel()[int(SendMethod::Paste)]->isChecked());
    QVERIFY(!w.SendTypeSel()[int(SendMethod::SetText)]->isVisible());
    QCOMPARE(w.SendTypeMenu()->title(), u"发送方式: 粘贴发送"_qs);
    QCOMPARE(w.ChatPanelHeight(), 0);
    QCOMPARE(w.LastChatPanelHeight(), 32);
    QVERIFY(!f.prompts.Unanswered());
  }

  void altMRevealsFastSending() {
    PlayerFixture f;
    PlayerWindow& w = f.Start();
    QTest::keyClick(&w, Qt::Key_M, Qt::ControlModifier | Qt::AltModifier);
    QVERIFY(!w.SendTypeSel()[int(SendMethod::SetText)]->isVisible());
    QTest::keyClick(&w, Qt::Key_M, Qt::AltModifier);
    QVERIFY(w.SendTypeSel()[int(SendMethod::SetText)]->isVisible());
    w.SendTypeSel()[int(SendMethod::SetText)]->trigger();
    QCOMPARE(w.SendType(), SendMethod::SetText);
    QCOMPARE(f.prompts.Last().icon, MessageIcon::Warning);
    QVERIFY(f.prompts.Last().text.startsWith(u"你选择的发送方式是快速发送"_qs));
  }

  void minimumSizeAndChatStrip() {
    PlayerFixture f;
    PlayerWindow& w = f.Start();
    const int minimum = w.height();
    QCOMPARE(w.minimumHeight(), minimum);
    QVERIFY(w.ChatInput()->isHidden());
    // Too narrow springs back to the minimum width; too low to the minimum height.
    w.resize(100, 10);
    QCOMPARE(w.width(), (5685 + 14) / 15);
    QCOMPARE(w.height(), minimum);
    w.RunButton(PlayerButton::ChatStrip);
    QCOMPARE(w.ChatPanelHeight(), 32);
    QCOMPARE(w.height(), minimum + 32);
    QVERIFY(!w.ChatInput()->isHidden());
    w.resize(w.width(), minimum + 50);
    QCOMPARE(w.ChatPanelHeight(), 50);
    w.RunButton(PlayerButton::ChatStrip);
    QCOMPARE(w.ChatPanelHeight(), 0);
    w.RunButton(PlayerButton::ChatStrip);  // reopens at the height it last had
    QCOMPARE(w.ChatPanelHeight(), 50);
  }

  void toolbarRowLayout() {
    PlayerFixture f;
    PlayerWindow& w = f.Start();
    // Buttons on one line below the progress bar, 5 pixels apart; the status area after them.
    const int side = w.Button(PlayerButton::Open)->width();
    const int top = w.ProgressBarWidget()->height() + 5;
    for (int i = 0; i < PlayerWindow::kButtonCount; ++i) {
      QCOMPARE(w.Button(PlayerButton(i))->x(), 5 + i * (side + 5));
      QCOMPARE(w.Button(PlayerButton(i))->y(), top);
    }
    QCOMPARE(w.ProgressBarWidget()->x(), 0);
    QCOMPARE(w.ProgressBarWidget()->width(), w.width());
    const int statusLeft = w.Button(PlayerButton::Exit)->x() + side + 5;
    const auto labels = w.findChildren<QLabel*>();
    const auto status = std::find_if(labels.begin(), labels.end(),
                                     [&](QLabel* l) { return l->text() == u"播放已停止"_qs; });
    QVERIFY(status != labels.end());
    QCOMPARE((*status)->x(), statusLeft + 5);
    QCOMPARE((*status)->width(), w.width() - 10 - statusLeft);
    // Wider windows give the status area the room; the buttons stay.
    w.resize(700, w.height());
    QCOMPARE((*status)->width(), 700 - 10 - statusLeft);
    QCOMPARE(w.ProgressBarWidget()->width(), 700);
  }

  void fontSizeKeepsTheStripState() {
    PlayerFixture f;
    PlayerWindow& w = f.Start();
    const int before = w.height();
    w.ChooseFontSize(30);
    QCOMPARE(w.ChatPanelHeight(), 0);
    QVERIFY(w.height() > before);
    QCOMPARE(f.settings.ReadSetting(QStringLiteral("FontSize"), QString()), u"30"_qs);
    QCOMPARE(w.FontSizeMenu()->title(), u"歌词字体尺寸: 30"_qs);
    w.ChooseFontSize(8);
    QCOMPARE(w.ChatPanelHeight(), 0);
    QVERIFY(w.height() < before);
    // With the strip shown, it keeps what height is left.
    w.RunButton(PlayerButton::ChatStrip);
    const int strip = w.ChatPanelHeight();
    QVERIFY(strip > 0);
    w.ChooseFontSize(12);
    QVERIFY(w.ChatPanelHeight() > 0);
    QVERIFY(w.ChatPanelHeight() < strip);
  }

  void storedFontSizeOutOfRangeKeepsTheDesign() {
    PlayerFixture f;
    f.settings.WriteSetting(QStringLiteral("FontSize"), QStringLiteral("49"));
    PlayerWindow& w = f.Start();
    QCOMPARE(w.FontSizeMenu()->title(), u"歌词字体尺寸"_qs);
  }

  void idleTexts() {
    PlayerFixture f;
    const QString song = f.Song(QStringLiteral("无词.mp3"), 10'000);
    f.settings.WriteSetting(QStringLiteral("AutoPlay"), QStringLiteral("0"));
    PlayerWindow& w = f.Start({song});
    QCOMPARE(w.CurrentLineText(), u"无词.mp3"_qs);
    QCOMPARE(w.NextLineText(), u"歌词未找到"_qs);
    // A lyrics "file" that cannot be read: a folder with the lyrics name.
    PlayerFixture f2;
    const QString song2 = f2.Song(QStringLiteral("b.mp3"), 10'000);
    QDir(f2.root.filePath(QStringLiteral("data"))).mkpath(QStringLiteral("Lrc"));
    const QString broken = f2.root.filePath(QStringLiteral("data/LrcLink.ini"));
    const QString target = f2.root.filePath(QStringLiteral("music/gone.lrc"));
    PlayerFixture::Write(broken, (song2 + u"\r\n" + target + u"\r\n").toUtf8());
    f2.settings.WriteSetting(QStringLiteral("AutoPlay"), QStringLiteral("0"));
    PlayerWindow& w2 = f2.Start({song2});
    QCOMPARE(w2.Session().LyricsPath(), target);
    QCOMPARE(w2.NextLineText(), u"歌词读取失败:"_qs + target);
    // A pipe where the link's lyrics should be fails at once instead of waiting for a writer.
    PlayerFixture f3;
    const QString song3 = f3.Song(QStringLiteral("c.mp3"), 10'000);
    const QString pipe = f3.root.filePath(QStringLiteral("music/pipe.lrc"));
    QVERIFY(::mkfifo(QFile::encodeName(pipe).constData(), 0600) == 0);
    PlayerFixture::Write(f3.root.filePath(QStringLiteral("data/LrcLink.ini")), (song3 + u"\r\n" + pipe + u"\r\n").toUtf8());
    f3.settings.WriteSetting(QStringLiteral("AutoPlay"), QStringLiteral("0"));
    PlayerWindow& w3 = f3.Start({song3});
    QCOMPARE(w3.NextLineText(), u"歌词读取失败:"_qs + pipe);
  }

  void longLinesStartAtTheLeftEdge() {
    PlayerFixture f;
    const QString song = f.Song(QStringLiteral("a.mp3"), 10'000);
    PlayerFixture::Write(f.root.filePath(QStringLiteral("music/a.lrc")),
                         "[00:00.00]" + QByteArray(400, 'W') + "\r\n[00:05.00]short\r\n");
    PlayerWindow& w = f.Start({song});
    f.PlayFor(10);
    const auto labels = w.findChildren<QLabel*>();
    const auto current = std::find_if(labels.begin(), labels.end(),
                                      [](QLabel* l) { return l->text().startsWith(u"WWW"_qs); });
    QVERIFY(current != labels.end());
    QCOMPARE((*current)->x(), 0);
    const auto next = std::find_if(labels.begin(), labels.end(),
                                   [](QLabel* l) { return l->text() == u"short"_qs; });
    QVERIFY(next != labels.end());
    QVERIFY((*next)->x() > 0);
  }

  // The narrowest window: the clock is drawn whole (in a smaller font when it must be) and a
  // hint too long for the area ends in "…"; at the design width both are shown as they are.
  void statusAreaAtTheMinimumWidth() {
    PlayerFixture f;
    const QString song = f.Song(u"a.mp3"_qs, 5'000);
    PlayerWindow& w = f.Start({song});
    const int designWidth = w.width();
    f.PlayFor(3'000);
    const auto fits = [](const StatusLabel* label) {
      return QFontMetrics(label->font()).horizontalAdvance(label->text()) <= label->contentsRect().width();
    };
    const QString clock = u"00:03/00:05"_qs;
    const QString hint = u"发送歌词到 Chatora"_qs;
    const QFont normal = w.Label1()->font();
    QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), QPointF(2, 2));
    QEvent leave(QEvent::Leave);
    for (const int width : {int(PlayerWindow::kMinWidthPixels), designWidth}) {
      w.resize(width, w.height());
      QCOMPARE(w.width(), width);
      QCOMPARE(w.Label1()->text(), clock);
      QVERIFY2(fits(w.Label1()), qPrintable(QString::number(w.Label1()->contentsRect().width())));
      if (width == designWidth) QCOMPARE(w.Label1()->font(), normal);
      QCoreApplication::sendEvent(w.Button(PlayerButton::SendLyrics), &enter);
      QCOMPARE(w.HintText(), hint);
      QVERIFY(fits(w.Label2()));
      QCOMPARE(w.Label2()->font(), normal);
      if (width == designWidth) {
        QCOMPARE(w.Label2()->text(), hint);
      } else {
        QVERIFY(w.Label2()->text().endsWith(u'…'));
        QVERIFY(hint.startsWith(w.Label2()->text().chopped(1)));
      }
      QCoreApplication::sendEvent(w.Button(PlayerButton::SendLyrics), &leave);
    }
    QCOMPARE(w.StatusText(), clock);
  }

  void fontMenuListsTheInstalledFaces() {
    PlayerFixture f;
    // A face that is not installed: the caption names the one drawn in its place.
    const QString missingFace = u"并不存在的字体"_qs;
    f.settings.WriteSetting(u"FontName"_qs, missingFace);
    PlayerWindow& w = f.Start();
    QCOMPARE(w.LFx().size(), 1);  // the face list is built when the settings menu first opens
    w.RunButton(PlayerButton::Settings);
    const QStringList ordered = OrderFontNames(QFontDatabase::families());
    QVERIFY(ordered.size() > 1);
    QStringList shown;
    for (QAction* item : w.LFx())
      if (item->isVisible()) shown.append(item->text());
    QCOMPARE(shown, ordered);
    QFont asked = w.font();
    asked.setFamily(missingFace);
    const QString drawn = QFontInfo(asked).family();
    QVERIFY(drawn != missingFace);
    QCOMPARE(w.FontMenu()->title(), u"歌词字体: "_qs + drawn);
    // The list is built once: a second caption change neither adds nor reorders items.
    w.SetFontCaption();
    QCOMPARE(w.LFx().size(), ordered.size());
    // Choosing a face stores and shows the face the font system really gives.
    QAction* last = w.LFx().last();
    last->trigger();
    QFont expected = w.font();
    expected.setFamily(last->text());
    const QString reported = QFontInfo(expected).family();
    QCOMPARE(f.settings.ReadSetting(u"FontName"_qs, QString()), reported);
    QCOMPARE(w.FontMenu()->title(), u"歌词字体: "_qs + reported);
  }

  void menusPopUpFromTheirButtons() {
    PlayerFixture f;
    PlayerWindow& w = f.Start();
    w.RunButton(PlayerButton::ShiftTiming);
    w.RunButton(PlayerButton::Settings);
    w.RunButton(PlayerButton::Help);
    QCOMPARE(f.poppedUp, (QList<QMenu*>{w.LrcAdvance(), w.SetMenu(), w.HelpMenu()}));
    QVERIFY(w.FontMenu()->title().startsWith(u"歌词字体: "_qs));
    QVERIFY(w.LFx().size() >= 1);
  }
};

QTEST_MAIN(TestPlayerLook)
#include "tst_playerwindow_look.moc"
