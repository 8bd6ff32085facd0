#include "playerfixture.h"

#include "player/window/bars.h"
#include "player/window/toolbutton.h"

#include <QAction>
#include <QLabel>
#include <QMimeData>
#include <QMouseEvent>
#include <QStandardPaths>
#include <QTest>

using namespace lyrova;

class TestPlayerEffects : public QObject {
  Q_OBJECT

 private slots:
  void buttonsShowTheirHints() {
    PlayerFixture f;
    PlayerWindow& w = f.Start();
    ToolButton* open = w.Button(0);
    QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), QPointF(2, 2));
    QCoreApplication::sendEvent(open, &enter);
    QVERIFY(w.HintShown());
    QCOMPARE(w.HintText(), u"打开文件"_qs);
    QCOMPARE(open->Background(), QColor(128, 255, 128));
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(open, &leave);
    QVERIFY(!w.HintShown());
    QCOMPARE(open->Background(), QColor(255, 255, 255));
    QCoreApplication::sendEvent(w.Button(12), &enter);
    QCOMPARE(w.HintText(), u"退出"_qs);
    // A press colours the button; the release restores every button.
    QTest::mousePress(w.Button(4), Qt::LeftButton);
    QCOMPARE(w.Button(4)->Background(), QColor(128, 128, 255));
    QTest::mouseRelease(w.Button(4), Qt::LeftButton);
    QCOMPARE(w.Button(4)->Background(), QColor(255, 255, 255));
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
    QCOMPARE(w.Volume(), VolumeForX(quarter, bar->width()));
    QVERIFY(qAbs(w.Volume() - 250) < 20);
    QCOMPARE(f.audio.LatestEngine()->Volume(), w.Volume());
    QCOMPARE(bar->FillWidth(), VolumeFillWidth(w.Volume(), bar->width()));
    w.SetVolumeAt(bar->width() * 2);  // beyond the bar: the device keeps it at 1000
    QCOMPARE(w.Volume(), 1000);
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
    QCOMPARE(w.OpenName(), song);
    QVERIFY(f.media.IsPlaying());
    QMimeData text;
    text.setText(u"not a file"_qs);
    QVERIFY(!w.OpenDrop(text));
    QMimeData gone;
    gone.setUrls({QUrl::fromLocalFile(f.root.filePath(u"missing.mp3"_qs))});
    QVERIFY(!w.OpenDrop(gone));
    QCOMPARE(w.OpenName(), song);
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
