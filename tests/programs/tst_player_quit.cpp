// Runs the built Player with --quit-at-end on songs that cannot be opened: it must end at once
// with one line on standard error and status 1 instead of waiting for an end that never comes.
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

QString Player() { return QCoreApplication::applicationDirPath() + u"/../bin/lyrova"_qs; }

const QByteArray kLyrics = "[00:00.50]la\n";

bool Write(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

}  // namespace

class TestPlayerQuit : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { QVERIFY2(QFile::exists(Player()), qPrintable(Player())); }

  // `song` is a shell word (printf's "\377" is the byte 0xff, which is not UTF-8 and which Qt's
  // own decoding turns into the existing "song\uFFFD.wav"); "@" stands for the work folder.
  void songThatCannotOpenEndsThePlayer_data() {
    QTest::addColumn<QString>("song");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("line");  // on standard error; "" for none expected
    QTest::newRow("missing") << u"@/missing.wav"_qs << 1 << u"lyrova: 音频文件\"@/missing.wav\"找不到"_qs;
    QTest::newRow("not audio") << u"@/notes.wav"_qs << 1 << u"lyrova: 无法打开音频文件 @/notes.wav"_qs;
    QTest::newRow("unreadable name") << u"\"$(printf '@/song\\377.wav')\""_qs << 1
                                     << u"lyrova: 文件名含有无法识别的字符，无法打开:@/song\uFFFD.wav"_qs;
    QTest::newRow("a song that plays") << u"@/song.wav"_qs << 0 << QString();
  }
  void songThatCannotOpenEndsThePlayer() {
    QFETCH(QString, song);
    QFETCH(int, status);
    QFETCH(QString, line);
    QTemporaryDir work;
    const QString at = work.path();
    // The Player in a program folder of its own that has a search list, so it asks nothing;
    // every song has its lyrics beside it, so no link dialog is offered either.
    QVERIFY(QFile::copy(Player(), work.filePath(u"lyrova"_qs)));
    QVERIFY(Write(work.filePath(u"LrcDir.ini"_qs), QByteArray()));
    QVERIFY(QFile::copy(QStringLiteral(LYROVA_SOURCE_DIR "/tests/media/data/tone.wav"),
                        work.filePath(u"song\uFFFD.wav"_qs)));
    QVERIFY(QFile::copy(work.filePath(u"song\uFFFD.wav"_qs), work.filePath(u"song.wav"_qs)));
    QVERIFY(Write(work.filePath(u"notes.wav"_qs), "no audio in here\n"));
    for (const QString& name : {u"song\uFFFD"_qs, u"song"_qs, u"notes"_qs, u"missing"_qs})
      QVERIFY(Write(work.filePath(name + u".lrc"_qs), kLyrics));

    QProcess player;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(u"QT_QPA_PLATFORM"_qs, u"offscreen"_qs);
    environment.insert(u"XDG_CONFIG_HOME"_qs, work.filePath(u"config"_qs));
    environment.insert(u"XDG_DATA_HOME"_qs, work.filePath(u"data"_qs));
    player.setProcessEnvironment(environment);
    player.start(u"/bin/sh"_qs, {u"-c"_qs, u"exec \"$0\" --quit-at-end "_qs + QString(song).replace(u'@', at),
                                 work.filePath(u"lyrova"_qs)});
    const bool ended = player.waitForFinished(30000);
    if (!ended) player.kill();
    QVERIFY2(ended, "the Player did not end");
    QCOMPARE(player.exitStatus(), QProcess::NormalExit);
    const QString err = QString::fromUtf8(player.readAllStandardError());
    QCOMPARE(player.exitCode(), status);
    if (!line.isEmpty()) QVERIFY2(err.split(u'\n').contains(line.replace(u'@', at)), qPrintable(err));
  }

  // A first start (no settings, no search list) on a platform the user named that shows nothing:
  // the question nobody could see takes its "no", is said on standard error, and the Player
  // plays a short song with its lyrics to the end instead of waiting for an answer.
  void firstStartOnAPlatformThatShowsNothing() {
    QTemporaryDir work;
    QVERIFY(QFile::copy(Player(), work.filePath(u"lyrova"_qs)));
    QVERIFY(QFile::copy(QStringLiteral(LYROVA_SOURCE_DIR "/tests/media/data/tone.ogg"), work.filePath(u"song.ogg"_qs)));
    QFile lyrics(work.filePath(u"song.lrc"_qs));
    QVERIFY(lyrics.open(QIODevice::WriteOnly));
    lyrics.write("[00:00.30]\xe9\xa6\x96\xe8\xa1\x8c\r\n[00:01.60]\xe6\x9c\xab\xe8\xa1\x8c\r\n");  // 首行, 末行
    lyrics.close();
    for (const QString& folder : {u"home"_qs, u"config"_qs, u"data"_qs}) QVERIFY(QDir(work.path()).mkdir(folder));
    QProcess player;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(u"QT_QPA_PLATFORM"_qs, u"offscreen"_qs);
    environment.insert(u"HOME"_qs, work.filePath(u"home"_qs));
    environment.insert(u"XDG_CONFIG_HOME"_qs, work.filePath(u"config"_qs));
    environment.insert(u"XDG_DATA_HOME"_qs, work.filePath(u"data"_qs));
    player.setProcessEnvironment(environment);
    player.start(work.filePath(u"lyrova"_qs), {u"--echo"_qs, u"--quit-at-end"_qs, work.filePath(u"song.ogg"_qs)});
    const bool ended = player.waitForFinished(60000);  // the 2 s song plays in real time
    if (!ended) player.kill();
    const QString err = QString::fromUtf8(player.readAllStandardError());
    QVERIFY2(ended, qPrintable(err));
    QCOMPARE(player.exitStatus(), QProcess::NormalExit);
    QCOMPARE(player.exitCode(), 0);
    QVERIFY2(err.contains(u"你还没有设置歌词查找目录"_qs) && err.contains(u" -> no (no display)"_qs), qPrintable(err));
    QVERIFY(!QFile::exists(work.filePath(u"LrcDir.ini"_qs)));
    const QStringList echoed = QString::fromUtf8(player.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
    QCOMPARE(echoed, (QStringList{u"首行"_qs, u"末行"_qs}));  // the last line comes late in the song
  }
};

QTEST_GUILESS_MAIN(TestPlayerQuit)
#include "tst_player_quit.moc"
