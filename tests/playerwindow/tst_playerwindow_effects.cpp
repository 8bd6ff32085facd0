#include "playerfixture.h"

#include "common/ui/widgetprompts.h"
#include "player/window/bars.h"
#include "common/ui/toolbutton.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QTimer>
#include <QMimeData>
#include <QMouseEvent>
#include <QStandardPaths>
#include <QTest>

using namespace lyrova;

namespace {

struct ShownBox {
  QString title;
  QWidget* owner = nullptr;
};

// Runs `action`, which is to show one modal box or dialog; notes its title and owner and closes it.
ShownBox ShowAndClose(const std::function<void()>& action) {
  ShownBox shown;
  QTimer poll;
  poll.setInterval(5);
  QObject::connect(&poll, &QTimer::timeout, [&] {
    auto* box = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    if (box == nullptr) return;
    shown = {box->windowTitle(), box->parentWidget()};
    poll.stop();
    box->reject();
  });
  poll.start();
  action();
  return shown;
}

QAction* MenuItem(QMenu* menu, const QString& text) {
  for (QAction* action : menu->actions())
    if (action->text() == text) return action;
  return nullptr;
}

}  // namespace

class TestPlayerEffects : public QObject {
  Q_OBJECT

 private slots:
  void buttonsShowTheirHints() {
    PlayerFixture f;
    PlayerWindow& w = f.Start();
    ToolButton* open = w.Button(PlayerButton::Open);
    QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), QPointF(2, 2));
    QCoreApplication::sendEvent(open, &enter);
    QVERIFY(w.HintShown());
    QCOMPARE(w.HintText(), u"打开文件"_qs);
    QCOMPARE(open->Background(), QColor(128, 255, 128));
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(open, &leave);
    QVERIFY(!w.HintShown());
    QCOMPARE(open->Background(), QColor(255, 255, 255));
    QCoreApplication::sendEvent(w.Button(PlayerButton::Exit), &enter);
    QCOMPARE(w.HintText(), u"退出"_qs);
    // A press colours the button; the release restores every button.
    QTest::mousePress(w.Button(PlayerButton::KeepOnTop), Qt::LeftButton);
    QCOMPARE(w.Button(PlayerButton::KeepOnTop)->Background(), QColor(128, 128, 255));
    QTest::mouseRelease(w.Button(PlayerButton::KeepOnTop), Qt::LeftButton);
    QCOMPARE(w.Button(PlayerButton::KeepOnTop)->Background(), QColor(255, 255, 255));
    QVERIFY(!w.Topmost());  // the click toggled keep-on-top off
    QVERIFY(!(w.windowFlags() & Qt::WindowStaysOnTopHint));
  }

  void volumeBarFollowsThePointer() {
    PlayerFixture f;
    const QString song = f.Song(QStringLiteral("a.mp3"), 10'000);
    PlayerWindow& w = f.Start({song});
    auto* bar = w.findChild<VolumeBar*>();
    QVERIFY(bar);
    QVERIFY(!w.VolumeBarShown());
    const int quarter = bar->width() / 4;
    w.SetVolumeAt(quarter);
    QCOMPARE(w.Session().Volume(), VolumeForX(quarter, bar->width()));
    QVERIFY(qAbs(w.Session().Volume() - 250) < 20);
    QCOMPARE(f.audio.LatestEngine()->Volume(), w.Session().Volume());
    QCOMPARE(bar->FillWidth(), VolumeFillWidth(w.Session().Volume(), bar->width()));
    w.SetVolumeAt(bar->width() * 2);  // beyond the bar: the device keeps it at 1000
    QCOMPARE(w.Session().Volume(), 1000);
  }

  void windowMovesWithTheLyrics() {
    PlayerFixture f;
    PlayerWindow& w = f.Start();
    w.move(100, 100);
    QLabel* lyric = nullptr;
    for (QLabel* label : w.findChildren<QLabel*>())
      if (label->text() == w.CurrentLineText()) lyric = label;
    QVERIFY(lyric);
    const QPoint start = w.frameGeometry().topLeft();
    const QPointF at(10, 5);
    const QPointF globalAt = lyric->mapToGlobal(at);
    QMouseEvent press(QEvent::MouseButtonPress, at, globalAt, Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(lyric, &press);
    // Where the window system cannot move the window itself, it follows the pointer.
    const QPointF dragged = globalAt + QPointF(40, 25);
    QMouseEvent move(QEvent::MouseMove, lyric->mapFromGlobal(dragged), dragged, Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(lyric, &move);
    QCOMPARE(w.frameGeometry().topLeft(), start + QPoint(40, 25));
    // Moving without the button held leaves the window where it is.
    QMouseEvent hover(QEvent::MouseMove, at, globalAt, Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(lyric, &hover);
    QCOMPARE(w.frameGeometry().topLeft(), start + QPoint(40, 25));
  }

  void transparencyIsStored() {
    PlayerFixture f;
    PlayerWindow& w = f.Start();
    QVERIFY(w.AlphaMenu()->menuAction()->isVisible());
    w.Alphas()[10]->trigger();
    QCOMPARE(w.Transparency(), 10);
    QCOMPARE(w.AlphaMenu()->title(), u"透明度: 50%"_qs);
    QCOMPARE(f.settings.ReadSetting(QStringLiteral("Transparence"), QString()), u"10"_qs);
    QVERIFY(qAbs(w.windowOpacity() - 128 / 255.0) < 0.01);
  }

  void dropOpensTheFirstFile() {
    PlayerFixture f;
    const QString song = f.Song(QStringLiteral("拖放.ogg"), 9'000);
    PlayerWindow& w = f.Start();
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(song), QUrl::fromLocalFile(f.root.filePath(u"other"_qs))});
    QVERIFY(w.OpenDrop(data));
    QCOMPARE(w.Session().OpenName(), song);
    QVERIFY(f.media.IsPlaying());
    QMimeData text;
    text.setText(u"not a file"_qs);
    QVERIFY(!w.OpenDrop(text));
    QMimeData gone;
    gone.setUrls({QUrl::fromLocalFile(f.root.filePath(u"missing.mp3"_qs))});
    QVERIFY(!w.OpenDrop(gone));
    QCOMPARE(w.Session().OpenName(), song);
  }

  void helpAndAbout() {
    PlayerFixture f;
    PlayerWindow& w = f.Start();
    w.ShowHelp();  // no help file in this program folder
    QCOMPARE(f.prompts.Last().icon, MessageIcon::Critical);
    QCOMPARE(f.prompts.Last().text,
             u"帮助文件 "_qs + f.root.filePath(u"help.html"_qs) + u" 丢失"_qs);
    PlayerFixture::Write(f.root.filePath(u"help.html"_qs), "<html></html>");
    w.ShowHelp();
    QCOMPARE(f.opened.size(), 1);
    QCOMPARE(f.opened.first().toLocalFile(), f.root.filePath(u"help.html"_qs));
    w.ShowAbout();
    QCOMPARE(f.prompts.Last().title, u"关于Lyrova"_qs);
  }

  // The window stays on top: each box it shows through the real prompts is its own, so that
  // none can open beneath it.
  void boxesBelongToTheWindow() {
    PlayerFixture f;
    WidgetPrompts boxes;
    f.realPrompts = &boxes;
    PlayerWindow& w = f.Start();
    QAction* help = MenuItem(w.HelpMenu(), u"帮助文档"_qs);
    QAction* about = MenuItem(w.HelpMenu(), u"关于Lyrova"_qs);
    QVERIFY(help != nullptr && about != nullptr);
    const QList<std::pair<QString, std::function<void()>>> rows = {
        {u"Lyrova"_qs, [help] { help->trigger(); }},  // the help file is missing
        {u"关于Lyrova"_qs, [about] { about->trigger(); }},
        {u"Lyrova"_qs, [&w] { w.SendTypeSel()[int(SendMethod::SetText)]->trigger(); }},  // the quick-send warning
        {u"打开音频文件"_qs, [&w] { w.RunButton(PlayerButton::Open); }},
    };
    for (const auto& [title, action] : rows) {
      const ShownBox shown = ShowAndClose(action);
      QCOMPARE(shown.title, title);
      QCOMPARE(shown.owner, &w);
    }
  }

  void fileManagerEntryFromTheMenu() {
    PlayerFixture f;
    qputenv("XDG_DATA_HOME", f.root.filePath(u"xdg"_qs).toUtf8());
    PlayerWindow& w = f.Start();
    const QString entry = f.root.filePath(u"xdg/applications/lyrova-open.desktop"_qs);
    w.AddFileManagerEntry();
    w.AddFileManagerEntry();
    QVERIFY(QFile::exists(entry));
    w.RemoveFileManagerEntry();
    w.RemoveFileManagerEntry();
    QVERIFY(!QFile::exists(entry));
    QCOMPARE(f.prompts.Shown().size(), 0);
  }
};

QTEST_MAIN(TestPlayerEffects)
#include "tst_playerwindow_effects.moc"
