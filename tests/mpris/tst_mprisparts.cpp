// The pure parts of following: the running position over a test clock, and what is read from
// the loosely typed values players send.
#include "player/mpris/mprismetadata.h"
#include "player/mpris/runningposition.h"

#include <QDBusObjectPath>
#include <QTest>

#include <limits>

using namespace lyrova;

class TestMprisParts : public QObject {
  Q_OBJECT

 private slots:
  // A script of steps over the clock; each row checks the position after its steps.
  void runningPosition_data() {
    QTest::addColumn<QString>("steps");  // "read p t", "run t", "stop t", "rate r t", "len l"
    QTest::addColumn<qint64>("at");
    QTest::addColumn<qint64>("expected");
    QTest::addColumn<bool>("lastWasSeek");
    QTest::newRow("standing") << u"read 5000 0"_qs << 9000LL << 5000LL << true;
    QTest::newRow("runs with the clock") << u"run 0;read 5000 100"_qs << 1100LL << 6000LL << true;
    QTest::newRow("rate 2") << u"run 0;rate 2 0;read 1000 0"_qs << 500LL << 2000LL << true;
    QTest::newRow("rate 0 stands") << u"run 0;read 1000 0;rate 0 100"_qs << 900LL << 1100LL << true;
    QTest::newRow("pause keeps the moment") << u"run 0;read 0 0;stop 700"_qs << 5000LL << 700LL << false;
    QTest::newRow("small read ahead taken") << u"run 0;read 0 0;read 1100 1000"_qs << 1000LL << 1100LL << false;
    // Behind by 100: back by an eighth (12), held at 1000 until that catches up.
    QTest::newRow("small read behind holds") << u"run 0;read 0 0;read 900 1000"_qs << 1010LL << 1000LL << false;
    QTest::newRow("held until caught up") << u"run 0;read 0 0;read 900 1000"_qs << 1200LL << 1188LL << false;
    // A clock 2 % slow: each read moves the position back an eighth of the way (by 2, 4, 6, 8).
    QTest::newRow("a slow clock is followed")
        << u"run 0;read 0 0;read 980 1000;read 1960 2000;read 2940 3000;read 3920 4000"_qs << 4500LL << 4480LL << false;
    QTest::newRow("jump of 301 is a seek") << u"run 0;read 0 0;read 1301 1000"_qs << 1000LL << 1301LL << true;
    QTest::newRow("back 301 is a seek") << u"run 0;read 0 0;read 699 1000"_qs << 1000LL << 699LL << true;
    QTest::newRow("back 300 is not") << u"run 0;read 0 0;read 700 1000"_qs << 1000LL << 1000LL << false;
    QTest::newRow("within the length") << u"run 0;len 2000;read 0 0"_qs << 9000LL << 2000LL << false;
    QTest::newRow("negative read") << u"read -500 0"_qs << 10LL << 0LL << true;
    QTest::newRow("paused read behind is taken") << u"read 0 0;read 1000 0;read 800 10"_qs << 20LL << 800LL << false;
  }
  void runningPosition() {
    QFETCH(QString, steps);
    QFETCH(qint64, at);
    QFETCH(qint64, expected);
    QFETCH(bool, lastWasSeek);
    RunningPosition position;
    bool seek = false;
    for (const QString& step : steps.split(u';')) {
      const QStringList w = step.split(u' ');
      if (w[0] == u"read") seek = position.Read(w[1].toLongLong(), w[2].toLongLong());
      if (w[0] == u"run") position.SetRunning(true, w[1].toLongLong());
      if (w[0] == u"stop") position.SetRunning(false, w[1].toLongLong());
      if (w[0] == u"rate") position.SetRate(w[1].toDouble(), w[2].toLongLong());
      if (w[0] == u"len") position.SetLengthMs(w[1].toLongLong());
    }
    QCOMPARE(position.At(at), expected);
    QCOMPARE(seek, lastWasSeek);
  }

