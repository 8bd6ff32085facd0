#include "media/fakeaudio.h"

#include <QTest>

using namespace lyrova;
using namespace Qt::Literals::StringLiterals;

Q_DECLARE_METATYPE(lyrova::AudioEngine::State)

namespace {

using State = AudioEngine::State;

// Runs a script of steps on one engine: "load:<path>", "play", "pause", "seek:<ms>",
// "unload", "+<ms>" (advance the clock). Returns the result of the last engine call.
bool Run(FakeAudio& audio, FakeAudioEngine& engine, const QString& script) {
  bool result = true;
  for (const QString& step : script.split(u' ', Qt::SkipEmptyParts)) {
    const QString argument = step.section(u':', 1);
    if (step.startsWith(u'+'))
      audio.Advance(step.mid(1).toLongLong());
    else if (step.startsWith(u"load:"))
      result = engine.Load(argument, nullptr);
    else if (step == u"play")
      result = engine.Play();
    else if (step == u"pause")
      result = engine.Pause();
    else if (step.startsWith(u"seek:"))
      result = engine.Seek(argument.toLongLong());
    else if (step == u"unload")
      engine.Unload();
    else
      qFatal("unknown step");
  }
  return result;
}

}  // namespace

class TestFakeAudio : public QObject {
  Q_OBJECT

 private slots:
  // The AudioEngine state machine as the fake keeps it; a 5 s file "/a" is known.
  void stateMachine_data() {
    QTest::addColumn<QString>("script");
    QTest::addColumn<bool>("result");
    QTest::addColumn<State>("state");
    QTest::addColumn<qint64>("position");
    QTest::addColumn<qint64>("length");
    QTest::newRow("nothing loaded") << "" << true << State::Empty << 0LL << 0LL;
    QTest::newRow("play with nothing loaded") << "play" << false << State::Empty << 0LL << 0LL;
    QTest::newRow("seek with nothing loaded") << "seek:100" << false << State::Empty << 0LL << 0LL;
    QTest::newRow("unknown file") << "load:/b" << false << State::Empty << 0LL << 0LL;
    QTest::newRow("loaded stands at 0") << "load:/a +1000" << true << State::Paused << 0LL << 5000LL;
    QTest::newRow("playing follows the clock") << "load:/a play +1234" << true << State::Playing << 1234LL << 5000LL;
    QTest::newRow("paused stands still") << "load:/a play +1000 pause +2000" << true << State::Paused << 1000LL << 5000LL;
    QTest::newRow("resumed") << "load:/a play +1000 pause +2000 play +500" << true << State::Playing << 1500LL << 5000LL;
    QTest::newRow("runs into the end") << "load:/a play +4000 +4000" << true << State::Ended << 5000LL << 5000LL;
    QTest::newRow("play at the end stays") << "load:/a play +6000 play +100" << true << State::Ended << 5000LL << 5000LL;
    QTest::newRow("seek stops playback") << "load:/a play +1000 seek:3000 +700" << true << State::Paused << 3000LL << 5000LL;
    QTest::newRow("seek clamps below") << "load:/a seek:-20" << true << State::Paused << 0LL << 5000LL;
    QTest::newRow("seek to the end ends") << "load:/a seek:5000" << true << State::Ended << 5000LL << 5000LL;
    QTest::newRow("seek beyond the end ends") << "load:/a seek:99000 play +10" << true << State::Ended << 5000LL << 5000LL;
    QTest::newRow("seek back from the end") << "load:/a play +9000 seek:100 play +50" << true << State::Playing << 150LL << 5000LL;
    QTest::newRow("failed load unloads") << "load:/a play +100 load:/b" << false << State::Empty << 0LL << 0LL;
    QTest::newRow("reload starts at 0") << "load:/a play +100 load:/a" << true << State::Paused << 0LL << 5000LL;
    QTest::newRow("unload") << "load:/a play +100 unload" << true << State::Empty << 0LL << 0LL;
  }
  void stateMachine() {
    QFETCH(QString, script);
    QFETCH(bool, result);
    QFETCH(State, state);
    QFETCH(qint64, position);
    QFETCH(qint64, length);
    FakeAudio audio;
    audio.AddFile(u"/a"_s, 5'000);
    audio.Advance(77);  // the clock does not start at 0 for every engine
    const auto engine = audio.MakeEngine();
    QCOMPARE(Run(audio, *engine, script), result);
    QCOMPARE(engine->CurrentState(), state);
    QCOMPARE(engine->PositionMs(), position);
    QCOMPARE(engine->LengthMs(), length);
  }

  void loadRules_data() {
    QTest::addColumn<qint64>("length");
    QTest::addColumn<bool>("loads");
    QTest::newRow("known length") << 1LL << true;
    QTest::newRow("zero length") << 0LL << false;
    QTest::newRow("negative length") << -10LL << false;
  }
  void loadRules() {
    QFETCH(qint64, length);
    QFETCH(bool, loads);
    FakeAudio audio;
    audio.AddFile(u"/a"_s, length);
    const auto engine = audio.MakeEngine();
    QString why;
    QCOMPARE(engine->Load(u"/a"_s, &why), loads);
    QCOMPARE(why.isEmpty(), loads);
    QCOMPARE(engine->LoadedPath(), loads ? u"/a"_s : QString());
    audio.RemoveFile(u"/a"_s);
    QVERIFY(!engine->Load(u"/a"_s, &why));
    QVERIFY(why.contains(u"/a"));
  }

  // Every engine follows the one clock; the list of live engines follows their lifetimes.
  void sharedClockAndEngines() {
    FakeAudio audio;
    audio.AddFile(u"/a"_s, 5'000);
    auto first = audio.MakeEngine();
    first->Load(u"/a"_s, nullptr);
    first->Play();
    audio.Advance(1'000);
    {
      auto second = audio.MakeEngine();
      QCOMPARE(audio.Engines().size(), size_t(2));
      QCOMPARE(audio.LatestEngine(), second.get());
      second->Load(u"/a"_s, nullptr);
      second->Play();
      audio.Advance(500);
      QCOMPARE(second->PositionMs(), 500);
    }
    QCOMPARE(audio.Engines().size(), size_t(1));
    QCOMPARE(audio.LatestEngine(), first.get());
    QCOMPARE(first->PositionMs(), 1'500);
    audio.Advance(-700);  // ignored
    QCOMPARE(first->PositionMs(), 1'500);
    QCOMPARE(audio.NowMs(), 1'500);
  }
};

QTEST_GUILESS_MAIN(TestFakeAudio)
#include "tst_fakeaudio.moc"
