#include "common/programinfo.h"

#include <QTest>

#include <vector>

using namespace lyrova;

class TestProgramInfo : public QObject {
  Q_OBJECT

 private slots:
  void findsRequest_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<bool>("anywhere");
    QTest::addColumn<int>("request");
    const int none = int(InfoRequest::None), version = int(InfoRequest::Version), help = int(InfoRequest::Help);
    QTest::newRow("nothing") << QStringList{} << true << none;
    QTest::newRow("version alone") << QStringList{u"--version"_qs} << false << version;
    QTest::newRow("help alone") << QStringList{u"--help"_qs} << false << help;
    QTest::newRow("short help") << QStringList{u"-h"_qs} << false << help;
    QTest::newRow("file named like an option") << QStringList{u"./--help"_qs} << true << none;
    QTest::newRow("single dash version is a file") << QStringList{u"-version"_qs} << true << none;
    QTest::newRow("letter case counts") << QStringList{u"--Help"_qs} << true << none;
    QTest::newRow("beside a file, anywhere") << QStringList{u"song.mp3"_qs, u"--version"_qs} << true << version;
    QTest::newRow("beside a file, only argument") << QStringList{u"song.mp3"_qs, u"--version"_qs} << false << none;
    QTest::newRow("first request wins") << QStringList{u"--echo"_qs, u"--help"_qs, u"--version"_qs} << true << help;
    QTest::newRow("part of a file name") << QStringList{u"My"_qs, u"--version2.mp3"_qs} << true << none;
  }
  void findsRequest() {
    QFETCH(QStringList, args);
    QFETCH(bool, anywhere);
    QFETCH(int, request);
    std::vector<QByteArray> bytes{QByteArray("program")};
    for (const QString& arg : args) bytes.push_back(arg.toUtf8());
    std::vector<const char*> argv;
    for (const QByteArray& b : bytes) argv.push_back(b.constData());
    const InfoPlacement placement = anywhere ? InfoPlacement::Anywhere : InfoPlacement::OnlyArgument;
    QCOMPARE(int(FindInfoRequest(int(argv.size()), argv.data(), placement)), request);
  }

  // The version is the one CMake's project() sets, handed over by a generated header.
  void versionFromProject() {
    QCOMPARE(SuiteVersion(), QStringLiteral(LYROVA_PROJECT_VERSION));
    QCOMPARE(SuiteVersionLine(), QStringLiteral("套件版本 " LYROVA_PROJECT_VERSION));
  }
};

QTEST_GUILESS_MAIN(TestProgramInfo)
#include "tst_programinfo.moc"