  void scalarValues() {
    QCOMPARE(MillisecondsFrom(QVariant(qlonglong(1'234'567))), 1235);
    QCOMPARE(MillisecondsFrom(QVariant(qulonglong(std::numeric_limits<quint64>::max()))),
             std::numeric_limits<qint32>::max());
    QCOMPARE(MillisecondsFrom(QVariant(-5)), 0);
    QCOMPARE(MillisecondsFrom(QVariant(2.5e6)), 2500);
    QCOMPARE(MillisecondsFrom(QVariant(std::numeric_limits<double>::quiet_NaN())), 0);
    QVERIFY(!MillisecondsFrom(QVariant(u"100"_qs)));
    QCOMPARE(StatusFrom(QVariant(u"Playing"_qs)), MprisStatus::Playing);
    QCOMPARE(StatusFrom(QVariant(u"playing"_qs)), MprisStatus::Unknown);
    QCOMPARE(StatusFrom(QVariant(1)), MprisStatus::Unknown);
    QVERIFY(!BoolFrom(QVariant(1)));
    QVERIFY(!RateFrom(QVariant(std::numeric_limits<double>::infinity())));
    QCOMPARE(TextFrom(QVariant(QString(5000, u'x'))).size(), kLongestMprisText);
  }

  void tracks_data() {
    QTest::addColumn<QVariantMap>("metadata");
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("artist");
    QTest::addColumn<QString>("title");
    QTest::addColumn<qint32>("lengthMs");
    QTest::addColumn<QString>("objectPath");
    const auto path = [](const char* p) { return QVariant::fromValue(QDBusObjectPath(QString::fromLatin1(p))); };
    QTest::newRow("full") << QVariantMap{{u"mpris:trackid"_qs, path("/t/1")},
                                         {u"xesam:url"_qs, u"file:///m/%E6%AD%8C%20a.mp3"_qs},
                                         {u"xesam:artist"_qs, QStringList{u"A"_qs, u"B"_qs}},
                                         {u"xesam:title"_qs, u"T"_qs},
                                         {u"mpris:length"_qs, qlonglong(3'000'000)}}
                          << u"/m/歌 a.mp3"_qs << u"A, B"_qs << u"T"_qs << 3000 << u"/t/1"_qs;
    QTest::newRow("plain path, one artist, string id")
        << QVariantMap{{u"mpris:trackid"_qs, u"/x/y_2"_qs}, {u"xesam:url"_qs, u"/m/s.ogg"_qs}, {u"xesam:artist"_qs, u"Solo"_qs}}
        << u"/m/s.ogg"_qs << u"Solo"_qs << QString() << 0 << u"/x/y_2"_qs;
    QTest::newRow("remote url, bad id")
        << QVariantMap{{u"mpris:trackid"_qs, u"not a path"_qs}, {u"xesam:url"_qs, u"https://h/s.mp3"_qs}}
        << QString() << QString() << QString() << 0 << QString();
    QTest::newRow("relative file url") << QVariantMap{{u"xesam:url"_qs, u"file:s.mp3"_qs}}
                                       << QString() << QString() << QString() << 0 << QString();
  }
  void tracks() {
    QFETCH(QVariantMap, metadata);
    const FollowedTrack track = TrackFrom(metadata);
    QTEST(track.filePath, "file");
    QTEST(track.artist, "artist");
    QTEST(track.title, "title");
    QTEST(track.lengthMs, "lengthMs");
    QTEST(TrackObjectPath(metadata), "objectPath");
    QVERIFY(!track.id.isEmpty());
    // Another url or title is another track even with the same track id.
    QVariantMap other = metadata;
    other[u"xesam:title"_qs] = u"other"_qs;
    QVERIFY(TrackFrom(other).id != track.id);
    QCOMPARE(TrackFrom(QVariant(u"x"_qs)).id, QString());
  }
};

QTEST_GUILESS_MAIN(TestMprisParts)
#include "tst_mprisparts.moc"
