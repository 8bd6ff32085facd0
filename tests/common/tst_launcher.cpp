#include "common/launcher.h"

#include <QTemporaryDir>
#include <QTest>

using namespace lyrova;

class TstLauncher : public QObject {
  Q_OBJECT

 private slots:
  void choosesTextEditor_data() {
    QTest::addColumn<QString>("configured");
    QTest::addColumn<QString>("visual");
    QTest::addColumn<QStringList>("installed");
    QTest::addColumn<QString>("expected");
    QTest::newRow("setting wins") << u" kate "_qs << u"gedit"_qs << QStringList{u"mousepad"_qs}
                                  << u"kate"_qs;
    QTest::newRow("then VISUAL") << QString() << u"code --wait"_qs << QStringList{u"gedit"_qs}
                                 << u"code --wait"_qs;
    QTest::newRow("then first installed in order")
        << QString() << u"  "_qs << QStringList{u"mousepad"_qs, u"gedit"_qs} << u"gedit"_qs;
    QTest::newRow("else xdg-open") << QString() << QString() << QStringList{} << u"xdg-open"_qs;
  }
  void choosesTextEditor() {
    QFETCH(QString, configured);
    QFETCH(QString, visual);
    QFETCH(QStringList, installed);
    QFETCH(QString, expected);
    const auto find = [&](const QString& name) {
      return installed.contains(name) ? u"/usr/bin/"_qs + name : QString();
    };
    const auto env = [&](const QString& name) {
      return name == u"VISUAL" ? visual : QString();
    };
    QCOMPARE(ChooseTextEditor(configured, find, env), expected);
  }

  void startsEditorWithPathAsOneArgument() {
    struct Recorder : Launcher {
      bool Start(const QString& p, const QStringList& a, QString*) override {
        program = p;
        arguments = a;
        return true;
      }
      QString program;
      QStringList arguments;
    } recorder;
    QVERIFY(StartTextEditor(recorder, u"code --wait"_qs, u"/m/My Song.lrc"_qs, nullptr));
    QCOMPARE(recorder.program, u"code"_qs);
    QCOMPARE(recorder.arguments, (QStringList{u"--wait"_qs, u"/m/My Song.lrc"_qs}));
  }

  void reportsProgramThatCannotStart() {
    QTemporaryDir dir;
    ProcessLauncher launcher;
    QString error;
    QVERIFY(!launcher.Start(dir.filePath(u"missing-program"_qs), {}, &error));
    QVERIFY(!error.isEmpty());
    QCOMPARE(SiblingProgram(u"/opt/lyrova"_qs, kEditorExecutable), u"/opt/lyrova/Versel"_qs);
  }
};

QTEST_GUILESS_MAIN(TstLauncher)
#include "tst_launcher.moc"
