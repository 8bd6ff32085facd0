#include "common/clock.h"
#include "media/fakeaudio.h"
#include "media/mediacontrol.h"

#include <QTest>

#include <memory>

using namespace lyrova;
using namespace Qt::Literals::StringLiterals;

namespace {

const QString kSong = QStringLiteral("/music/歌 曲.mp3");
const QString kOpenSong = QStringLiteral("Open \"/music/歌 曲.mp3\" alias WAV");
constexpr qint64 kLength = 10'000;

// The Player's media device over the fake engine, with every command sent recorded.
struct Rig {
  explicit Rig(MediaControl::ClockFormatter clock = FormatClock,
               MediaControl::VolumeControl volume = MediaControl::VolumeControl::Present)
      : media(device, std::move(clock), volume) {
    audio.AddFile(kSong, kLength);
    device.SetCommandLog([this](QStringView command) { sent << command.toString(); });
  }
  AudioEngine* Engine() const { return device.EngineOf(u"WAV"); }

  FakeAudio audio;
  CommandDevice device{audio.Factory()};
  QStringList sent;
  MediaControl media;
};

// An engine that loads anything and can never leave the end of its file.
class StuckAtEndEngine final : public AudioEngine {
 public:
  bool Load(const QString&, QString*) override { return true; }
  void Unload() override {}
  State CurrentState() override { return State::Ended; }
  qint64 LengthMs() const override { return 5'000; }
  qint64 PositionMs() override { return 5'000; }
  bool Play() override { return true; }
  bool Pause() override { return true; }
  bool Seek(qint64) override { return true; }
  bool SetVolume(int) override { return true; }
  int Volume() const override { return 1000; }
};

// Puts the rig into a named starting state and forgets the commands that took.
void Prepare(Rig& rig, const QString& state) {
  qint32 volume = 750;
  if (state != u"closed") rig.media.OpenMedia(kSong, volume);
  if (state == u"playing" || state == u"paused" || state == u"ended") rig.media.PlayMedia();
  if (state == u"paused") rig.media.TogglePause();
  if (state == u"ended") rig.audio.Advance(kLength + 1'000);  // ran out; IsPlaying still true
  if (state == u"stopped at end") rig.media.SeekMedia(-1);
  if (state == u"at 4000") rig.media.SeekMedia(4'000);
  rig.sent.clear();
}

}  // namespace

class TestMediaControl : public QObject {
  Q_OBJECT

 private slots:
  // The exact commands of each operation from each state, and where it leaves the device.
  void commands_data() {
    QTest::addColumn<QString>("state");
    QTest::addColumn<QString>("operation");
    QTest::addColumn<QStringList>("commands");
    QTest::addColumn<bool>("playing");
    QTest::addColumn<int>("position");

    const QString length = QStringLiteral("status WAV length");
    const QString position = QStringLiteral("status WAV position");
    const QString play = QStringLiteral("Play WAV ");
    const QString seek0 = QStringLiteral("Seek WAV to  0");

    QTest::newRow("open") << "closed" << "open"
                          << QStringList{kOpenSong, u"Set WAV time format ms"_s, length,
                                         u"setaudio WAV volume to 750"_s}
                          << false << 0;
    QTest::newRow("open while open sends nothing") << "stopped" << "open" << QStringList{} << false << 0;
    QTest::newRow("play") << "stopped" << "play" << QStringList{position, play} << true << 0;
    QTest::newRow("play when closed") << "closed" << "play" << QStringList{} << false << 0;
    QTest::newRow("play stopped at end rewinds")
        << "stopped at end" << "play" << QStringList{position, length, seek0, position, play} << true << 0;
    QTest::newRow("play after running out rewinds")
        << "ended" << "play"
        << QStringList{position, length, seek0, position, position, play, play} << true << 0;
    QTest::newRow("toggle while playing pauses") << "playing" << "toggle" << QStringList{u"Pause WAV"_s} << false << 0;
    QTest::newRow("toggle while paused plays") << "paused" << "toggle" << QStringList{u"Play WAV"_s} << true << 0;
    QTest::newRow("toggle while stopped plays") << "stopped" << "toggle" << QStringList{u"Play WAV"_s} << true << 0;
    QTest::newRow("toggle when closed") << "closed" << "toggle" << QStringList{} << false << 0;
    QTest::newRow("close") << "playing" << "close" << QStringList{u"Close WAV"_s} << false << 0;
    QTest::newRow("close when closed still sends") << "closed" << "close" << QStringList{u"Close WAV"_s} << false << 0;
    QTest::newRow("seek stopped") << "stopped" << "seek 1500"
                                  << QStringList{length, u"Seek WAV to  1500"_s, position} << false << 1'500;
    QTest::newRow("seek playing resumes")
        << "playing" << "seek 1500"
        << QStringList{length, u"Seek WAV to  1500"_s, position, position, play} << true << 1'500;
    QTest::newRow("seek beyond the end clamps, no resume")
        << "playing" << "seek 20000"
        << QStringList{length, u"Seek WAV to  10000"_s, position} << true << 10'000;
    QTest::newRow("seek to exactly the end, no resume")
        << "playing" << "seek 10000"
        << QStringList{length, u"Seek WAV to  10000"_s, position} << true << 10'000;
    QTest::newRow("seek to end stopped") << "stopped" << "seek -1"
                                         << QStringList{length, u"Seek WAV to end"_s, position} << false << 10'000;
    QTest::newRow("seek to end playing restarts from 0")
        << "playing" << "seek -1"
        << QStringList{length, u"Seek WAV to end"_s, position, position, length, seek0, position,
                       position, play, play}
        << true << 0;
    QTest::newRow("seek to 0") << "at 4000" << "seek 0" << QStringList{length, seek0, position} << false << 0;
    QTest::newRow("seek when closed") << "closed" << "seek 1500"
                                      << QStringList{length, u"Seek WAV to  0"_s, position} << false << 0;
    QTest::newRow("length") << "stopped" << "length" << QStringList{length} << false << 0;
    QTest::newRow("position") << "at 4000" << "position" << QStringList{position} << false << 4'000;
    QTest::newRow("volume above range") << "stopped" << "volume 1200"
                                        << QStringList{u"setaudio WAV volume to 1000"_s} << false << 0;
    QTest::newRow("volume below range") << "stopped" << "volume -5"
                                        << QStringList{u"setaudio WAV volume to 0"_s} << false << 0;
    QTest::newRow("volume when closed") << "closed" << "volume 500" << QStringList{} << false << 0;
  }
  void commands() {
    QFETCH(QString, state);
    QFETCH(QString, operation);
    QFETCH(QStringList, commands);
    QFETCH(bool, playing);
    QFETCH(int, position);

    Rig rig;
    Prepare(rig, state);
    const QStringList words = operation.split(u' ');
    const int argument = words.size() > 1 ? words[1].toInt() : 0;
    if (words[0] == u"open") {
      qint32 volume = 750;
      rig.media.OpenMedia(kSong, volume);
    } else if (words[0] == u"play") {
      rig.media.PlayMedia();
    } else if (words[0] == u"toggle") {
      rig.media.TogglePause();
    } else if (words[0] == u"close") {
      rig.media.CloseMedia();
    } else if (words[0] == u"seek") {
      rig.media.SeekMedia(argument);
    } else if (words[0] == u"length") {
      QCOMPARE(rig.media.GetMediaStatus(true), rig.media.IsOpen() ? 10'000 : 0);
    } else if (words[0] == u"position") {
      QCOMPARE(rig.media.GetMediaStatus(false), position);
    } else if (words[0] == u"volume") {
      qint32 volume = argument;
      rig.media.SetVolume(volume);
    }
    QCOMPARE(rig.sent, commands);
    QCOMPARE(rig.media.IsPlaying(), playing);
    if (rig.Engine() != nullptr) {
      QCOMPARE(rig.Engine()->PositionMs(), qint64(position));
      QCOMPARE(rig.Engine()->CurrentState() == AudioEngine::State::Playing,
               playing && position < kLength);
    }
  }

  // SetVolume clamps the caller's variable, and reports what the device said.
  void volume_data() {
    QTest::addColumn<int>("asked");
    QTest::addColumn<bool>("refused");
    QTest::addColumn<int>("kept");
    QTest::addColumn<bool>("result");
    QTest::addColumn<int>("engineVolume");
    QTest::newRow("in range") << 500 << false << 500 << true << 500;
    QTest::newRow("above") << 1200 << false << 1000 << true << 1000;
    QTest::newRow("below") << -5 << false << 0 << true << 0;
    QTest::newRow("refused by the engine") << 300 << true << 300 << false << 1000;
  }
  void volume() {
    QFETCH(int, asked);
    QFETCH(bool, refused);
    QFETCH(int, kept);
    QFETCH(bool, result);
    QFETCH(int, engineVolume);
    Rig rig;
    rig.media.OpenMedia(kSong);
    rig.audio.SetVolumeRefused(refused);
    qint32 volume = asked;
    QCOMPARE(rig.media.SetVolume(volume), result);
    QCOMPARE(volume, kept);
    QCOMPARE(rig.Engine()->Volume(), engineVolume);
  }

  void openAppliesTheClampedVolume() {
    Rig rig;
    qint32 volume = 1500;
    rig.media.OpenMedia(kSong, volume);
    QCOMPARE(volume, 1000);
    QCOMPARE(rig.sent.last(), u"setaudio WAV volume to 1000"_s);
  }

  // The Editor's copy: its own clock text and no volume at all.
  void editorCopy() {
    Rig rig(FormatEditorClock, MediaControl::VolumeControl::Absent);
    QCOMPARE(rig.media.MediaLengthText(), u"00:00:00"_s);
    qint32 volume = 400;
    rig.media.OpenMedia(kSong, volume);
    QCOMPARE(rig.sent, (QStringList{kOpenSong, u"Set WAV time format ms"_s, u"status WAV length"_s}));
    QCOMPARE(volume, 400);
    QCOMPARE(rig.media.MediaLengthText(), u"00:00:10"_s);
    rig.sent.clear();
    QVERIFY(!rig.media.SetVolume(volume));
    QVERIFY(rig.sent.isEmpty());
    QCOMPARE(rig.Engine()->Volume(), 1000);
  }

  void stateAfterOpenAndClose() {
    Rig rig;
    QCOMPARE(rig.media.MediaLengthText(), u"00:00"_s);
    rig.media.OpenMedia(kSong);
    QVERIFY(rig.media.IsOpen());
    QVERIFY(!rig.media.IsPlaying());
    QCOMPARE(rig.media.MediaFile(), kSong);
    QCOMPARE(rig.media.MediaLength(), 10'000);
    QCOMPARE(rig.media.MediaLengthText(), u"00:10"_s);
    rig.media.PlayMedia();
    rig.media.CloseMedia();
    QVERIFY(!rig.media.IsOpen());
    QVERIFY(!rig.media.IsPlaying());
    QCOMPARE(rig.media.MediaLength(), 0);
    QCOMPARE(rig.media.MediaLengthText(), u"00:00"_s);
    QCOMPARE(rig.device.OpenCount(), 0);
    // Closing makes room for the next song under the same alias.
    rig.media.OpenMedia(kSong);
    QVERIFY(rig.media.IsOpen());
  }

  // Failed opens change nothing, and never leave a device open under the alias.
  void failedOpen_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("otherDeviceOpen");
    QTest::addColumn<QStringList>("commands");
    QTest::newRow("unknown file") << "/music/none.mp3" << false
                                  << QStringList{u"Open \"/music/none.mp3\" alias WAV"_s};
    QTest::newRow("empty path") << "" << false << QStringList{u"Open \"\" alias WAV"_s};
    QTest::newRow("device number 2") << kSong << true << QStringList{kOpenSong, u"Close WAV"_s};
  }
  void failedOpen() {
    QFETCH(QString, path);
    QFETCH(bool, otherDeviceOpen);
    QFETCH(QStringList, commands);
    Rig rig;
    char16_t reply[16];
    if (otherDeviceOpen) {
      QCOMPARE(rig.device.Send(u"open \"/music/歌 曲.mp3\" alias OTHER", reply, 16), DeviceStatus::Ok);
      QCOMPARE(QStringView(reply), u"1");
      rig.sent.clear();
    }
    rig.media.OpenMedia(path);
    QCOMPARE(rig.sent, commands);
    QVERIFY(!rig.media.IsOpen());
    QCOMPARE(rig.media.MediaFile(), QString());
    QCOMPARE(rig.media.MediaLength(), 0);
    QCOMPARE(rig.media.MediaLengthText(), u"00:00"_s);
    QCOMPARE(rig.device.OpenCount(), otherDeviceOpen ? 1 : 0);
    QVERIFY(rig.Engine() == nullptr);
  }

  void seekResults_data() {
    QTest::addColumn<int>("target");
    QTest::addColumn<int>("result");
    QTest::newRow("inside") << 2'500 << 2'500;
    QTest::newRow("beyond the end") << 99'999 << 10'000;
    QTest::newRow("negative is the end, reported before the restart") << -1 << 10'000;
  }
  void seekResults() {
    QFETCH(int, target);
    QFETCH(int, result);
    Rig rig;
    rig.media.OpenMedia(kSong);
    rig.media.PlayMedia();
    rig.audio.Advance(700);
    QCOMPARE(rig.media.SeekMedia(target), result);
  }

  // Playback seen through the wrapper follows the engine's clock.
  void positionFollowsPlayback() {
    Rig rig;
    rig.media.OpenMedia(kSong);
    rig.media.PlayMedia();
    rig.audio.Advance(2'345);
    QCOMPARE(rig.media.GetMediaStatus(false), 2'345);
    rig.media.TogglePause();
    rig.audio.Advance(1'000);
    QCOMPARE(rig.media.GetMediaStatus(false), 2'345);
    rig.media.TogglePause();
    rig.audio.Advance(100'000);
    QCOMPARE(rig.media.GetMediaStatus(false), rig.media.MediaLength());
    QCOMPARE(rig.media.MciCommand(u"status WAV mode"), u"stopped"_s);
  }

  // A length beyond 32 bits reads as the largest 32-bit value, not as a wrapped number.
  void hugeLengthClamps() {
    Rig rig;
    rig.audio.AddFile(u"/music/long.wav"_s, 3'000'000'000LL);
    rig.media.OpenMedia(u"/music/long.wav"_s);
    QCOMPARE(rig.media.MediaLength(), 2'147'483'647);
  }

  void mciCommandReplies_data() {
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("reply");
    QTest::newRow("length") << "status WAV length" << "10000";
    QTest::newRow("mode") << "status WAV mode" << "stopped";
    QTest::newRow("unknown command") << "rewind WAV" << "";
    QTest::newRow("unknown alias") << "status MP3 length" << "";
    QTest::newRow("no reply") << "set WAV time format ms" << "";
  }
  void mciCommandReplies() {
    QFETCH(QString, command);
    QFETCH(QString, reply);
    Rig rig;
    rig.media.OpenMedia(kSong);
    QCOMPARE(rig.media.MciCommand(command), reply);
  }

  // Playing a file that cannot leave its end must not recurse without end.
  void stuckDeviceDoesNotRecurse() {
    CommandDevice device([] { return std::make_unique<StuckAtEndEngine>(); });
    QStringList sent;
    device.SetCommandLog([&sent](QStringView command) { sent << command.toString(); });
    MediaControl media(device, FormatClock);
    media.OpenMedia(kSong);
    media.PlayMedia();
    sent.clear();
    media.PlayMedia();
    QCOMPARE(sent, (QStringList{u"status WAV position"_s, u"status WAV length"_s, u"Seek WAV to  0"_s,
                                u"status WAV position"_s, u"status WAV position"_s, u"Play WAV "_s,
                                u"Play WAV "_s}));
    sent.clear();
    media.SeekMedia(-1);
    QVERIFY(sent.size() < 20);
    QVERIFY(media.IsPlaying());
  }
};

QTEST_GUILESS_MAIN(TestMediaControl)
#include "tst_mediacontrol.moc"
