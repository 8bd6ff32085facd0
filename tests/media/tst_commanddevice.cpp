#include "media/commanddevice.h"
#include "media/fakeaudio.h"

#include <QTest>

using namespace lyrova;
using namespace Qt::Literals::StringLiterals;

Q_DECLARE_METATYPE(lyrova::DeviceStatus)

namespace {

const QString kSong = u"/music/a.mp3"_s;

struct Answer {
  DeviceStatus status;
  QString reply;
};

struct Rig {
  Rig() {
    audio.AddFile(kSong, 10'000);
    audio.AddFile(u"/music/a \"b\" c.mp3"_s, 3'000);
    audio.AddFile(u"/music/x\" alias Y.mp3"_s, 4'000);
  }
  Answer Send(QStringView command) {
    char16_t reply[255];
    const DeviceStatus status = device.Send(command, reply, 255);
    return {status, QString::fromUtf16(reply)};
  }
  QString Reply(QStringView command) { return Send(command).reply; }
  // Everything a command could change, as one text.
  QString Snapshot() {
    QString text = QString::number(device.OpenCount());
    for (const QString& alias : {u"WAV"_s, u"B"_s}) {
      if (device.EngineOf(alias) == nullptr) continue;
      text += u' ' + alias + u' ' + Reply(QString(u"status " + alias + u" position")) + u' ' +
              Reply(QString(u"status " + alias + u" mode")) + u' ' +
              Reply(QString(u"status " + alias + u" volume"));
    }
    return text;
  }

  FakeAudio audio;
  CommandDevice device{audio.Factory()};
};

}  // namespace

class TestCommandDevice : public QObject {
  Q_OBJECT

 private slots:
  // Replies and status of each command on a device open as "WAV" and standing at 4 s.
  // A command that fails changes nothing.
  void replies_data() {
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("reply");
    QTest::addColumn<DeviceStatus>("status");
    using S = DeviceStatus;
    QTest::newRow("length") << "status WAV length" << "10000" << S::Ok;
    QTest::newRow("any letter case") << "STATUS wav Length" << "10000" << S::Ok;
    QTest::newRow("position") << "status WAV position" << "4000" << S::Ok;
    QTest::newRow("extra blanks") << "  status   WAV\tposition  " << "4000" << S::Ok;
    QTest::newRow("mode") << "status WAV mode" << "stopped" << S::Ok;
    QTest::newRow("volume") << "status WAV volume" << "1000" << S::Ok;
    QTest::newRow("time format") << "status WAV time format" << "milliseconds" << S::Ok;
    QTest::newRow("status without item") << "status WAV" << "" << S::MissingParameter;
    QTest::newRow("status of an unknown item") << "status WAV colour" << "" << S::UnknownParameter;
    QTest::newRow("status with trailing word") << "status WAV length now" << "" << S::UnknownParameter;
    QTest::newRow("unknown alias") << "status MP3 length" << "" << S::UnknownDevice;
    QTest::newRow("no alias") << "status" << "" << S::MissingParameter;
    QTest::newRow("unknown command") << "rewind WAV" << "" << S::UnknownCommand;
    QTest::newRow("empty command") << "" << "" << S::UnknownCommand;
    QTest::newRow("only blanks") << "   " << "" << S::UnknownCommand;
    QTest::newRow("command word glued") << "statusWAV length" << "" << S::UnknownCommand;
    QTest::newRow("time format ms") << "Set WAV time format ms" << "" << S::Ok;
    QTest::newRow("time format milliseconds") << "set wav TIME FORMAT milliseconds" << "" << S::Ok;
    QTest::newRow("other time format") << "set WAV time format frames" << "" << S::OutOfRange;
    QTest::newRow("other setting") << "set WAV speed 2" << "" << S::UnknownParameter;
    QTest::newRow("set on unknown alias") << "set MP3 time format ms" << "" << S::UnknownDevice;
    QTest::newRow("seek beyond the end") << "seek WAV to 10001" << "" << S::OutOfRange;
    QTest::newRow("seek negative") << "seek WAV to -5" << "" << S::BadNumber;
    QTest::newRow("seek fraction") << "seek WAV to 1.5" << "" << S::BadNumber;
    QTest::newRow("seek huge") << "seek WAV to 99999999999999999999" << "" << S::BadNumber;
    QTest::newRow("seek without target") << "seek WAV to" << "" << S::MissingParameter;
    QTest::newRow("seek without to") << "seek WAV" << "" << S::MissingParameter;
    QTest::newRow("seek with trailing word") << "seek WAV to 5 now" << "" << S::UnknownParameter;
    QTest::newRow("volume too high") << "setaudio WAV volume to 1001" << "" << S::OutOfRange;
    QTest::newRow("volume not a number") << "setaudio WAV volume to loud" << "" << S::BadNumber;
    QTest::newRow("volume without number") << "setaudio WAV volume to" << "" << S::MissingParameter;
    QTest::newRow("other audio setting") << "setaudio WAV bass to 5" << "" << S::UnknownParameter;
    QTest::newRow("play with a range") << "play WAV from 0" << "" << S::UnknownParameter;
    QTest::newRow("pause unknown alias") << "pause MP3" << "" << S::UnknownDevice;
    QTest::newRow("close without alias") << "close" << "" << S::MissingParameter;
    QTest::newRow("close unknown alias") << "close MP3" << "" << S::UnknownDevice;
    QTest::newRow("open under an alias in use") << "open \"/music/a.mp3\" alias wav" << "" << S::AliasInUse;
    QTest::newRow("open a missing file") << "open \"/music/none.mp3\" alias B" << "" << S::CannotOpen;
    QTest::newRow("open without alias") << "open \"/music/a.mp3\"" << "" << S::MissingParameter;
    QTest::newRow("open with alias word only") << "open \"/music/a.mp3\" alias" << "" << S::MissingParameter;
    QTest::newRow("open with quote not closed") << "open \"/music/a.mp3 alias B" << "" << S::UnknownParameter;
    QTest::newRow("open as all") << "open \"/music/a.mp3\" alias all" << "" << S::UnknownParameter;
    QTest::newRow("open with unknown word") << "open \"/music/a.mp3\" alias B shareable" << "" << S::UnknownParameter;
    QTest::newRow("open with two aliases") << "open \"/music/a.mp3\" alias B alias C" << "" << S::UnknownParameter;
    QTest::newRow("open empty path") << "open \"\" alias B" << "" << S::MissingParameter;
    QTest::newRow("open nothing") << "open" << "" << S::MissingParameter;
    QTest::newRow("open second device") << "open \"/music/a.mp3\" alias B" << "2" << S::Ok;
    QTest::newRow("open unquoted path") << "OPEN /music/a.mp3 ALIAS B" << "2" << S::Ok;
  }
  void replies() {
    QFETCH(QString, command);
    QFETCH(QString, reply);
    QFETCH(DeviceStatus, status);
    Rig rig;
    QCOMPARE(rig.Reply(u"open \"/music/a.mp3\" alias WAV"), u"1"_s);
    QCOMPARE(rig.Send(u"seek WAV to 4000").status, DeviceStatus::Ok);
    const QString before = rig.Snapshot();
    const Answer answer = rig.Send(command);
    QCOMPARE(answer.reply, reply);
    QCOMPARE(answer.status, status);
    if (status != DeviceStatus::Ok) QCOMPARE(rig.Snapshot(), before);
  }

  // Open answers the lowest device number not in use.
  void deviceNumbers() {
    Rig rig;
    QCOMPARE(rig.Reply(u"open \"/music/a.mp3\" alias A"), u"1"_s);
    QCOMPARE(rig.Reply(u"open \"/music/a.mp3\" alias B"), u"2"_s);
    QCOMPARE(rig.Reply(u"open \"/music/a.mp3\" alias C"), u"3"_s);
    QCOMPARE(rig.Send(u"close A").status, DeviceStatus::Ok);
    QCOMPARE(rig.Reply(u"open \"/music/a.mp3\" alias D"), u"1"_s);
    QCOMPARE(rig.Reply(u"open \"/music/a.mp3\" alias E"), u"4"_s);
    QCOMPARE(rig.device.OpenCount(), 4);
    QCOMPARE(rig.Send(u"close all").status, DeviceStatus::Ok);
    QCOMPARE(rig.device.OpenCount(), 0);
    QCOMPARE(rig.audio.Engines().size(), size_t(0));
    QCOMPARE(rig.Reply(u"open \"/music/a.mp3\" alias WAV"), u"1"_s);
  }

  // Play, pause, seek and the end, as the device reports them.
  void playback_data() {
    QTest::addColumn<QStringList>("steps");  // "+ms" advances the clock, anything else is sent
    QTest::addColumn<QString>("position");
    QTest::addColumn<QString>("mode");
    QTest::newRow("opened") << QStringList{} << "0" << "stopped";
    QTest::newRow("playing") << QStringList{u"play WAV"_s, u"+1500"_s} << "1500" << "playing";
    QTest::newRow("paused stands still")
        << QStringList{u"play WAV"_s, u"+1500"_s, u"pause WAV"_s, u"+3000"_s} << "1500" << "paused";
    QTest::newRow("resumed") << QStringList{u"play WAV"_s, u"+1500"_s, u"pause WAV"_s, u"+3000"_s,
                                            u"play WAV"_s, u"+500"_s}
                             << "2000" << "playing";
    QTest::newRow("seek stops playback")
        << QStringList{u"play WAV"_s, u"+1500"_s, u"seek WAV to  7000"_s, u"+500"_s} << "7000" << "stopped";
    QTest::newRow("runs to the end and stays")
        << QStringList{u"play WAV"_s, u"+9000"_s, u"+1500"_s} << "10000" << "stopped";
    QTest::newRow("play at the end stays there")
        << QStringList{u"play WAV"_s, u"+12000"_s, u"play WAV"_s, u"+500"_s} << "10000" << "stopped";
    QTest::newRow("seek to end") << QStringList{u"seek WAV to end"_s} << "10000" << "stopped";
    QTest::newRow("seek to exactly the length") << QStringList{u"seek WAV to 10000"_s} << "10000" << "stopped";
    QTest::newRow("seek to start") << QStringList{u"seek WAV to 5000"_s, u"seek WAV to start"_s} << "0" << "stopped";
    QTest::newRow("seek back from the end and play")
        << QStringList{u"seek WAV to end"_s, u"seek WAV to 0"_s, u"play WAV "_s, u"+250"_s} << "250" << "playing";
    QTest::newRow("pause when stopped") << QStringList{u"pause WAV"_s, u"+100"_s} << "0" << "paused";
  }
  void playback() {
    QFETCH(QStringList, steps);
    QFETCH(QString, position);
    QFETCH(QString, mode);
    Rig rig;
    QCOMPARE(rig.Reply(u"open \"/music/a.mp3\" alias WAV"), u"1"_s);
    for (const QString& step : steps) {
      if (step.startsWith(u'+'))
        rig.audio.Advance(step.mid(1).toLongLong());
      else
        QCOMPARE(rig.Send(step).status, DeviceStatus::Ok);
    }
    QCOMPARE(rig.Reply(u"status WAV position"), position);
    QCOMPARE(rig.Reply(u"status WAV mode"), mode);
  }

  // The path runs from the first to the last quote, so blanks, quotes and even the word
  // "alias" inside it reach the engine unchanged.
  void quotedPaths_data() {
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("alias");
    QTest::addColumn<QString>("path");
    QTest::newRow("blanks and quotes") << "Open \"/music/a \"b\" c.mp3\" alias WAV" << "WAV"
                                       << "/music/a \"b\" c.mp3";
    QTest::newRow("alias inside the name") << "Open \"/music/x\" alias Y.mp3\" alias WAV" << "WAV"
                                           << "/music/x\" alias Y.mp3";
  }
  void quotedPaths() {
    QFETCH(QString, command);
    QFETCH(QString, alias);
    QFETCH(QString, path);
    Rig rig;
    QCOMPARE(rig.Send(command).reply, u"1"_s);
    QVERIFY(rig.device.EngineOf(u"Y.mp3") == nullptr);
    auto* engine = dynamic_cast<FakeAudioEngine*>(rig.device.EngineOf(alias));
    QVERIFY(engine != nullptr);
    QCOMPARE(engine->LoadedPath(), path);
  }

  // A reply that does not fit fills the buffer without a terminating NUL.
  void replyBuffer_data() {
    QTest::addColumn<int>("size");
    QTest::addColumn<QString>("written");
    QTest::addColumn<bool>("terminated");
    QTest::addColumn<DeviceStatus>("status");
    QTest::newRow("room to spare") << 16 << "10000" << true << DeviceStatus::Ok;
    QTest::newRow("exactly enough") << 6 << "10000" << true << DeviceStatus::Ok;
    QTest::newRow("no room for the NUL") << 5 << "10000" << false << DeviceStatus::ReplyTooLong;
    QTest::newRow("too small") << 3 << "100" << false << DeviceStatus::ReplyTooLong;
  }
  void replyBuffer() {
    QFETCH(int, size);
    QFETCH(QString, written);
    QFETCH(bool, terminated);
    QFETCH(DeviceStatus, status);
    Rig rig;
    rig.Reply(u"open \"/music/a.mp3\" alias WAV");
    char16_t buffer[32];
    std::fill(std::begin(buffer), std::end(buffer), u'#');
    QCOMPARE(rig.device.Send(u"status WAV length", buffer, size), status);
    QCOMPARE(QStringView(buffer, written.size()), QStringView(written));
    QCOMPARE(buffer[written.size()] == u'\0', terminated);
    QCOMPARE(buffer[size], u'#');  // nothing written beyond the buffer
  }

  void noReplyBuffer() {
    Rig rig;
    QCOMPARE(rig.device.Send(u"open \"/music/a.mp3\" alias WAV", nullptr, 0), DeviceStatus::Ok);
    QCOMPARE(rig.device.Send(u"setaudio WAV volume to 250", nullptr, 0), DeviceStatus::Ok);
    QCOMPARE(rig.Reply(u"status WAV volume"), u"250"_s);
  }

  void log() {
    Rig rig;
    QStringList seen;
    rig.device.SetCommandLog([&seen](QStringView command) { seen << command.toString(); });
    rig.Send(u"open \"/music/a.mp3\" alias WAV");
    rig.Send(u"bogus");
    rig.Send(u"Seek WAV to  15");
    QCOMPARE(seen, (QStringList{u"open \"/music/a.mp3\" alias WAV"_s, u"bogus"_s, u"Seek WAV to  15"_s}));
  }

  void openError() {
    Rig rig;
    rig.Send(u"open \"/music/none.mp3\" alias WAV");
    QVERIFY(rig.device.LastOpenError().contains(u"/music/none.mp3"));
    rig.Send(u"open \"/music/a.mp3\" alias WAV");
    QCOMPARE(rig.device.LastOpenError(), QString());
  }
};

QTEST_GUILESS_MAIN(TestCommandDevice)
#include "tst_commanddevice.moc"
