// Follow mode through the window: the settings-menu entry and the menu of players, what is
// stored, the controls the followed player allows, the start in follow mode, and no bus.
#include "../playercore/fakefollowsource.h"
#include "playerfixture.h"

#include "common/ui/toolbutton.h"
#include "player/window/bars.h"

#include <QAction>
#include <QMenu>
#include <QTest>

using namespace lyrova;

namespace {

struct FollowWindow : PlayerFixture {
  FakeFollowSource* source = nullptr;  // the one the window made last
  QString problem;

  FollowWindow() {
    makeFollowSource = [this] {
      auto made = std::make_unique<FakeFollowSource>();
      made->problem = problem;
      made->players = {{u"org.mpris.MediaPlayer2.a"_qs, u"Alpha"_qs}, {u"org.mpris.MediaPlayer2.b"_qs, u"Beta"_qs}};
      source = made.get();
      return made;
    };
  }
};

QStringList Captions(QMenu* menu) {
  QStringList captions;
  for (QAction* action : menu->actions()) captions.append(action->text() + (action->isChecked() ? u"*"_qs : QString()));
  return captions;
}

}  // namespace

class TestPlayerWindowFollow : public QObject {
  Q_OBJECT

 private slots:
  void menuSwitchesFollowModeAndPinsAPlayer() {
    FollowWindow f;
    QDir(f.DataFolder()).mkpath(u"Lrc"_qs);
    f.Write(f.DataFolder() + u"/Lrc/A - T.lrc"_qs, "[00:01.00]one\n[00:02.00]two\n");
    PlayerWindow& w = f.Start();
    QAction* entry = w.Toggle(u"Follow_M"_qs);
    QVERIFY(entry && entry->isVisible() && !entry->isChecked());
    QCOMPARE(entry->text(), u"跟随其他播放器"_qs);
    QVERIFY(!w.FollowPlayerMenu()->isEnabled());

    entry->trigger();
    QVERIFY(w.Session().Following());
    QCOMPARE(f.settings.ReadSetting(u"FollowMode"_qs, {}), u"-1"_qs);
    emit w.FollowPlayerMenu()->aboutToShow();
    QCOMPARE(w.FollowPlayerMenu()->title(), u"跟随的播放器"_qs);
    QCOMPARE(Captions(w.FollowPlayerMenu()), (QStringList{u"自动*"_qs, u"Alpha"_qs, u"Beta"_qs}));
    w.FollowPlayerMenu()->actions().at(2)->trigger();
    QCOMPARE(f.source->pinned, u"org.mpris.MediaPlayer2.b"_qs);
    QCOMPARE(f.settings.ReadSetting(u"FollowPlayer"_qs, {}), u"org.mpris.MediaPlayer2.b"_qs);

    // The followed track's lyrics in the strip; the controls as the player allows.
    f.source->Play(u"1"_qs, {}, u"A"_qs, u"T"_qs, 0);
    f.source->Advance(1'200);
    w.Session().Wake();
    QCOMPARE(w.CurrentLineText(), u"one"_qs);
    // The length comes after the track (as mpv tells it): the clock and the bar take it.
    QCOMPARE(w.StatusText(), u"00:01"_qs);
    f.source->track.lengthMs = 10'000;
    f.source->SetPlaying(true);
    QCOMPARE(w.StatusText(), u"00:01/00:10"_qs);
    QVERIFY(w.ProgressBarWidget()->Picture().playedX > 0);
    QVERIFY(w.ProgressBarWidget()->isEnabled());
    f.source->canSeek = false;
    f.source->canPause = false;
    f.source->SetPlaying(true);
    QVERIFY(!w.ProgressBarWidget()->isEnabled());
    QVERIFY(!w.Button(PlayerButton::Pause)->isEnabled());

    entry->trigger();
    QVERIFY(!w.Session().Following());
    QVERIFY(w.Follower() == nullptr);
    QCOMPARE(f.settings.ReadSetting(u"FollowMode"_qs, {}), u"0"_qs);
    QVERIFY(w.ProgressBarWidget()->isEnabled() && w.Button(PlayerButton::Pause)->isEnabled());
  }

  // Stored follow mode starts following, with the pinned player; a song on the command line
  // wins over it; without a bus the note is shown once and the Player plays its own songs.
  void startAndNoBus() {
    {
      FollowWindow f;
      f.settings.WriteBoolSetting(u"FollowMode"_qs, true);
      f.settings.WriteSetting(u"FollowPlayer"_qs, u"org.mpris.MediaPlayer2.a"_qs);
      PlayerWindow& w = f.Start();
      QVERIFY(w.Session().Following());
      QCOMPARE(f.source->pinned, u"org.mpris.MediaPlayer2.a"_qs);
      QVERIFY(w.Toggle(u"Follow_M"_qs)->isChecked());
    }
    {
      FollowWindow f;
      f.settings.WriteBoolSetting(u"FollowMode"_qs, true);
      const QString song = f.Song(u"s.mp3"_qs, 5'000);
      PlayerWindow& w = f.Start({song});
      QVERIFY(!w.Session().Following());
      QCOMPARE(w.Session().OpenName(), song);
    }
    {
      FollowWindow f;
      f.problem = u"没有会话总线，无法跟随其他播放器"_qs;
      PlayerWindow& w = f.Start();
      w.Toggle(u"Follow_M"_qs)->trigger();
      QVERIFY(!w.Session().Following());
      QCOMPARE(w.StatusText(), f.problem);
      w.ShowStatusNote(u"x"_qs);
      w.Toggle(u"Follow_M"_qs)->trigger();
      w.Toggle(u"Follow_M"_qs)->trigger();
      QCOMPARE(w.StatusText(), u"x"_qs);  // said once only
    }
    {
      PlayerFixture plain;  // a program without follow mode shows no entry
      PlayerWindow& w = plain.Start();
      QVERIFY(!w.Toggle(u"Follow_M"_qs)->isVisible());
    }
  }
};

QTEST_MAIN(TestPlayerWindowFollow)
#include "tst_playerwindow_follow.moc"
