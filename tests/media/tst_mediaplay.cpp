// Runs the mediaplay command on real files, as a user would.
#include <QProcess>
#include <QTest>

using namespace Qt::Literals::StringLiterals;

class TestMediaplay : public QObject {
  Q_OBJECT

 private slots:
  void run_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QStringList>("out");  // lines that must appear on stdout, in this order
    QTest::addColumn<QString>("err");      // text that must appear on stderr
    QTest::addColumn<QString>("libmpv");   // LYROVA_LIBMPV for the run
    const QString wav = QStringLiteral(LYROVA_TEST_DATA_DIR "/tone.wav");
    QTest::newRow("plays to the end")
        << QStringList{wav} << 0
        << QStringList{u"open    "_s + wav + u" at volume 1000"_s, u"opened  00:00 / 00:02  (0 / 2000 ms)"_s,
                       u"seek    00:01 / 00:02  (1000 / 2000 ms)"_s, u"end     00:02 / 00:02  (2000 / 2000 ms)"_s,
                       u"closed"_s}
        << QString() << QString();
    QTest::newRow("volume") << QStringList{u"--volume"_s, u"1500"_s, wav} << 0
                            << QStringList{u"open    "_s + wav + u" at volume 1000"_s} << QString() << QString();
    QTest::newRow("missing file") << QStringList{u"/no/such/song.mp3"_s} << 1 << QStringList{}
                                  << u"mediaplay: cannot open /no/such/song.mp3: cannot find it"_s << QString();
    QTest::newRow("no file") << QStringList{} << 2 << QStringList{} << u"usage: mediaplay"_s << QString();
    QTest::newRow("bad volume") << QStringList{u"--volume"_s, u"loud"_s, wav} << 2 << QStringList{}
                                << u"usage: mediaplay"_s << QString();
    QTest::newRow("libmpv missing") << QStringList{wav} << 1 << QStringList{}
                                    << u"libmpv not available"_s << u"/no/such/libmpv.so.2"_s;
  }
  void run() {
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QStringList, out);
    QFETCH(QString, err);
    QFETCH(QString, libmpv);
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    if (!libmpv.isEmpty()) environment.insert(u"LYROVA_LIBMPV"_s, libmpv);
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(MEDIAPLAY_PATH), arguments);
    QVERIFY(process.waitForFinished(20'000));
    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    const QStringList lines = QString::fromUtf8(process.readAllStandardOutput()).split(u'\n');
    const QString errors = QString::fromUtf8(process.readAllStandardError());
    QVERIFY2(process.exitCode() == exitCode, qPrintable(errors));
    qsizetype from = 0;
    for (const QString& line : out) {
      from = lines.indexOf(line, from);
      QVERIFY2(from >= 0, qPrintable(u"missing: "_s + line + u"\nin:\n"_s + lines.join(u'\n')));
    }
    if (!err.isEmpty()) QVERIFY2(errors.contains(err), qPrintable(errors));
  }
};

QTEST_GUILESS_MAIN(TestMediaplay)
#include "tst_mediaplay.moc"
