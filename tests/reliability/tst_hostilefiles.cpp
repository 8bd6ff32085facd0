// The command-line tool against a hostile system: a file-size limit set from outside (as
// `prlimit` sets it, without ignoring SIGXFSZ) and a pipe in place of a lyrics file.
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

namespace {

struct Result {
  bool finished = false;
  int exitCode = -1;
  QByteArray err;
};

QString Tool() { return QCoreApplication::applicationDirPath() + u"/../bin/lrctool"_qs; }

Result Run(const QString& program, const QStringList& args) {
  QProcess process;
  process.start(program, args);
  Result result;
  result.finished = process.waitForFinished(20000) && process.exitStatus() == QProcess::NormalExit;
  if (!result.finished) process.kill();
  result.exitCode = process.exitCode();
  result.err = process.readAllStandardError();
  return result;
}

QByteArray ReadBytes(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

bool WriteBytes(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

}  // namespace

class TestHostileFiles : public QObject {
  Q_OBJECT

 private slots:
  void saveUnderASizeLimit_data() {
    QTest::addColumn<int>("lines");
    QTest::newRow("small file") << 200;   // below Qt's 16 KB file buffer
    QTest::newRow("large file") << 3000;
  }
  void saveUnderASizeLimit() {
    QFETCH(int, lines);
    const QString prlimit = QStandardPaths::findExecutable(u"prlimit"_qs);
    if (prlimit.isEmpty()) QSKIP("prlimit (util-linux) is not installed");
    QTemporaryDir dir;
    QByteArray big;
    for (int i = 0; i < lines; ++i) big += "[00:" + QByteArray::number(10 + i % 50) + ".00]一行歌词 " + QByteArray::number(i) + "\r\n";
    QVERIFY(WriteBytes(dir.filePath(u"big.lrc"_qs), big));
    const QString target = dir.filePath(u"t.lrc"_qs);
    const QByteArray old = "[00:01.00]old line\n";
    QVERIFY(WriteBytes(target, old));

    const Result result = Run(prlimit, {u"--fsize=4096"_qs, Tool(), u"save"_qs, dir.filePath(u"big.lrc"_qs), target});
    QVERIFY(result.finished);  // not killed by SIGXFSZ
    QCOMPARE(result.exitCode, 1);
    QCOMPARE(QString::fromUtf8(result.err), u"保存歌词时遇到错误,磁盘空间不足，无法保存\n"_qs);
    QCOMPARE(ReadBytes(target), old);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList({u"big.lrc"_qs, u"t.lrc"_qs}));
  }

  void pipeInsteadOfALyricsFile() {
    QTemporaryDir dir;
    const QString pipe = dir.filePath(u"song.lrc"_qs);
    QVERIFY(::mkfifo(QFile::encodeName(pipe).constData(), 0600) == 0);
    QElapsedTimer clock;
    clock.start();
    for (const QStringList& args : {QStringList{u"dump"_qs, pipe}, QStringList{u"dump"_qs, u"--player"_qs, pipe},
                                    QStringList{u"save"_qs, pipe, dir.filePath(u"out.lrc"_qs)}}) {
      const Result result = Run(Tool(), args);
      QVERIFY2(result.finished, qPrintable(args.join(u' ')));
      QCOMPARE(result.exitCode, 1);
      QVERIFY2(result.err.contains(args.contains(u"--player"_qs) ? "歌词读取失败" : "装入歌词时遇到错误,不是普通文件"),
               result.err.constData());
    }
    QVERIFY(clock.elapsed() < 15000);
    QVERIFY(!QFile::exists(dir.filePath(u"out.lrc"_qs)));
  }
};

QTEST_GUILESS_MAIN(TestHostileFiles)
#include "tst_hostilefiles.moc"
